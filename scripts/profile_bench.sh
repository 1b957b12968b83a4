#!/usr/bin/env bash
# Benchmark of the ZIP profiles (not a test): the preview of a tree of 100,000 files against a bare
# FindFirstFileW walk of it, and the profile ZIP at level 1 against bsdtar.exe packing the same file
# list, interleaved, with medians and the machine's load. The tree stays in <build>/bench/data.
# Arguments go to profile_bench.exe (--runs <n>, default 5).
set -euo pipefail
here="$(dirname "${BASH_SOURCE[0]}")"
bash "$here/setup.sh"
bash "$here/build.sh" --target profile_bench >/dev/null
source "$here/env.sh"
bin="$LUMAREK_BUILD_DIR/bin"

source "$here/engine_bsdtar.sh"
copy_engine_bsdtar "$bin"

# Our operations run with a hidden window: give Wine a display of its own.
source "$here/display.sh"
start_display

cpu=$(awk -F': ' '/^model name/ {print $2; exit}' /proc/cpuinfo)
memory=$(awk '/^MemTotal/ {printf "%.0f GiB", $2 / 1048576}' /proc/meminfo)
machine="$cpu, $(nproc) cores, $memory, $(uname -sr), $(wine --version); shared with other developers' builds"
mkdir -p "$LUMAREK_BUILD_DIR/bench"
report="$LUMAREK_BUILD_DIR/bench/profile-bench.md"
# Wine's service processes keep inherited pipes open: the program writes to a file, not a pipe.
wine "$bin/profile_bench.exe" --work "$(winepath -w "$LUMAREK_BUILD_DIR/bench")" --machine "$machine" "$@" \
  >"$report" 2>"$LUMAREK_BUILD_DIR/bench/profile-bench.err" </dev/null || status=$?
tr -d '\r' <"$report"
echo "written: $report"
exit "${status:-0}"
