#!/usr/bin/env bash
# The command-line converter: exit statuses, where its messages go, and that
# it never overwrites its input. Usage: cli_test.sh VORLANE SAMPLE_VFK
set -uo pipefail

vorlane=$1
sample=$2
work=$(mktemp -d)
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
failures=0

check() {  # check DESCRIPTION COMMAND...
  if "${@:2}"; then echo "ok: $1"; else echo "FAILED: $1"; failures=$((failures + 1)); fi
}

run() {  # run EXPECTED_STATUS ARGS...: runs the converter, keeping stdout and stderr apart
  local expected=$1
  shift
  "$vorlane" "$@" >"$work/out" 2>"$work/err"
  local status=$?
  if [ "$status" -ne "$expected" ]; then
    echo "FAILED: vorlane $* exited $status, not $expected"
    sed 's/^/  stderr: /' "$work/err"
    failures=$((failures + 1))
  fi
}

mkdir -p "$work/Hřebečná"
cp "$sample" "$work/Hřebečná/plán.vfk"
run 0 "$work/Hřebečná/plán.vfk"
check "the drawing is written beside its input" test -s "$work/Hřebečná/plán.svg"
check "it ends with </svg>" test "$(tail -c 6 "$work/Hřebečná/plán.svg")" = "</svg>"
check "the converter says where it wrote" grep -q "^vorlane: wrote $work/Hřebečná/plán.svg\$" "$work/err"
check "standard output holds only the library's messages" test ! -s "$work/out"
check "units 1 and origin 0 0 by default" grep -q 'units="1" origin="0 0"' "$work/Hřebečná/plán.svg"

run 0 --units -12 --centre-origin "$work/Hřebečná/plán.vfk"
check "--units and --centre-origin reach the drawing" grep -q 'units="-12" origin="[-0-9.]* [-0-9.]*"' "$work/Hřebečná/plán.svg"
run 0 --units=5 -- "$work/Hřebečná/plán.vfk"
check "--units=N and --" grep -q 'units="5"' "$work/Hřebečná/plán.svg"

run 1 "$work/missing.vfk" "$work/Hřebečná/plán.vfk"
check "a missing file is reported by the library on stdout" grep -q "^VfkParser: Unable to open file$work/missing.vfk\$" "$work/out"
check "and by the converter on stderr" grep -q "^vorlane: $work/missing.vfk: could not be read\$" "$work/err"
check "the other files are still converted" grep -q "^vorlane: wrote $work/Hřebečná/plán.svg\$" "$work/err"
check "no drawing for the missing file" test ! -e "$work/missing.svg"

cp "$sample" "$work/plan.svg"
cp "$work/plan.svg" "$work/plan.svg.orig"
run 1 "$work/plan.svg"
check "an input named .svg is refused" grep -q "would replace the file itself" "$work/err"
check "and left unchanged" cmp -s "$work/plan.svg" "$work/plan.svg.orig"

cp "$sample" "$work/blocked.vfk"
mkdir "$work/blocked.svg"
run 1 "$work/blocked.vfk"
check "a drawing that cannot be written fails the run" grep -q "blocked.svg: the drawing could not be written" "$work/err"

cp "$sample" "$work/old.vfk"
echo "an earlier drawing</svg>" >"$work/old.svg"
chmod a-w "$work/old.svg"
if [ "$(id -u)" -ne 0 ]; then
  run 1 "$work/old.vfk"
  check "an earlier drawing that cannot be replaced fails the run" grep -q "old.svg: the drawing could not be written" "$work/err"
fi

run 2
check "no file is a usage error" grep -q "^Usage: vorlane" "$work/err"
run 2 --units
run 2 --units 2147483648 "$work/old.vfk"
check "units beyond 32 bits are refused" grep -q "^vorlane: --units needs a whole number" "$work/err"
run 2 --units 1.5 "$work/old.vfk"
run 2 --bogus "$work/old.vfk"
run 0 --help
check "--help prints the usage on stdout" grep -q "^Usage: vorlane" "$work/out"
run 0 --version
check "--version prints the version" grep -q "^vorlane [0-9]" "$work/out"

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "all checks passed"
