#!/usr/bin/env bash
# Configures the build tree DIR with the cmake options given:
#   scripts/configure.sh DIR [cmake options]
# WARNINGS_AS_ERRORS=1 (as the tests run) makes compiler warnings errors and
# fails on any configure warning.
set -euo pipefail
cd "$(dirname "$0")/.."
bd=$1
shift
opts=()
[ -n "${WARNINGS_AS_ERRORS:-}" ] && opts+=(-DCMAKE_COMPILE_WARNING_AS_ERROR=ON)
mkdir -p "$bd"
cmake -S . -B "$bd" "$@" "${opts[@]}" >/dev/null 2>"$bd/configure.log" || { cat "$bd/configure.log" >&2; exit 1; }
if [ -s "$bd/configure.log" ]; then
  cat "$bd/configure.log" >&2
  if [ -n "${WARNINGS_AS_ERRORS:-}" ] && grep -q Warning "$bd/configure.log"; then echo "configure warned" >&2; exit 1; fi
fi
exit 0
