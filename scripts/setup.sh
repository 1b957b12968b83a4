#!/usr/bin/env bash
# Prepares a machine for building and testing: Debian packages, the archive engine cross-built
# from Debian's libarchive, xz, bzip2 and zstd sources into one archiveint.dll, and the project's
# Wine prefix inside the build folder. Every step is skipped when its result is already there.
# --bench: also what the benchmark needs besides (npm, which fetches 7-Zip's 7za.exe).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"

log() { printf '[setup] %s\n' "$*"; }

PACKAGES=(mingw-w64 g++-mingw-w64-x86-64-posix libz-mingw-w64-dev cmake make dpkg-dev googletest
  wine wine64 fonts-wine fonts-liberation fonts-wqy-microhei xvfb xauth x11-utils imagemagick
  p7zip-full unzip zip libarchive-tools zstd xz-utils python3)
for argument in "$@"; do
  case "$argument" in
    # Debian's npm, unless an npm is already there (Node.js packages of other origins bring their own).
    --bench) command -v npm >/dev/null || PACKAGES+=(npm) ;;
    *) log "unknown argument: $argument"; exit 2 ;;
  esac
done

install_packages() {
  local missing=()
  for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep 'install ok installed' >/dev/null || missing+=("$p")
  done
  if [ ${#missing[@]} -eq 0 ]; then return; fi
  log "installing packages: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

enable_source_packages() {
  local sudo=""
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  if ! grep -rqs '^Types:.*deb-src' /etc/apt/sources.list.d/ && ! grep -qs '^deb-src' /etc/apt/sources.list; then
    log "adding Debian source entries"
    sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources |
      $sudo tee /etc/apt/sources.list.d/debian-src.sources >/dev/null
    $sudo apt-get update -qq
  fi
}

# Runs one step of the engine build with its output appended to a log; when the step fails, the
# end of that log is printed and the set-up stops (the work folder with the log is kept).
run_step() { # log file, command...
  local step_log="$1"
  shift
  "$@" >>"$step_log" 2>&1 || {
    log "failed: $*"
    tail -n 60 "$step_log"
    log "the whole output: $step_log"
    exit 1
  }
}

source_versions() { # package -> the Debian source versions that apt lists, newest first
  apt-cache showsrc "$1" 2>/dev/null | awk '/^Version:/ {print $2}' | sort -rV | uniq
}

# A mirror's index can list a version whose files its pool does not hold (the security archive's
# libzstd 1.5.4+dfsg2-5+deb12u1 on the machine this was written on); the engine is then built from
# the newest older version that can be fetched, and the cache notes that stand-in.
STAND_INS="$LUMAREK_CACHE/stand-ins"

engine_source_version() { # package -> the version the engine is built from
  local newest
  newest=$(source_versions "$1" | awk 'NR == 1')
  if [ -n "$newest" ] && [ -f "$STAND_INS/$1_$newest" ]; then cat "$STAND_INS/$1_$newest"; else echo "$newest"; fi
}

fetch_source() { # package, version -> fetched into the current folder; prints the version fetched
  local newest apt_log version
  newest=$(source_versions "$1" | awk 'NR == 1')
  apt_log=$(mktemp)
  for version in $(source_versions "$1"); do
    dpkg --compare-versions "$version" le "$2" || continue
    if apt-get source -qq "$1=$version" >"$apt_log" 2>&1; then
      rm -f "$apt_log"
      if [ "$version" != "$newest" ]; then
        log "$1 $newest could not be fetched; built from $version" >&2
        mkdir -p "$STAND_INS"
        echo "$version" >"$STAND_INS/$1_$newest"
      fi
      echo "$version"
      return 0
    fi
  done
  cat "$apt_log" >&2
  rm -f "$apt_log"
  log "no version of the $1 source could be fetched" >&2
  return 1
}

set_engine_dir() { # from la_ver, xz_ver, bz_ver and zstd_ver
  ENGINE_DIR="$LUMAREK_CACHE/engine2-${la_ver}-xz${xz_ver}-bz${bz_ver}-zstd${zstd_ver}"
  ENGINE_DLL="$ENGINE_DIR/archiveint.dll"
  BSDTAR_EXE="$ENGINE_DIR/bsdtar.exe"
}

build_engine() {
  enable_source_packages
  local la_ver xz_ver bz_ver zstd_ver
  la_ver=$(engine_source_version libarchive)
  if [ -z "$la_ver" ]; then
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    $sudo apt-get update -qq
    la_ver=$(engine_source_version libarchive)
  fi
  [ -n "$la_ver" ] || { log "libarchive source not found"; exit 1; }
  xz_ver=$(engine_source_version xz-utils)
  bz_ver=$(engine_source_version bzip2)
  zstd_ver=$(engine_source_version libzstd)
  set_engine_dir
  if [ -f "$ENGINE_DLL" ] && [ -f "$BSDTAR_EXE" ]; then return; fi
  local work="$LUMAREK_CACHE/engine.work"
  rm -rf "$work"
  mkdir -p "$work/src"
  la_ver=$(cd "$work/src" && fetch_source libarchive "$la_ver")
  xz_ver=$(cd "$work/src" && fetch_source xz-utils "$xz_ver")
  bz_ver=$(cd "$work/src" && fetch_source bzip2 "$bz_ver")
  zstd_ver=$(cd "$work/src" && fetch_source libzstd "$zstd_ver")
  set_engine_dir
  if [ -f "$ENGINE_DLL" ] && [ -f "$BSDTAR_EXE" ]; then rm -rf "$work"; return; fi
  log "building the archive engine (libarchive $la_ver, xz $xz_ver, bzip2 $bz_ver, zstd $zstd_ver)"
  local la_src xz_src bz_src zstd_src
  la_src=$(find "$work/src" -maxdepth 1 -type d -name 'libarchive-*' | head -n1)
  xz_src=$(find "$work/src" -maxdepth 1 -type d -name 'xz-utils-*' | head -n1)
  bz_src=$(find "$work/src" -maxdepth 1 -type d -name 'bzip2-*' | head -n1)
  zstd_src=$(find "$work/src" -maxdepth 1 -type d -name 'libzstd-*' | head -n1)
  local prefix="$work/deps"
  mkdir -p "$prefix/lib" "$prefix/include"
  local tc="$LUMAREK_ROOT/cmake/mingw-w64.cmake"
  [ -f "$tc" ] || { log "the MinGW-w64 toolchain file $tc is missing (it belongs to the checkout)"; exit 1; }

  # liblzma, static
  run_step "$work/xz.log" cmake -S "$xz_src" -B "$work/xz-build" -DCMAKE_TOOLCHAIN_FILE="$tc" \
    -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=OFF -DCMAKE_INSTALL_PREFIX="$prefix"
  run_step "$work/xz.log" cmake --build "$work/xz-build" --target liblzma -j"$(nproc)"
  cp "$work/xz-build/liblzma.a" "$prefix/lib/"
  cp -r "$xz_src/src/liblzma/api/lzma" "$xz_src/src/liblzma/api/lzma.h" "$prefix/include/"

  # libbz2, static
  for f in blocksort huffman crctable randtable compress decompress bzlib; do
    run_step "$work/bz.log" x86_64-w64-mingw32-gcc-posix -O2 -D_FILE_OFFSET_BITS=64 -c "$bz_src/$f.c" \
      -o "$work/bz-$f.o"
  done
  run_step "$work/bz.log" x86_64-w64-mingw32-ar rcs "$prefix/lib/libbz2.a" "$work"/bz-*.o
  cp "$bz_src/bzlib.h" "$prefix/include/"

  # libzstd, static (its CMake build; no programs, no threads)
  run_step "$work/zstd.log" cmake -S "$zstd_src/build/cmake" -B "$work/zstd-build" -DCMAKE_TOOLCHAIN_FILE="$tc" \
    -DCMAKE_BUILD_TYPE=Release -DZSTD_BUILD_STATIC=ON -DZSTD_BUILD_SHARED=OFF -DZSTD_BUILD_PROGRAMS=OFF \
    -DZSTD_BUILD_TESTS=OFF -DZSTD_MULTITHREAD_SUPPORT=OFF
  run_step "$work/zstd.log" cmake --build "$work/zstd-build" --target libzstd_static -j"$(nproc)"
  cp "$work/zstd-build/lib/libzstd.a" "$prefix/lib/"
  cp "$zstd_src/lib/zstd.h" "$zstd_src/lib/zstd_errors.h" "$prefix/include/"

  # libarchive's CMake looks for "Bcrypt.h" and "Bcrypt"; MinGW ships them in lower case.
  sed -i 's/Bcrypt\.h/bcrypt.h/g; s/\bBcrypt\b/bcrypt/g' "$la_src/CMakeLists.txt"
  # The library is built under the system engine's name, so that bsdtar.exe (the engine's own
  # command-line tool, kept for the benchmarks) imports archiveint.dll.
  sed -i 's/^ADD_LIBRARY(archive SHARED .*/&\nSET_TARGET_PROPERTIES(archive PROPERTIES OUTPUT_NAME archiveint PREFIX "")/' \
    "$la_src/libarchive/CMakeLists.txt"

  # The filters of the system's engine: gzip, bzip2, xz and zstd; LZ4 and LZO, which Windows 11
  # does not list, stay off.
  local zlib_root=/usr/x86_64-w64-mingw32
  run_step "$work/la-configure.log" cmake -S "$la_src" -B "$work/la-build" -DCMAKE_TOOLCHAIN_FILE="$tc" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_CROSSCOMPILING_EMULATOR=wine -DWINDOWS_VERSION=WIN10 -DPOSIX_REGEX_LIB=NONE -DENABLE_CNG=ON \
    -DENABLE_OPENSSL=OFF -DENABLE_MBEDTLS=OFF -DENABLE_NETTLE=OFF -DENABLE_LZ4=OFF -DENABLE_LZO=OFF \
    -DENABLE_LIBXML2=OFF -DENABLE_EXPAT=OFF -DENABLE_ICONV=OFF -DENABLE_ACL=OFF \
    -DENABLE_XATTR=OFF -DENABLE_TEST=OFF -DENABLE_TAR=ON -DENABLE_TAR_SHARED=ON -DENABLE_CPIO=OFF -DENABLE_CAT=OFF \
    -DENABLE_ZLIB=ON -DENABLE_LZMA=ON -DENABLE_BZip2=ON -DENABLE_ZSTD=ON \
    -DZLIB_INCLUDE_DIR="$zlib_root/include" -DZLIB_LIBRARY="$zlib_root/lib/libz.a" \
    -DLIBLZMA_INCLUDE_DIR="$prefix/include" -DLIBLZMA_LIBRARY="$prefix/lib/liblzma.a" \
    -DBZIP2_INCLUDE_DIR="$prefix/include" -DBZIP2_LIBRARIES="$prefix/lib/libbz2.a" \
    -DBZIP2_LIBRARY_RELEASE="$prefix/lib/libbz2.a" \
    -DZSTD_INCLUDE_DIR="$prefix/include" -DZSTD_LIBRARY="$prefix/lib/libzstd.a" \
    -DCMAKE_C_FLAGS="-DLZMA_API_STATIC" -DCMAKE_SHARED_LINKER_FLAGS="-static" -DCMAKE_EXE_LINKER_FLAGS="-static"
  if ! grep -q '^#define HAVE_BCRYPT_H 1' "$work/la-build/config.h"; then
    log "the engine was configured without CNG (no ZIP AES); see $work/la-configure.log"
    exit 1
  fi
  if ! grep -q '^#define HAVE_LIBZSTD 1' "$work/la-build/config.h"; then
    log "the engine was configured without zstd; see $work/la-configure.log"
    exit 1
  fi
  run_step "$work/la-build.log" cmake --build "$work/la-build" --target archive bsdtar -j"$(nproc)"
  local dll exe
  dll=$(find "$work/la-build" -name 'archiveint.dll' | head -n1)
  exe=$(find "$work/la-build" -name 'bsdtar.exe' | head -n1)
  [ -n "$dll" ] && [ -n "$exe" ] || { log "engine DLL or bsdtar.exe not produced"; exit 1; }
  # grep reads to the end (no -q): an early exit would break objdump's pipe, and pipefail fails the step.
  x86_64-w64-mingw32-objdump -p "$exe" | grep 'DLL Name: archiveint.dll' >/dev/null ||
    { log "bsdtar.exe does not import archiveint.dll"; exit 1; }
  mkdir -p "$ENGINE_DIR"
  x86_64-w64-mingw32-strip -o "$ENGINE_DIR/bsdtar.exe" "$exe"
  x86_64-w64-mingw32-strip -o "$work/archiveint.dll" "$dll"
  mv "$work/archiveint.dll" "$ENGINE_DLL"
  rm -rf "$work"
  log "engine ready: $ENGINE_DLL"
}

make_prefix() {
  local stamp="$WINEPREFIX/.lumarek-prefix"
  if [ ! -f "$stamp" ]; then
    log "creating the Wine prefix in $WINEPREFIX"
    rm -rf "$WINEPREFIX"
    wineboot --init >/dev/null 2>&1
    wineserver -w
    mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
    cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    wine winecfg -v win10 >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
    wineserver -w
    touch "$stamp"
  fi
}

install_engine() {
  local sys32="$WINEPREFIX/drive_c/windows/system32"
  cmp -s "$ENGINE_DLL" "$sys32/archiveint.dll" || cp "$ENGINE_DLL" "$sys32/archiveint.dll"
}

install_packages
make_prefix        # the engine's configure runs a test program under Wine, so the prefix comes first
# One engine build at a time per machine: checkouts share the cache.
mkdir -p "$LUMAREK_CACHE"
exec 9>"$LUMAREK_CACHE/engine.lock"
flock 9
build_engine
flock -u 9
install_engine
