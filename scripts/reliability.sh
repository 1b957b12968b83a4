#!/usr/bin/env bash
# The reliability suite (tests/reliability/): disk full, killed at any point, mutated archives,
# many copies at once, past 4 GiB, resource use over time.
#   bash scripts/reliability.sh [--quick | --long] [part...]
# --quick (the default) is the form scripts/test.sh runs, a few minutes; --long is run by hand and
# takes hours (nohup bash scripts/reliability.sh --long > reliability.out 2>&1 &). Parts: disk-full,
# killed, mutations, copies, large, resources. --built: the set-up and build are done already.
# The disk-full part mounts a tmpfs (it needs root; without it the part is skipped) inside the
# build folder and maps it as a drive of the build folder's Wine prefix, and removes both again.
set -euo pipefail
here="$(dirname "${BASH_SOURCE[0]}")"
arguments=()
built=0
form=quick
for argument in "$@"; do
  case "$argument" in
    --built) built=1 ;;
    --long) form=long; arguments+=("$argument") ;;
    *) arguments+=("$argument") ;;
  esac
done
if [ $built -eq 0 ]; then
  bash "$here/setup.sh"
  bash "$here/build.sh"
fi
source "$here/env.sh"
# Each form has a scratch folder of its own, so that a long run and the tests' quick one can share
# the machine; cases that crashed, hung or left output are kept beside it ("-findings").
export LUMAREK_RELIABILITY_WORK="$LUMAREK_BUILD_DIR/reliability-$form"
if [ "$form" = long ]; then
  # The long form runs in a copy of the prefix with a wineserver of its own, so that the tests
  # (whose end stops the prefix's wineserver) can run meanwhile.
  rm -rf "$LUMAREK_BUILD_DIR/wineprefix-long"
  cp -a "$WINEPREFIX" "$LUMAREK_BUILD_DIR/wineprefix-long"
  export WINEPREFIX="$LUMAREK_BUILD_DIR/wineprefix-long"
fi
if [ -z "${DISPLAY:-}" ]; then
  source "$here/display.sh"
  start_display
fi
python3 -B "$LUMAREK_ROOT/tests/reliability/reliability.py" "${arguments[@]+"${arguments[@]}"}"
