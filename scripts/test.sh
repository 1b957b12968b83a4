#!/usr/bin/env bash
# Set-up, build and every test under Wine. GUI tests get a virtual display that this script
# starts and stops; a persistent wineserver serves the whole run.
set -euo pipefail
here="$(dirname "${BASH_SOURCE[0]}")"
bash "$here/setup.sh"
bash "$here/build.sh"
source "$here/env.sh"

source "$here/display.sh"
start_display
# Wine's desktop process inherits the error output of the program that starts it; started here,
# it holds no test's output pipe open.
wine "$LUMAREK_BUILD_DIR/bin/common_tests.exe" --start-desktop >/dev/null 2>&1 </dev/null || true
rm -rf "$LUMAREK_BUILD_DIR/screenshots"
status=0
(cd "$LUMAREK_BUILD_DIR" && ctest --output-on-failure -j"${LUMAREK_TEST_JOBS:-2}" "$@") || status=$?
# The reliability suite's quick form, a few minutes, on the same display and wineserver
# (LUMAREK_RELIABILITY=skip leaves it out).
if [ "${LUMAREK_RELIABILITY:-}" != "skip" ]; then
  bash "$here/reliability.sh" --built --quick || status=$?
fi

# Window pictures saved by the GUI tests, as PNG.
for bmp in "$LUMAREK_BUILD_DIR"/screenshots/*.bmp; do
  [ -e "$bmp" ] || continue
  /usr/bin/convert "$bmp" "${bmp%.bmp}.png" && rm -f "$bmp"
done
[ -d "$LUMAREK_BUILD_DIR/screenshots" ] && echo "screenshots: $LUMAREK_BUILD_DIR/screenshots"
exit $status
