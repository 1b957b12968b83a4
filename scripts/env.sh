# Shared settings for the project's scripts; sourced, never run.
# LUMAREK_BUILD_DIR: build folder (default: build/ in the checkout).
# LUMAREK_CACHE: machine-wide cache of the cross-built engine (default: ~/.cache/lumarek).

LUMAREK_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
LUMAREK_BUILD_DIR="${LUMAREK_BUILD_DIR:-$LUMAREK_ROOT/build}"
mkdir -p "$LUMAREK_BUILD_DIR"
LUMAREK_BUILD_DIR="$(cd "$LUMAREK_BUILD_DIR" && pwd)"
LUMAREK_CACHE="${LUMAREK_CACHE:-$HOME/.cache/lumarek}"

export WINEPREFIX="$LUMAREK_BUILD_DIR/wineprefix"
export WINEARCH=win64
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export LUMAREK_ROOT LUMAREK_BUILD_DIR LUMAREK_CACHE
