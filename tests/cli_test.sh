#!/usr/bin/env bash
# The command-line converter: exit statuses, where its messages go, that it
# never overwrites its input nor writes a drawing elsewhere, that it refuses
# what is not a VFK file, and that nothing it is given makes it wait.
# Usage: cli_test.sh VORLANE SAMPLE_VFK ANSI_CODE_PAGE_VFK VERSION MAN_PAGE
# The batch test also converts the real exports of VORLANE_REAL_DATA.
set -uo pipefail

vorlane=$1
sample=$2
ansi=$3
version=$4
manpage=$5
data=$(dirname "$sample")
work=$(mktemp -d)
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
failures=0

check() {  # check DESCRIPTION COMMAND...
  if "${@:2}"; then echo "ok: $1"; else echo "FAILED: $1"; failures=$((failures + 1)); fi
}

as_user=()  # a command that runs the converter as another user
run() {  # run EXPECTED_STATUS ARGS...: runs the converter, keeping stdout and stderr apart
  local expected=$1
  shift
  "${as_user[@]}" "$vorlane" "$@" >"$work/out" 2>"$work/err"
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
check "the converter says where it wrote, and what" grep -qE "^vorlane: wrote $work/Hřebečná/plán.svg: [0-9]+ parcels?, [0-9]+ buildings?" "$work/err"
check "standard output holds only the library's messages" test ! -s "$work/out"
check "units 1 and origin 0 0 by default" grep -q 'units="1" origin="0 0"' "$work/Hřebečná/plán.svg"

run 0 --units -12 --centre-origin "$work/Hřebečná/plán.vfk"
check "--units and --centre-origin reach the drawing" grep -q 'units="-12" origin="[-0-9.]* [-0-9.]*"' "$work/Hřebečná/plán.svg"
run 0 --units=5 -- "$work/Hřebečná/plán.vfk"
check "--units=N and --" grep -q 'units="5"' "$work/Hřebečná/plán.svg"

run 1 "$work/missing.vfk" "$work/Hřebečná/plán.vfk"
check "a missing file is reported by the library on stdout" grep -q "^VfkParser: Unable to open file$work/missing.vfk\$" "$work/out"
check "and by the converter on stderr, with the reason" grep -qx "vorlane: $work/missing.vfk: cannot be read: No such file or directory" "$work/err"
check "the other files are still converted" grep -q "^vorlane: wrote $work/Hřebečná/plán.svg: " "$work/err"
check "no drawing for the missing file" test ! -e "$work/missing.svg"

cp "$sample" "$work/plan.svg"
cp "$work/plan.svg" "$work/plan.svg.orig"
run 2 "$work/plan.svg"
check "an input named .svg is refused" grep -qx "vorlane: the drawing of $work/plan.svg ($work/plan.svg) would replace the input $work/plan.svg; nothing was converted" "$work/err"
check "and left unchanged" cmp -s "$work/plan.svg" "$work/plan.svg.orig"

cp "$sample" "$work/blocked.vfk"
mkdir "$work/blocked.svg"
run 1 "$work/blocked.vfk"
check "a drawing that cannot be written fails the run" grep -qx "vorlane: $work/blocked.svg: the drawing cannot be written: Is a directory; nothing was converted" "$work/err"

# Root may write any file: as root, this runs as the user nobody.
cp "$sample" "$work/old.vfk"
echo "an earlier drawing</svg>" >"$work/old.svg"
chmod a-w "$work/old.svg"
chmod a+rx "$work"
[ "$(id -u)" -ne 0 ] || as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups --)
run 1 "$work/old.vfk"
as_user=()
check "an earlier drawing that cannot be replaced fails the run" grep -q "old.svg: the drawing cannot be written: Permission denied" "$work/err"
check "and stays as it was" grep -qx "an earlier drawing</svg>" "$work/old.svg"

# Drawings that would land outside the input's folder or without a name.
mkdir -p "$work/dir.d/sub"
cp "$sample" "$work/dir.d/noext"
cp "$sample" "$work/dir.d/sub/noext"
cp "$sample" "$work/dir.d/sub/.hidden"
(cd "$work/dir.d/sub" && "$vorlane" ../noext ./noext .hidden >"$work/out" 2>"$work/err")
check "drawings outside their folder or without a name are refused" test $? -eq 1
check "with how to mend it" test "$(grep -c "give the file a name with an extension, such as .vfk" "$work/err")" -eq 3
check "saying where the drawing would land" grep -qF "../noext: its drawing would be ..svg, outside the file's folder" "$work/err"
check "or that it would have no name" test "$(grep -cE "^vorlane: (./noext|.hidden): its drawing would be .svg, without a name of its own" "$work/err")" -eq 2
check "and nothing is written" test -z "$(find "$work/dir.d" -name '*.svg')" -a ! -e "$work/dir.svg"

