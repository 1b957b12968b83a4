#!/usr/bin/env bash
# Configures and builds both programs and the tests (after scripts/setup.sh).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
cmake -S "$LUMAREK_ROOT" -B "$LUMAREK_BUILD_DIR" -DCMAKE_TOOLCHAIN_FILE="$LUMAREK_ROOT/cmake/mingw-w64.cmake" \
  -DCMAKE_CROSSCOMPILING_EMULATOR="$LUMAREK_ROOT/scripts/wine-run" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$LUMAREK_BUILD_DIR" -j"$(nproc)" "$@"
