# Sourced by the benchmark scripts, after env.sh: copy_engine_bsdtar <folder> puts the bsdtar.exe
# that the set-up built with the prefix's engine (cached beside it) into the folder.
copy_engine_bsdtar() {
  local engine="$WINEPREFIX/drive_c/windows/system32/archiveint.dll" bsdtar="" dir
  for dir in "$LUMAREK_CACHE"/engine2-*/; do
    if [ -f "$dir/bsdtar.exe" ] && cmp -s "$dir/archiveint.dll" "$engine"; then bsdtar="$dir/bsdtar.exe"; fi
  done
  [ -n "$bsdtar" ] || { echo "no bsdtar.exe built with this engine in $LUMAREK_CACHE (run scripts/setup.sh)"; exit 1; }
  cp "$bsdtar" "$1/bsdtar.exe"
}
