#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program on the sample module.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
# Only what running needs: the program and the sample module.
bash scripts/build.sh examsim
exec ./build/examsim "$@"
