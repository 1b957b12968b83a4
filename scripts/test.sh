#!/usr/bin/env bash
# Set-up, build and every test under Wine. GUI tests get a virtual display that this script
# starts and stops; a persistent wineserver serves the whole run.
set -euo pipefail
here="$(dirname "${BASH_SOURCE[0]}")"
bash "$here/setup.sh"
bash "$here/build.sh"
source "$here/env.sh"

display=""
xvfb_pid=""
cleanup() {
  wineserver -k 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT

# Xvfb picks a free display number itself and writes it to the file.
display_file=$(mktemp)
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$display_file" >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 1 100); do [ -s "$display_file" ] && break; sleep 0.1; done
display=":$(head -n1 "$display_file")"
rm -f "$display_file"
export DISPLAY="$display"

wineserver -p 2>/dev/null || true  # one may already serve this prefix
# Wine's desktop process inherits the error output of the program that starts it; started here,
# it holds no test's output pipe open.
wine "$LUMAREK_BUILD_DIR/bin/common_tests.exe" --start-desktop >/dev/null 2>&1 </dev/null || true
rm -rf "$LUMAREK_BUILD_DIR/screenshots"
status=0
(cd "$LUMAREK_BUILD_DIR" && ctest --output-on-failure -j"${LUMAREK_TEST_JOBS:-2}" "$@") || status=$?

# Window pictures saved by the GUI tests, as PNG.
for bmp in "$LUMAREK_BUILD_DIR"/screenshots/*.bmp; do
  [ -e "$bmp" ] || continue
  /usr/bin/convert "$bmp" "${bmp%.bmp}.png" && rm -f "$bmp"
done
[ -d "$LUMAREK_BUILD_DIR/screenshots" ] && echo "screenshots: $LUMAREK_BUILD_DIR/screenshots"
exit $status
