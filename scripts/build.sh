#!/usr/bin/env bash
# Configures and builds into ./build (or $BUILD_DIR): the targets named as
# arguments, or everything. WARNINGS_AS_ERRORS=1 (as the tests run) fails on
# any compiler or configure warning.
set -euo pipefail
cd "$(dirname "$0")/.."
bd=${BUILD_DIR:-build}
bash scripts/configure.sh "$bd" -DCMAKE_BUILD_TYPE=${BUILD_TYPE:-RelWithDebInfo}
cmake --build "$bd" -j"$(nproc)" ${1:+--target "$@"}
