#!/bin/sh
# scripts/fuzz.sh --list names every fuzz target at once, without making or
# building a fuzz tree.
root=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
out=$(FUZZ_DIR="$tmp/tree" timeout 60 bash "$root/scripts/fuzz.sh" --list 2>&1)
rc=$?
want=$(cd "$root/fuzz" && ls fuzz_*.cpp | sed 's/\.cpp$//' | sort)
status=0
[ "$rc" -eq 0 ] || { echo "exit status $rc"; status=1; }
[ "$out" = "$want" ] || { printf 'listed:\n%s\nwanted:\n%s\n' "$out" "$want"; status=1; }
[ ! -e "$tmp/tree" ] || { echo "it made the fuzz tree $tmp/tree"; status=1; }
exit $status
