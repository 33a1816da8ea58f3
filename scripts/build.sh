#!/usr/bin/env bash
# Configures and builds into ./build (or $BUILD_DIR): the targets named as
# arguments, or everything. WARNINGS_AS_ERRORS=1 (as the tests run) fails on
# any compiler or configure warning.
set -euo pipefail
cd "$(dirname "$0")/.."
bd=${BUILD_DIR:-build}
opts=()
[ -n "${WARNINGS_AS_ERRORS:-}" ] && opts+=(-DCMAKE_COMPILE_WARNING_AS_ERROR=ON)
log=$(mktemp)
cmake -S . -B "$bd" -DCMAKE_BUILD_TYPE=${BUILD_TYPE:-RelWithDebInfo} "${opts[@]}" 2>"$log" >/dev/null ||
  { cat "$log" >&2; rm -f "$log"; exit 1; }
if [ -s "$log" ]; then
  cat "$log" >&2
  if [ -n "${WARNINGS_AS_ERRORS:-}" ] && grep -q Warning "$log"; then rm -f "$log"; echo "configure warned" >&2; exit 1; fi
fi
rm -f "$log"
cmake --build "$bd" -j"$(nproc)" ${1:+--target "$@"}