# Files that are no VFK files; the last four are (a record of each kind
# may begin one).
: >"$work/empty.vfk"
printf '\xff\xfe&\0H\0V\0' >"$work/utf16.vfk"
echo "Hello" >"$work/text.vfk"
head -c 1000 /dev/urandom | sed 's/^&/x/' >"$work/binary.vfk"
printf '&X;1\r\n' >"$work/x.vfk"
printf '&amp;\r\n' >"$work/amp.vfk"
printf '&BSOBR;ID N30\r\n' >"$work/b.vfk"
printf '&DSOBR;1\r\n' >"$work/d.vfk"
printf '&K\r\n' >"$work/k.vfk"
printf '\xef\xbb\xbf&HVERZE;"6.0"\r\n' >"$work/bom.vfk"
run 1 "$work/empty.vfk" "$work/utf16.vfk" "$work/text.vfk" "$work/binary.vfk" "$work/x.vfk" \
  "$work/amp.vfk" "$work/b.vfk" "$work/d.vfk" "$work/k.vfk" "$work/bom.vfk"
check "files that are no VFK files are refused" test "$(grep -c "does not look like a VFK file" "$work/err")" -eq 6
check "and get no drawing" test ! -e "$work/empty.svg" -a ! -e "$work/utf16.svg" -a ! -e "$work/text.svg" -a ! -e "$work/binary.svg"
check "while the next file is converted" test -s "$work/bom.svg"

# A closed standard output ends no conversion: many warnings for a reader
# that is gone, then the next file.
{
  printf '&BSOBR;ID N30;SOURADNICE_Y N10.2;SOURADNICE_X N10.2\r\n&DSOBR;1;1;1\r\n'
  printf '&BSBP;BP_ID N30;PORADOVE_CISLO_BODU N38;HP_ID N30\r\n'
  for i in $(seq 1 2000); do printf '&DSBP;1;1;%d\r\n&DSBP;1;300;%d\r\n' "$i" "$i"; done
  printf '&BHP;ID N30;PAR_ID_1 N30;PAR_ID_2 N30;TYPPPD_KOD N10\r\n'
  for i in $(seq 1 2000); do printf '&DHP;%d;1;;0\r\n' "$i"; done
  printf '&BOP;PAR_ID N30;OPAR_TYPE T10;TYPPPD_KOD N10;TEXT T255\r\n&DOP;1;"PC";0;"1"\r\n&K\r\n'
} >"$work/warnings.vfk"
cp "$sample" "$work/after.vfk"
"$vorlane" "$work/warnings.vfk" "$work/after.vfk" 2>"$work/err" | head -c 10 >/dev/null
check "a closed standard output stops nothing" test "${PIPESTATUS[0]}" -eq 0
check "and the drawings after it are written" test -s "$work/warnings.svg" -a -s "$work/after.svg"

# A process starts with the ANSI code page: a file without a CODEPAGE header
# is decoded as Windows-1250 ("\x9A" is "š" there, a control in ISO-8859-2).
cp "$ansi" "$work/ansi.vfk"
run 0 "$work/ansi.vfk"
check "a fresh process decodes with the ANSI code page" grep -q ">š.e. 8</text>" "$work/ansi.svg"
check "all of it" grep -q ">č.p. 7</text>" "$work/ansi.svg"

run 2
check "no file is a usage error" grep -q "^Usage: vorlane" "$work/err"
run 2 --units
run 2 --units 2147483648 "$work/old.vfk"
check "units beyond 32 bits are refused" grep -q "^vorlane: --units needs a whole number" "$work/err"
run 2 --units 1.5 "$work/old.vfk"
run 2 --bogus "$work/old.vfk"
run 0 --help
check "--help prints the usage on stdout" grep -q "^Usage: vorlane" "$work/out"
run 0 -h
check "and -h" grep -q "units attribute" "$work/out"
run 0 --version
check "--version prints the version" grep -qx "vorlane $version" "$work/out"
run 0 -V
check "and -V" grep -qx "vorlane $version" "$work/out"

