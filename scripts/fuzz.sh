#!/usr/bin/env bash
# Builds the fuzz targets in a second tree (clang, libFuzzer, AddressSanitizer
# and UndefinedBehaviorSanitizer on every library) and runs them.
#
#   scripts/fuzz.sh TARGET SECONDS [libFuzzer options]   fuzz one target
#   scripts/fuzz.sh --replay [SECONDS]                    every target over its seeds and
#                                                         regression inputs, then SECONDS
#                                                         (default 2) each with a fixed seed
#   scripts/fuzz.sh --list                                the targets
#
# Seeds come from the sample module the fuzz tree generates; regression inputs
# lie in fuzz/regressions/TARGET. New inputs of a run go to
# $FUZZ_DIR/corpus/TARGET, crashes to $FUZZ_DIR/crashes/TARGET.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
bd=${FUZZ_DIR:-build-fuzz}
jobs=${FUZZ_BUILD_JOBS:-3}

# One target per fuzz/fuzz_*.cpp.
targets=$(cd fuzz && ls fuzz_*.cpp | sed 's/\.cpp$//' | sort)
case ${1:-} in
  --list) echo "$targets"; exit 0 ;;
  ""|-h|--help) sed -n '1d; /^#/!q; s/^# \{0,1\}//; p' "$0"; exit 1 ;;
  --replay) ;;
  *)  # refused before the build, which takes minutes
    grep -qxF -- "$1" <<<"$targets" || { echo "fuzz.sh: no target $1; targets:" $targets >&2; exit 1; }
    [[ ${2:-} =~ ^[0-9]+$ ]] || { echo "fuzz.sh: $1 needs SECONDS, a whole number: scripts/fuzz.sh $1 SECONDS" >&2; exit 1; } ;;
esac

# FUZZ_NO_BUILD=1 runs what is built (for several runs at once).
if [ -z "${FUZZ_NO_BUILD:-}" ]; then
  echo "fuzz.sh: building the fuzz targets in $bd (minutes the first time; log in $bd/build.log)" >&2
  opts=()
  command -v ccache >/dev/null && opts+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  # WARNINGS_AS_ERRORS=1 (as the tests run): any compiler or configure warning fails.
  bash scripts/configure.sh "$bd" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DEXAMSIM_FUZZ=ON -DEXAMSIM_TESTS=OFF -DEXAMSIM_BENCH=OFF "${opts[@]}"
  cmake --build "$bd" --target fuzz_all -j"$jobs" >"$bd/build.log" 2>&1 || { tail -n 60 "$bd/build.log"; exit 1; }
fi

# Allocation stacks of one frame: deeper ones through Qt's frames (built without
# frame pointers) fill ASan's stack store without bound, and a long run slows
# down and grows by a gigabyte. Replay a crash with
# ASAN_OPTIONS=malloc_context_size=30 for whole allocation stacks.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:allocator_may_return_null=1:malloc_context_size=1:max_malloc_fill_size=0:quarantine_size_mb=32}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$root/fuzz/lsan.supp}
export QT_QPA_PLATFORM=offscreen

mod="$bd/sample-module"  # the generated sample module, as the build made it
sep=$'\n#--#\n'         # part separator of multi-file inputs

