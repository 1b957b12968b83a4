#!/usr/bin/env bash
# Set-up, build, then Lumarek under Wine: on the current display, or on a virtual one with a
# screenshot saved after a few seconds when there is none. Arguments go to Lumarek.
set -euo pipefail
here="$(dirname "${BASH_SOURCE[0]}")"
bash "$here/setup.sh"
bash "$here/build.sh" --target Lumarek
source "$here/env.sh"
exe="$LUMAREK_BUILD_DIR/bin/Lumarek.exe"
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  exec wine "$exe" "$@"
fi
shot="$LUMAREK_BUILD_DIR/screenshots/lumarek-run.png"
mkdir -p "$(dirname "$shot")"
xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" bash -c '
  wine "$1" "${@:3}" &
  pid=$!
  sleep "${LUMAREK_SHOT_DELAY:-8}"
  /usr/bin/import -window root "$2"
  wineserver -k
  wait $pid 2>/dev/null || true
' run "$exe" "$shot" "$@"
echo "no display: screenshot saved to $shot"
