#!/usr/bin/env bash
# Installs what is missing, builds (warnings as errors), and runs every test
# (headless), then the fuzz targets over their seeds and regression inputs (a
# second build tree).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
# Warnings fail the build, in both trees.
export WARNINGS_AS_ERRORS=1
bash scripts/build.sh
export QT_QPA_PLATFORM=offscreen
(cd "${BUILD_DIR:-build}" && ctest --output-on-failure -j"$(nproc)")
FUZZ_BUILD_JOBS=$(nproc) bash scripts/fuzz.sh --replay