# Seeds of each target from the sample module.
seeds() {
  local t=$1 d="$bd/seeds/$1"
  rm -rf "$d" && mkdir -p "$d"
  case $t in
    fuzz_text) cp "$mod"/wdata/2888*.rar "$mod/ver.txt" "$mod/sMenu.sys" "$d"/ ;;
    fuzz_settings) cp "$mod/ver.txt" "$d"/ ;;
    fuzz_step_record)  # one record a seed: short inputs run many times faster
      cat "$mod"/wdata/28882?.rar | tr -d '\r' | sort -u | split -l 1 - "$d/record" ;;
    fuzz_context_menu) cp "$mod/sMenu.sys" "$d"/ ;;
    fuzz_catalogue) cp "$mod/wdata/288891.rar" "$d"/ ;;
    fuzz_question_list) cp "$mod"/wdata/28887?.rar "$d"/ ;;
    fuzz_registry)
      printf '; registry values\n[Software\\Microsoft]\nProPath01=1:2f746d702f70726f6700\nProName01=1:6578616d73696d00\nN=4:01000000\n' >"$d/registry.ini" ;;
    fuzz_pictures)
      find "$mod/wdata" "$mod/examdata" -name '*.rar' -size -8k -exec file {} + | grep -E 'GIF|bitmap|JPEG' |
        cut -d: -f1 | awk 'NR <= 12' | while read -r f; do cp "$f" "$d/$(basename "$f")"; done || true ;;  # awk reads to the end: no writer is cut off by a broken pipe
    fuzz_text_table)
      { cat "$mod/wdata/288890.rar"; printf '%s' "$sep"; printf '001\n005\n012\n040\n'; printf '%s' "$sep";
        head -n 5 "$mod/wdata/288890.rar" | cut -c4-; } >"$d/table" ;;
    fuzz_session)
      local codes
      codes=$(sed -n 3p "$mod/wdata/288891.rar" | tr -d '\r')
      for u in 0 1 2; do
        { printf '%s' "${codes:0:$((16 + 8 * u))}"; printf '%s' "$sep"; cat "$mod/wdata/28887$u.rar"; printf '%s' "$sep";
          cat "$mod/wdata/28882$u.rar"; printf '%s' "$sep"; printf 'TTFF\r\nFFT\r\n\r\n'; printf '%s' "$sep";
          printf '01020103\r\n'; printf '%s' "$sep"; printf '0101\r\n'; printf '%s' "$sep";
          printf '2024-01-01 10:00:00\r\n37.5\r\n\r\n'; printf '%s' "$sep"; head -c 90 /dev/zero | tr '\0' '\5'; } >"$d/session$u"
      done ;;
    fuzz_window)
      for u in 0 1 2 3 4 5; do
        [ -f "$mod/wdata/28882$u.rar" ] || continue
        { cat "$mod/wdata/28882$u.rar"; printf '%s' "$sep"; cat "$mod/wdata/288890.rar"; printf '%s' "$sep";
          cat "$mod/sMenu.sys"; printf '%s' "$sep"; actions "$u"; } >"$d/window$u"
      done ;;
  esac
}

actions() {  # fixed bytes for the fuzzed user actions of a window seed
  local i
  for i in $(seq 0 511); do printf "\\x$(printf %02x $(( (i * 37 + $1 * 11 + i / 7) % 256 )))"; done
}

run_dirs() {  # the seed and regression folders of a target
  local t=$1
  seeds "$t"
  echo "$bd/seeds/$t"
  [ -d "$root/fuzz/regressions/$t" ] && echo "$root/fuzz/regressions/$t"
  return 0
}

case $1 in
  --replay)
    secs=${2:-2}
    for t in $targets; do
      mapfile -t dirs < <(run_dirs "$t")
      mkdir -p "$bd/crashes/$t"
      "$bd/fuzz/$t" -runs=0 -artifact_prefix="$bd/crashes/$t/" "${dirs[@]}" >"$bd/$t.replay.log" 2>&1 || { cat "$bd/$t.replay.log"; exit 1; }
      tmp=$(mktemp -d)
      "$bd/fuzz/$t" -seed=1 -max_total_time="$secs" -timeout=25 -rss_limit_mb=4096 -artifact_prefix="$bd/crashes/$t/" "$tmp" "${dirs[@]}" \
        >"$bd/$t.short.log" 2>&1 || { rm -rf "$tmp"; cat "$bd/$t.short.log"; exit 1; }
      rm -rf "$tmp"
      echo "$t: $(find "${dirs[@]}" -type f | wc -l) inputs replayed, $(grep -o 'Done [0-9]* runs' "$bd/$t.short.log" | tail -1)"
    done ;;
  *)
    t=$1 secs=${2:?seconds}
    shift 2
    [ -x "$bd/fuzz/$t" ] || { echo "no target $t; targets: $targets" >&2; exit 1; }
    mapfile -t dirs < <(run_dirs "$t")
    mkdir -p "$bd/corpus/$t" "$bd/crashes/$t"
    exec "$bd/fuzz/$t" -max_total_time="$secs" -timeout=25 -rss_limit_mb=4096 -artifact_prefix="$bd/crashes/$t/" \
      "$@" "$bd/corpus/$t" "${dirs[@]}" ;;
esac
