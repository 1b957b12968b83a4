#!/usr/bin/env bash
# Benchmark: our list, test, extract and create operations (through the operation runner) side by
# side with bsdtar.exe (the engine's own tool, built from the same libarchive source, so it loads
# the very archiveint.dll of the prefix) and 7-Zip's 7za.exe (npm package 7zip-bin, fetched with
# npm, which the set-up installs when asked with --bench), all under the same Wine. Arguments go to lumarek_bench.exe: --quick for small sets, --help for the rest.
# The data sets, archives and results stay in <build>/bench; a full run takes hours, so run it in
# the background (nohup bash scripts/bench.sh > bench.out 2>&1 &).
# --no-view skips the contents-view figures at the end, --view-only runs only those.
# --queue-only runs only the extraction queue against one bsdtar process per archive (minutes);
# its own options (--archives N, --runs N) follow it.
# --profile-only runs only the ZIP profile figures (minutes): the preview of a tree of 100,000 files
# against a bare FindFirstFileW walk of it and the profile ZIP at level 1 against bsdtar.exe packing
# the same file list; its own option (--runs N, default 5) follows it.
set -euo pipefail
view=yes
side_by_side=yes
queue=no
profile=no
arguments=()
for argument in "$@"; do
  case "$argument" in
    --no-view) view=no ;;
    --view-only) side_by_side=no ;;
    --queue-only) queue=yes ;;
    --profile-only) profile=yes ;;
    *) arguments+=("$argument") ;;
  esac
done
set -- ${arguments[@]+"${arguments[@]}"}
here="$(dirname "${BASH_SOURCE[0]}")"
bash "$here/setup.sh" --bench
bash "$here/build.sh" --target lumarek_bench --target contents_view_bench --target queue_bench --target profile_bench >/dev/null
source "$here/env.sh"
bin="$LUMAREK_BUILD_DIR/bin"

source "$here/engine_bsdtar.sh"
copy_engine_bsdtar "$bin"

# 7za.exe from the npm registry, kept in the build folder.
tools="$LUMAREK_BUILD_DIR/bench-tools"
if [ ! -f "$tools/package/win/x64/7za.exe" ]; then
  mkdir -p "$tools"
  (cd "$tools" && npm pack 7zip-bin@5.2.0 --silent >/dev/null)
  tar -xzf "$tools/7zip-bin-5.2.0.tgz" -C "$tools" package/win/x64/7za.exe
fi
cp "$tools/package/win/x64/7za.exe" "$bin/7za.exe"

# Our operations run with a (hidden) window: give Wine a display of its own.
source "$here/display.sh"
start_display

cpu=$(awk -F': ' '/^model name/ {print $2; exit}' /proc/cpuinfo)
memory=$(awk '/^MemTotal/ {printf "%.0f GiB", $2 / 1048576}' /proc/meminfo)
machine="$cpu, $(nproc) cores, $memory, $(uname -sr), $(wine --version); shared with other developers' builds (load average at the start $(cut -d' ' -f1-3 /proc/loadavg))"
mkdir -p "$LUMAREK_BUILD_DIR/bench"
if [ "$profile" = yes ]; then
  report="$LUMAREK_BUILD_DIR/bench/profile-bench.md"
  wine "$bin/profile_bench.exe" --work "$(winepath -w "$LUMAREK_BUILD_DIR/bench")" --machine "$machine" "$@" \
    >"$report" 2>"$LUMAREK_BUILD_DIR/bench/profile-bench.err" </dev/null || echo "(failed)" >>"$report"
  tr -d '\r' <"$report"
  echo "written: $report"
  exit 0
fi
if [ "$queue" = yes ]; then
  # Wine's service processes keep inherited pipes open: the program writes to a file, not a pipe.
  report="$LUMAREK_BUILD_DIR/bench/queue.md"
  wine "$bin/queue_bench.exe" --work "$(winepath -w "$LUMAREK_BUILD_DIR/bench")" --machine "$machine" "$@" \
    >"$report" </dev/null || echo "(failed)" >>"$report"
  tr -d '\r' <"$report"
  echo "written: $report"
  exit 0
fi
if [ "$side_by_side" = yes ]; then
  wine "$bin/lumarek_bench.exe" --work "$(winepath -w "$LUMAREK_BUILD_DIR/bench")" --machine "$machine" "$@"
fi
[ "$view" = yes ] || exit 0

# The contents view: an open in the real (visible) main window, from the start to the filled list.
counts="10000 100000 1000000"
for argument in "$@"; do [ "$argument" = "--quick" ] && counts="10000 100000"; done
for argument in "$@"; do [ "$argument" = "--help" ] && exit 0; done
report="$LUMAREK_BUILD_DIR/bench/contents-view.md"
figures=$(mktemp)
# Wine's service processes keep inherited pipes open: the program writes to a file, not a pipe.
printf '# Contents view: open to filled list\n\n%s\n\n' "$machine" >"$report"
for count in $counts; do
  wine "$bin/contents_view_bench.exe" "$count" >"$figures" 2>/dev/null </dev/null || echo "(failed)" >>"$figures"
  { printf '## %s entries (stored ZIP written by the engine)\n\n' "$count"; tr -d '\r' <"$figures"; echo; } >>"$report"
done
rm -f "$figures"
cat "$report"
echo "written: $report"
