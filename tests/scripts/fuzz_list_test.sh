#!/bin/sh
# scripts/fuzz.sh answers at once, without making or building a fuzz tree:
# --list names every fuzz target, no argument prints the help, and a
# mistyped target or a missing SECONDS is refused.
root=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
# A cmake that only notes it was called: nothing here may configure or build.
mkdir "$tmp/bin"
printf '#!/bin/sh\ntouch "%s/cmake-called"\nexit 1\n' "$tmp" >"$tmp/bin/cmake"
chmod +x "$tmp/bin/cmake"
status=0

# Runs fuzz.sh with the arguments given; sets out and rc.
fuzz() {
  rm -rf "$tmp/tree" "$tmp/cmake-called"
  out=$(PATH="$tmp/bin:$PATH" FUZZ_DIR="$tmp/tree" timeout 60 bash "$root/scripts/fuzz.sh" "$@" 2>&1)
  rc=$?
  [ ! -e "$tmp/tree" ] || { echo "fuzz.sh $*: it made the fuzz tree"; status=1; }
  [ ! -e "$tmp/cmake-called" ] || { echo "fuzz.sh $*: it ran cmake"; status=1; }
}

fuzz --list
want=$(cd "$root/fuzz" && ls fuzz_*.cpp | sed 's/\.cpp$//' | sort)
[ "$rc" -eq 0 ] || { echo "--list: exit status $rc"; status=1; }
[ "$out" = "$want" ] || { printf 'listed:\n%s\nwanted:\n%s\n' "$out" "$want"; status=1; }

# The help is the script's leading comment block, nothing of its code.
fuzz
block=$(awk 'NR == 1 { next } !/^#/ { exit } { sub(/^# ?/, ""); print }' "$root/scripts/fuzz.sh")
case $out in *"set -euo"*) echo "help shows code: $(echo "$out" | grep 'set -euo')"; status=1 ;; esac
[ "$out" = "$block" ] || { printf 'help:\n%s\nwanted:\n%s\n' "$out" "$block"; status=1; }
case $out in *"scripts/fuzz.sh TARGET SECONDS"*) ;; *) echo "help without the usage"; status=1 ;; esac

# Refused: arguments | what the message must name.
while IFS='|' read -r args said; do
  # shellcheck disable=SC2086
  fuzz $args
  [ "$rc" -ne 0 ] || { echo "fuzz.sh $args: exit status 0"; status=1; }
  case $out in *"$said"*) ;; *) printf 'fuzz.sh %s: message without "%s":\n%s\n' "$args" "$said" "$out"; status=1 ;; esac
done <<EOF
fuzz_nosuch 60|no target fuzz_nosuch; targets:
fuzz_tex 60|no target fuzz_tex;
fuzz_text|fuzz_text needs SECONDS
fuzz_text -runs=100|fuzz_text needs SECONDS
fuzz_window 1m|fuzz_window needs SECONDS
EOF
exit $status
