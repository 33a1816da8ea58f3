#!/usr/bin/env bash
# Configures and builds into ./build (or $BUILD_DIR): the targets named as
# arguments, or everything.
set -euo pipefail
cd "$(dirname "$0")/.."
bd=${BUILD_DIR:-build}
cmake -S . -B "$bd" -DCMAKE_BUILD_TYPE=${BUILD_TYPE:-RelWithDebInfo} >/dev/null
cmake --build "$bd" -j"$(nproc)" ${1:+--target "$@"}
