#!/bin/sh
# Runs each benchmark program given on a missing module ($EXAMSIM_SAMPLE):
# each must end by itself within 30 s, with status 1 and a message naming
# the missing module.
status=0
for b in "$@"; do
  out=$(timeout 30 "$b" --benchmark_min_time=0.01 2>&1)
  rc=$?
  case $out in
    *"no sample module at"*) said=yes ;;
    *) said=no ;;
  esac
  if [ "$rc" -ne 1 ] || [ "$said" = no ]; then
    [ "$rc" -eq 124 ] && rc="124, still running after 30 s"
    echo "$(basename "$b"): exit status $rc; message naming the module: $said"
    echo "$out" | tail -n 5
    status=1
  fi
done
exit $status