# A file without a CODEPAGE header is read alike after a Latin-2 one: the
# converter starts every file from the ANSI code page, where 0xA9 is "©".
mkdir "$work/cp"
printf '&HCODEPAGE;"WE8ISO8859P2"\r\n&BTYPBUD;KOD N1;NAZEV T9;ZKRATKA T9\r\n&DTYPBUD;1;"a";"\xa9"\r\n&BBUD;ID N30;TYPBUD_KOD N1\r\n&DBUD;5;1\r\n&K\r\n' >"$work/cp/latin2.vfk"
printf '&BTYPBUD;KOD N1;NAZEV T9;ZKRATKA T9\r\n&DTYPBUD;1;"a";"\xa9"\r\n&BBUD;ID N30;TYPBUD_KOD N1\r\n&DBUD;5;1\r\n&K\r\n' >"$work/cp/none.vfk"
run 0 "$work/cp/none.vfk"
mv "$work/cp/none.svg" "$work/cp/alone.svg"
run 0 "$work/cp/latin2.vfk" "$work/cp/none.vfk"
check "Latin-2 names its code page" grep -q ">Š </text>" "$work/cp/latin2.svg"
check "a file without one is read alike alone and after it" cmp -s "$work/cp/alone.svg" "$work/cp/none.svg"
check "from the ANSI code page" grep -q ">© </text>" "$work/cp/none.svg"

# Several files at once: the same drawings and messages, in the same order,
# as one after another.
for jobs in 1 3; do
  mkdir -p "$work/batch$jobs"
  cp "$data"/*.vfk "$work/batch$jobs/"
  [ -z "${VORLANE_REAL_DATA:-}" ] || cp "$VORLANE_REAL_DATA"/*.vfk "$work/batch$jobs/" 2>/dev/null
  (cd "$work/batch$jobs" && "$vorlane" -j "$jobs" --report report.json ./*.vfk >out 2>err; echo $? >status)
done
check "-j 3 writes what -j 1 writes, messages and exit status included" \
  diff -r "$work/batch1" "$work/batch3"
check "the report is JSON with a conversion for each file" python3 -c '
import json, sys
report = json.load(open(sys.argv[1]))
conversions = report["conversions"]
assert len(conversions) == int(sys.argv[2]), len(conversions)
for c in conversions:
    assert len(c["layers"]) == 9 and c["status"] in ("written", "empty", "not read"), c["status"]
    assert all(f["kind"] in c["findingCounts"] for f in c["findings"])
assert any(c["findingCounts"]["missingPoint"] > 0 for c in conversions)
' "$work/batch1/report.json" "$(ls "$work/batch1"/*.vfk | wc -l)"

# Drawings into another folder; two inputs that would make one drawing are
# refused before anything is converted.
mkdir -p "$work/a" "$work/b" "$work/drawings"
cp "$sample" "$work/a/plan.vfk"
cp "$sample" "$work/b/plan.vfk"
cp "$sample" "$work/a/other.vfk"
run 0 -o "$work/drawings" "$work/a/plan.vfk" "$work/a/other.vfk"
check "-o writes into the folder" test -s "$work/drawings/plan.svg" -a -s "$work/drawings/other.svg"
check "and nothing beside the inputs" test ! -e "$work/a/plan.svg"
rm "$work/drawings"/*
run 2 -o "$work/drawings" "$work/a/other.vfk" "$work/a/plan.vfk" "$work/b/plan.vfk"
check "two inputs for one drawing are refused" grep -qx "vorlane: the drawing of $work/a/plan.vfk ($work/drawings/plan.svg) and the drawing of $work/b/plan.vfk ($work/drawings/plan.svg) would be one file; nothing was converted" "$work/err"
check "and nothing is converted" test -z "$(ls "$work/drawings")"

run 2 --format dxf --units 3 "$work/a/plan.vfk"
check "--units is refused with --format dxf" grep -q "a DXF drawing has neither" "$work/err"

# The man page tells of every option --help names.
for option in $("$vorlane" --help | grep -oE -- '--[a-z-]+' | sort -u); do
  check "the man page has $option" grep -qF -- "$(sed 's/-/\\-/g' <<<"$option")" "$manpage"
done

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "all checks passed"
