#!/usr/bin/env bash
# Tests of the Windows product on Linux: Vorlane.dll is cross-built with
# MinGW-w64, and a stand-in CAD application (vorlane-host.exe) calls it under
# Wine. Everything the DLL writes must be byte for byte what the Linux build
# writes for the same input.
#
#   windows_tests.sh STEP [ARG...]
#
# Steps, each one CTest test:
#   build            cross-build Vorlane.dll and vorlane-host.exe (configured once)
#   dependencies     the DLL and the host need only Windows' own DLLs
#   exports          the DLL exports Vorlane_ParseVfk at ordinal 1, and nothing else
#   wine-prefix      create the Wine prefix the other steps share
#   same-output [OPTION...]
#                    convert every VFK file found with the DLL and with the Linux
#                    converter, with the same options; compare drawings and messages
#   unopenable       a missing file and a folder: false and the same message;
#                    a file the drawing would replace: false, and kept
#   failed-write     a drawing that cannot replace what is there (a drawing
#                    the host holds open, a folder): false, that kept, no file
#                    left behind
#   scan-kernels     every structure-scan kernel of the Windows build, on random
#                    buffers and on every VFK file, against the bytes
#   code-pages       texts decoded with the ANSI code page (Windows-1250 on Czech
#                    Windows) and with ISO-8859-2, every byte from 0x80 to 0xFF
#   release-zip      the release zip made from the cross build: its files, the
#                    DLL's version resource, and a C program built against the
#                    zip's Vorlane.h and Vorlane.lib alone converts the sample
#
# Set by CTest (tests/windows/CMakeLists.txt):
#   VORLANE_SOURCE_DIR  the repository
#   VORLANE_WORK_DIR    this test folder in the Linux build tree
#   VORLANE_CONVERTER   the Linux build's vorlane converter
#   VORLANE_CMAKE, VORLANE_GENERATOR, VORLANE_WERROR   for the cross build
#   VORLANE_CPACK, VORLANE_VERSION   for the release zip
#   VORLANE_WINE        the Wine loader (/usr/lib/wine/wine64)
# and, from the environment, VORLANE_REAL_DATA: a folder of real VFK files to
# compare as well.
#
# Exit status 77 means skipped: a tool or the locale the step needs is missing.
set -uo pipefail

readonly kSkipped=77
readonly mingw_gxx=x86_64-w64-mingw32-g++
readonly objdump=x86_64-w64-mingw32-objdump
readonly windres=x86_64-w64-mingw32-windres
readonly source_dir=$VORLANE_SOURCE_DIR
readonly work_dir=$VORLANE_WORK_DIR
readonly cross_dir=$work_dir/cross
readonly wine=${VORLANE_WINE:-/usr/lib/wine/wine64}
export WINEPREFIX=$work_dir/wine-prefix
# Czech Windows: ANSI code page 1250. The Linux build decodes the ANSI code
# page as Windows-1250 too.
readonly wine_locale=cs_CZ.UTF-8
# A folder name that only a UTF-16 path can carry through to the library.
readonly czech_folder=Hřebečná

fail() {
  echo "FAILED: $*" >&2
  exit 1
}

skip() {
  echo "Skipped: $*"
  exit "$kSkipped"
}

need_mingw() {
  command -v "$mingw_gxx" >/dev/null || skip "$mingw_gxx is not installed (tools/install-dependencies installs it)"
  command -v "$objdump" >/dev/null || skip "$objdump is not installed (tools/install-dependencies installs it)"
}

need_cross_build() {
  need_mingw
  if [ ! -f "$cross_dir/Vorlane.dll" ] || [ ! -f "$cross_dir/vorlane-host.exe" ]; then
    fail "no cross build in $cross_dir: the test windows_build must run first"
  fi
}

need_wine() {
  [ -x "$wine" ] || skip "$wine is not installed (tools/install-dependencies installs wine64)"
  locale -a 2>/dev/null | grep -qix 'cs_CZ\.utf-\?8' ||
    skip "the locale $wine_locale is missing (tools/install-dependencies makes it)"
}

# Runs a Windows program under Wine, quietly, in the Czech locale. Wine's
# server outlives the program briefly, so the caller redirects standard output
# and error to files: the server must not hold on to CTest's pipes.
run_wine() {
  env -u DISPLAY WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml=' \
    LANG="$wine_locale" LC_ALL="$wine_locale" "$wine" "$@"
}

# Runs the host with standard output into $1 and standard error into $2, and
# returns its exit status. The host reports on standard error before it exits
# in every case (a result, a usage error, a library it cannot load); when
# nothing of it is there, it did not run to its end: Wine did not start it,
# or it crashed. That was seen once, in one CI run, and in none of the runs
# here; it is said, with the exit status, and the host is run once more. A
# second run without a report fails the step, as the report is looked for.
run_host() {
  local out=$1 err=$2 status
  shift 2
  run_wine "$cross_dir/vorlane-host.exe" "$@" >"$out" 2>"$err"
  status=$?
  grep -q '^host: ' "$err" && return "$status"
  echo "note: the host reported nothing (exit status $status, standard error: $(cat "$err")); once more" >&2
  run_wine "$cross_dir/vorlane-host.exe" "$@" >"$out" 2>"$err"
}

# /a/b/c.vfk as Wine's drive Z: sees it: Z:\a\b\c.vfk
windows_path() {
  local path=$1
  printf 'Z:%s' "${path//\//\\}"
}

# The "DLL Name" lines of a Windows program or DLL.
imported_dlls() {
  "$objdump" -p "$1" | sed -n 's/^[[:space:]]*DLL Name: //p'
}

step_build() {
  need_mingw
  local jobs
  jobs=$(nproc 2>/dev/null || echo 2)
  if [ ! -f "$cross_dir/CMakeCache.txt" ]; then
    "$VORLANE_CMAKE" -S "$source_dir" -B "$cross_dir" -G "$VORLANE_GENERATOR" \
      -DCMAKE_TOOLCHAIN_FILE="$source_dir/cmake/mingw-w64-x86_64.cmake" \
      -DCMAKE_BUILD_TYPE=Release -DVORLANE_BUILD_TESTS=OFF \
      -DVORLANE_WERROR="$VORLANE_WERROR" || fail "configuring the cross build"
  fi
  "$VORLANE_CMAKE" --build "$cross_dir" -j"$jobs" || fail "the cross build"
  [ -f "$cross_dir/Vorlane.dll" ] || fail "the cross build made no Vorlane.dll"
  [ -f "$cross_dir/vorlane-host.exe" ] || fail "the cross build made no vorlane-host.exe"
}

step_dependencies() {
  need_cross_build
  # What every 64-bit Windows has in its system folder.
  local system_dlls=' kernel32.dll msvcrt.dll ntdll.dll user32.dll advapi32.dll shell32.dll '
  local file dll status=0
  for file in Vorlane.dll vorlane-host.exe; do
    local dlls
    dlls=$(imported_dlls "$cross_dir/$file")
    echo "$file imports: ${dlls//$'\n'/ }"
    grep -qix 'kernel32\.dll' <<<"$dlls" || fail "$file: no KERNEL32.dll among its imports: objdump's output was not understood"
    while read -r dll; do
      if [[ $system_dlls != *" ${dll,,} "* ]]; then
        echo "FAILED: $file needs $dll, which Windows does not have" >&2
        status=1
      fi
    done <<<"$dlls"
  done
  return "$status"
}

step_exports() {
  need_cross_build
  local dump
  dump=$("$objdump" -p "$cross_dir/Vorlane.dll")
  # The export table as "ORDINAL NAME" lines: the name table's index plus the
  # ordinal base is the ordinal; an address-table entry without a name shows
  # as "ORDINAL -".
  local exports
  exports=$(awk '
    /^Ordinal Base/ { base = $3 }
    /^Export Address Table -- Ordinal Base/ { section = "addresses"; next }
    /^\[Ordinal\/Name Pointer\] Table/ { section = "names"; next }
    /^[[:space:]]*$/ { section = ""; next }
    section == "addresses" && match($0, /\+base\[ *[0-9]+\]/) {
      ordinal = substr($0, RSTART + 6, RLENGTH - 7) + 0
      addresses[ordinal] = 1
    }
    section == "names" && match($0, /^[[:space:]]*\[ *[0-9]+\] /) {
      index_text = substr($0, RSTART, RLENGTH); gsub(/[^0-9]/, "", index_text)
      named[index_text + base] = $NF
    }
    END {
      for (ordinal in addresses) print ordinal, (ordinal in named ? named[ordinal] : "-")
      for (ordinal in named) if (!(ordinal in addresses)) print ordinal, named[ordinal], "(no address)"
    }' <<<"$dump" | sort -n)
  echo "Exports (ordinal name):"
  echo "$exports"
  if [ "$exports" != "1 Vorlane_ParseVfk" ]; then
    sed -n '/^The Export Tables/,/^The Function Table/p' <<<"$dump" >&2
    fail "Vorlane.dll must export Vorlane_ParseVfk at ordinal 1 and nothing else"
  fi
  grep -q '^Name[[:space:]].* Vorlane\.dll$' <<<"$dump" || fail "the export table does not name the DLL Vorlane.dll"
}

step_wine_prefix() {
  need_wine
  if [ -f "$WINEPREFIX/system.reg" ]; then
    echo "Wine prefix ready: $WINEPREFIX"
    return 0
  fi
  echo "Creating the Wine prefix $WINEPREFIX"
  run_wine wineboot --init >"$work_dir/wine-prefix.log" 2>&1 ||
    { cat "$work_dir/wine-prefix.log" >&2; fail "wineboot --init"; }
  # The registry is on disk only once the server has gone.
  env WINEPREFIX="$WINEPREFIX" "$(dirname "$wine")/wineserver" -w
  [ -f "$WINEPREFIX/system.reg" ] || fail "wineboot made no prefix in $WINEPREFIX"
}

# A fresh folder for one step: linux/Hřebečná and windows/Hřebečná in it, for
# the two builds' copies of the inputs. It stays after a failure, to look at.
make_step_folder() {
  local folder=$work_dir/runs/$1
  rm -rf "$folder"
  mkdir -p "$folder/linux/$czech_folder" "$folder/windows/$czech_folder"
  echo "$folder"
}

# Converts the files named in the array "names", copies in both folders of
# "folder", with the Linux converter and with the DLL under Wine, passing the
# options in "options". The converter converts each file as if it were alone,
# so the host, a long-lived process in which the code page a file names holds
# for the next, is started afresh for each file. Leaves linux.out, linux.err,
# windows.out and windows.err in the folder, and the exit statuses in
# linux_status and windows_status.
convert_both() {
  local folder=$1
  local linux_paths=() name
  for name in "${names[@]}"; do
    linux_paths+=("$folder/linux/$czech_folder/$name")
  done
  "$VORLANE_CONVERTER" "${options[@]}" -- "${linux_paths[@]}" >"$folder/linux.out" 2>"$folder/linux.err"
  linux_status=$?
  windows_status=0
  : >"$folder/windows.out"
  : >"$folder/windows.err"
  for name in "${names[@]}"; do
    run_host "$folder/one.out" "$folder/one.err" "${options[@]}" -- \
      "$(windows_path "$folder/windows/$czech_folder/$name")" || windows_status=1
    cat "$folder/one.out" >>"$folder/windows.out"
    cat "$folder/one.err" >>"$folder/windows.err"
  done
  echo "Linux converter: exit status $linux_status; DLL under Wine: exit status $windows_status"
}

# Compares what convert_both left: the library's messages on standard output,
# each call's result, and the drawings. (The converter's exit status also
# counts files with nothing to draw, which the library reads all the same.)
# Returns 1 after reporting every difference.
compare_both() {
  local folder=$1 status=0 name
  if ! cmp "$folder/linux.out" "$folder/windows.out"; then
    echo "FAILED: the library's messages differ (< Linux, > Windows):" >&2
    diff "$folder/linux.out" "$folder/windows.out" | head -20 >&2
    status=1
  fi
  local compared=0
  for name in "${names[@]}"; do
    local linux_svg=$folder/linux/$czech_folder/${name%.*}.svg
    local windows_svg=$folder/windows/$czech_folder/${name%.*}.svg
    local windows_input
    windows_input=$(windows_path "$folder/windows/$czech_folder/$name")
    # The library's result: whether it read the file, and so wrote a drawing.
    local linux_result=false windows_result=false
    [ -f "$linux_svg" ] && linux_result=true
    grep -qxF "host: $windows_input: true" "$folder/windows.err" && windows_result=true
    if [ "$linux_result" != "$windows_result" ]; then
      echo "FAILED: $name: the Linux converter's call returned $linux_result, the DLL's $windows_result" >&2
      status=1
    elif [ -f "$linux_svg" ] || [ -f "$windows_svg" ]; then
      if cmp "$linux_svg" "$windows_svg"; then
        compared=$((compared + 1))
      else
        status=1
      fi
    fi
  done
  echo "Identical drawings: $compared of ${#names[@]} files"
  if [ "$status" != 0 ]; then
    echo "--- Linux converter's standard error:" >&2
    cat "$folder/linux.err" >&2
    echo "--- host's standard error:" >&2
    cat "$folder/windows.err" >&2
    echo "The files are in $folder" >&2
  fi
  return "$status"
}

# The folder of real VFK files that VORLANE_REAL_DATA names, if it is one.
shared_data_dir() {
  local dir=${VORLANE_REAL_DATA:-}
  if [ -n "$dir" ] && [ -d "$dir" ]; then
    echo "$dir"
  fi
}

step_same_output() {
  need_cross_build
  need_wine
  options=("$@")
  local folder
  folder=$(make_step_folder "same-output$(printf '%s' "${options[@]}")")
  # Every VFK file the repository has, then the real ones. One process reads
  # them all, in the same order on both sides: a CODEPAGE header holds for the
  # files after it.
  names=()
  local shared file tag
  shared=$(shared_data_dir)
  local -A source_folders=([examples]=$source_dir/examples [data]=$source_dir/tests/data)
  [ -z "$shared" ] || source_folders[shared]=$shared
  # Each copy's name starts with its folder's tag, so that equal names differ.
  for tag in examples data shared; do
    local source_folder=${source_folders[$tag]:-}
    [ -d "$source_folder" ] || continue
    while IFS= read -r file; do
      [ -n "$file" ] || continue
      local name
      name="$tag-$(basename "$file")"
      cp "$file" "$folder/linux/$czech_folder/$name"
      cp "$file" "$folder/windows/$czech_folder/$name"
      names+=("$name")
    done < <(find "$source_folder" -maxdepth 1 -type f -iname '*.vfk' | LC_ALL=C sort)
  done
  [ "${#names[@]}" -gt 0 ] || skip "no VFK files in examples/, tests/data/ or VORLANE_REAL_DATA"
  chmod u+w "$folder"/*/"$czech_folder"/*
  echo "Files: ${names[*]}"
  [ -n "$shared" ] || echo "VORLANE_REAL_DATA names no folder; only the repository's files were compared"

  convert_both "$folder"
  compare_both "$folder" || fail "the DLL and the Linux converter differ"
  [ "$linux_status" = 0 ] || echo "Note: some files could not be converted, by either build"
  rm -rf "$folder"
}

step_unopenable() {
  need_cross_build
  need_wine
  local folder
  folder=$(make_step_folder unopenable)
  mkdir "$folder/linux/$czech_folder/folder.vfk" "$folder/windows/$czech_folder/folder.vfk"
  names=(missing.vfk folder.vfk)
  options=()
  convert_both "$folder"

  # Each build names the path it was given; apart from that the bytes agree.
  local message='VfkParser: Unable to open file%s\n'
  local name
  for name in "${names[@]}"; do
    # shellcheck disable=SC2059
    printf "$message" "$folder/linux/$czech_folder/$name"
  done >"$folder/linux.expected"
  for name in "${names[@]}"; do
    # shellcheck disable=SC2059
    printf "$message" "$(windows_path "$folder/windows/$czech_folder/$name")"
  done >"$folder/windows.expected"
  local status=0
  cmp "$folder/linux.expected" "$folder/linux.out" || status=1
  cmp "$folder/windows.expected" "$folder/windows.out" || status=1
  if [ "$status" != 0 ]; then
    echo "--- expected from Linux, then from Windows:" >&2
    cat "$folder/linux.expected" "$folder/windows.expected" >&2
    echo "--- written by Linux, then by Windows:" >&2
    cat "$folder/linux.out" "$folder/windows.out" >&2
    fail "the messages for files that cannot be opened differ"
  fi
  if [ "$linux_status" != 1 ] || [ "$windows_status" != 1 ]; then
    fail "both must exit with status 1"
  fi
  for name in "${names[@]}"; do
    grep -qxF "host: $(windows_path "$folder/windows/$czech_folder/$name"): false" "$folder/windows.err" ||
      fail "the host did not report false for $name"
  done
  [ -z "$(find "$folder" -name '*.svg')" ] || fail "a drawing was written for a file that cannot be opened"

  # A file named like its own drawing, in either case (Windows' names are the
  # same whatever their case): false, and the file is left as it is.
  local input
  for name in plan.svg PLAN.SVG; do
    input=$folder/windows/$name
    cp "$source_dir/examples/sample.vfk" "$input"
    run_host "$folder/replace.out" "$folder/replace.err" -- "$(windows_path "$input")" &&
      fail "the host converted $name into itself"
    grep -qxF "host: $(windows_path "$input"): false" "$folder/replace.err" ||
      fail "the host did not report false for $name: $(cat "$folder/replace.err")"
    cmp "$input" "$source_dir/examples/sample.vfk" || fail "$name was replaced"
    [ "$(find "$folder/windows" -maxdepth 1 -iname '*.svg')" = "$input" ] || fail "$name: another drawing was written"
    rm "$input"
  done
  echo "ok: plan.svg and PLAN.SVG are not replaced by their drawings"
  rm -rf "$folder"
}

step_failed_write() {
  need_cross_build
  need_wine
  local folder
  folder=$(make_step_folder failed-write)
  local dir=$folder/windows/$czech_folder
  cp "$source_dir/examples/sample.vfk" "$dir/plan.vfk"
  local input drawing
  input=$(windows_path "$dir/plan.vfk")
  drawing=$(windows_path "$dir/plan.svg")
  mkdir "$dir/plan.svg"
  run_host "$folder/folder.out" "$folder/folder.err" -- "$input"
  grep -qxF "host: $input: false" "$folder/folder.err" ||
    fail "a folder at the drawing's path: the export did not return false: $(cat "$folder/folder.err")"
  [ -d "$dir/plan.svg" ] && [ "$(ls -A "$dir")" = "$(printf 'plan.svg\nplan.vfk')" ] ||
    fail "a folder at the drawing's path: it was touched: $(ls -A "$dir")"
  rmdir "$dir/plan.svg"
  echo "ok: a folder at the drawing's path is kept, and the export returns false"

  echo "the earlier drawing" >"$dir/plan.svg"
  run_host "$folder/held.out" "$folder/held.err" --hold "$drawing" -- "$input"
  grep -qxF "host: $input: false" "$folder/held.err" ||
    fail "a drawing held open: the export did not return false: $(cat "$folder/held.err")"
  grep -qx "the earlier drawing" "$dir/plan.svg" || fail "a drawing held open was replaced"
  [ "$(ls -A "$dir")" = "$(printf 'plan.svg\nplan.vfk')" ] ||
    fail "a drawing held open: files were left behind: $(ls -A "$dir")"
  echo "ok: a drawing held open is kept, and the export returns false"
  run_host "$folder/free.out" "$folder/free.err" -- "$input"
  grep -qxF "host: $input: true" "$folder/free.err" || fail "the export failed: $(cat "$folder/free.err")"
  cp "$source_dir/examples/sample.vfk" "$folder/linux/$czech_folder/plan.vfk"
  "$VORLANE_CONVERTER" --quiet "$folder/linux/$czech_folder/plan.vfk" 2>/dev/null
  cmp "$dir/plan.svg" "$folder/linux/$czech_folder/plan.svg" ||
    fail "the drawing that replaced the earlier one differs from the Linux build's"
  echo "ok: once free, the earlier drawing is replaced by the whole new one"
  rm -rf "$folder"
}

# A VFK file with building types whose abbreviations hold every byte from
# 0x80 to 0xFF, 32 to a type, each type drawn by one building's number.
# $2 is the CODEPAGE header's value, or empty for none.
write_code_page_file() {
  local path=$1 code_page=$2 row
  {
    printf '&HVERZE;"5.1"\r\n'
    [ -z "$code_page" ] || printf '&HCODEPAGE;"%s"\r\n' "$code_page"
    printf '&BTYPBUD;KOD N2;NAZEV T60;ZKRATKA T60\r\n'
    for row in 0 1 2 3; do
      local bytes
      bytes=$(printf '\\x%02X' $(seq $((128 + 32 * row)) $((159 + 32 * row))))
      printf '&DTYPBUD;%d;"typ %b";"%b"\r\n' $((row + 1)) "$bytes" "$bytes"
    done
    printf '&BBUD;ID N30;TYPBUD_KOD N2;CISLO_DOMOVNI N4\r\n'
    for row in 0 1 2 3; do
      printf '&DBUD;%d;%d;%d\r\n' $((row + 10)) $((row + 1)) $((row + 1))
    done
    printf '&BOBDEBO;ID N30;PAR_ID N30;BUD_ID N30;SOURADNICE_Y N10.2;SOURADNICE_X N10.2\r\n'
    for row in 0 1 2 3; do
      printf '&DOBDEBO;%d;5;%d;%d.5;200.5\r\n' $((row + 1)) $((row + 10)) $((row + 100))
    done
    printf '&K\r\n'
  } >"$path"
}

step_code_pages() {
  need_cross_build
  need_wine
  local folder
  folder=$(make_step_folder code-pages)

  # The ANSI code page Wine gives Windows programs in the Czech locale.
  run_host "$folder/acp.out" "$folder/acp.err" --ansi-code-page
  grep -qx 'host: ANSI code page 1250' "$folder/acp.err" ||
    fail "Wine's ANSI code page in $wine_locale is not 1250: $(cat "$folder/acp.err")"

  # No header and an unknown one (with its warning) leave the ANSI code page.
  names=(no-header.vfk windows-1250.vfk iso-8859-2.vfk)
  local side
  for side in linux windows; do
    write_code_page_file "$folder/$side/$czech_folder/no-header.vfk" ""
    write_code_page_file "$folder/$side/$czech_folder/windows-1250.vfk" EE8MSWIN1250
    write_code_page_file "$folder/$side/$czech_folder/iso-8859-2.vfk" WE8ISO8859P2
  done
  options=(--units 3)
  convert_both "$folder"
  compare_both "$folder" || fail "the DLL and the Linux converter decode differently"
  [ "$linux_status" = 0 ] || fail "the generated files must convert"
  grep -q 'unhandled codepage' "$folder/windows.out" ||
    fail "no warning for the unknown code page: $(cat "$folder/windows.out")"
  # The bytes 0x9C to 0x9F are "śťžź" in Windows-1250 ("œ", undefined, "ž",
  # "Ÿ" in Windows-1252), and 0xA9 to 0xAC "ŠŞŤŹ" in ISO-8859-2.
  grep -q 'śťžź' "$folder/windows/$czech_folder/no-header.svg" ||
    fail "no-header.vfk was not decoded as Windows-1250"
  grep -q 'ŠŞŤŹ' "$folder/windows/$czech_folder/iso-8859-2.svg" ||
    fail "iso-8859-2.vfk was not decoded as ISO-8859-2"

  # In one process, the code page a file names holds for the next file that
  # names none.
  rm "$folder/windows/$czech_folder/no-header.svg"
  run_host "$folder/carry.out" "$folder/carry.err" -- "$(windows_path "$folder/windows/$czech_folder/iso-8859-2.vfk")" \
    "$(windows_path "$folder/windows/$czech_folder/no-header.vfk")" ||
    fail "the host's conversions: $(cat "$folder/carry.err")"
  grep -q 'ŠŞŤŹ' "$folder/windows/$czech_folder/no-header.svg" ||
    fail "after iso-8859-2.vfk, no-header.vfk was not decoded as ISO-8859-2"

  # A file named like its own drawing is refused and left as it was.
  cp "$folder/windows/$czech_folder/iso-8859-2.vfk" "$folder/windows/$czech_folder/plan.svg"
  run_host "$folder/plan.out" "$folder/plan.err" -- "$(windows_path "$folder/windows/$czech_folder/plan.svg")"
  grep -qxF "host: $(windows_path "$folder/windows/$czech_folder/plan.svg"): false" "$folder/plan.err" ||
    fail "the DLL did not refuse plan.svg: $(cat "$folder/plan.err")"
  cmp "$folder/windows/$czech_folder/iso-8859-2.vfk" "$folder/windows/$czech_folder/plan.svg" ||
    fail "the DLL changed plan.svg"
  rm -rf "$folder"
}

# Every structure-scan kernel of the Windows build, as the DLL dispatches
# them, on random buffers and on the repository's and the real VFK files.
step_scan_kernels() {
  need_cross_build
  need_wine
  local folder
  folder=$(make_step_folder scan-kernels)
  "$mingw_gxx" -std=c++20 -O2 -static -Wall -Wextra -Werror -I"$source_dir" \
    -o "$folder/scan_kernels_check.exe" "$source_dir/tests/scan_kernels_check.cpp" \
    "$source_dir/vfk/structure_scan.cpp" || fail "scan_kernels_check.exe does not build"
  local files=() file shared
  shared=$(shared_data_dir)
  for file in "$source_dir"/examples/*.vfk "$source_dir"/tests/data/*.vfk ${shared:+"$shared"/*.vfk}; do
    [ -f "$file" ] && files+=("$(windows_path "$file")")
  done
  run_wine "$folder/scan_kernels_check.exe" "${files[@]}" >"$folder/out" 2>"$folder/err"
  local status=$?
  cat "$folder/out" "$folder/err"
  [ "$status" = 0 ] || fail "a scan kernel of the Windows build marks wrongly"
  rm -rf "$folder"
}

step_release_zip() {
  need_cross_build
  need_wine
  local folder version=$VORLANE_VERSION
  folder=$(make_step_folder release-zip)
  "$VORLANE_CPACK" --config "$cross_dir/CPackConfig.cmake" -B "$folder/dist" >"$folder/cpack.log" 2>&1 ||
    { cat "$folder/cpack.log" >&2; fail "cpack"; }
  local zip=$folder/dist/vorlane-$version-win64.zip
  [ -f "$zip" ] || fail "cpack made no $(basename "$zip")"
  (cd "$folder" && "$VORLANE_CMAKE" -E tar xf "$zip") || fail "the zip cannot be unpacked"
  local top=$folder/vorlane-$version-win64
  [ -d "$top" ] || fail "the zip has no folder vorlane-$version-win64"

  local files expected
  files=$(cd "$top" && find . -type f | sed 's|^\./||' | LC_ALL=C sort)
  expected=$(printf '%s\n' CHANGELOG.txt LICENSE.txt README.txt Vorlane.def Vorlane.dll Vorlane.lib \
    examples/load_vorlane.c include/Vorlane.h libVorlane.dll.a vorlane-host.exe)
  [ "$files" = "$expected" ] || fail "the zip holds:
$files
and not:
$expected"
  echo "ok: the zip holds ${files//$'\n'/ }"
  local binary
  for binary in Vorlane.dll vorlane-host.exe; do
    ! "$objdump" -h "$top/$binary" | grep -q '\.debug_' || fail "$binary carries debug information"
  done
  echo "ok: the DLL and the host are stripped"

  # What Windows shows on the Details tab of the DLL's properties.
  local resource
  resource=$("$windres" -i "$top/Vorlane.dll" -O rc) || fail "the DLL has no resources"
  local numbers=${version//./, }
  grep -q "FILEVERSION $numbers, 0\$" <<<"$resource" || fail "FILEVERSION is not $version: $resource"
  grep -q "PRODUCTVERSION $numbers, 0\$" <<<"$resource" || fail "PRODUCTVERSION is not $version"
  local value
  for value in "\"FileVersion\", \"$version\"" "\"ProductVersion\", \"$version\"" \
    '"ProductName", "Vorlane"' '"OriginalFilename", "Vorlane.dll"' '"FileDescription", "' \
    '"LegalCopyright", "Copyright (c) 2026 Vorlane maintainers. MIT License."'; do
    grep -qF "VALUE $value" <<<"$resource" || fail "the version resource lacks $value"
  done
  echo "ok: the DLL's version resource gives $version"

  # A program of a user, from the zip's header and import library alone.
  local mingw_gcc=${mingw_gxx%++}cc
  "$mingw_gcc" -std=c11 -municode -Wall -Wextra -Wpedantic -Werror -I"$top/include" \
    -o "$top/consumer.exe" "$source_dir/tests/windows/zip_consumer.c" "$top/Vorlane.lib" ||
    fail "a C program cannot be built against Vorlane.lib"
  cp "$source_dir/examples/sample.vfk" "$folder/sample.vfk"
  run_wine "$top/consumer.exe" "$(windows_path "$folder/sample.vfk")" >"$folder/consumer.out" 2>"$folder/consumer.err" ||
    fail "the C program's conversion: $(cat "$folder/consumer.err")"
  # The C library's text mode ends its lines with CR LF.
  [ "$(tr -d '\r' <"$folder/consumer.err")" = "Vorlane.h $version
true" ] || fail "the C program reported: $(cat "$folder/consumer.err")"
  mkdir "$folder/linux"
  cp "$source_dir/examples/sample.vfk" "$folder/linux/sample.vfk"
  "$VORLANE_CONVERTER" "$folder/linux/sample.vfk" >/dev/null 2>&1 || fail "the Linux converter"
  cmp "$folder/sample.svg" "$folder/linux/sample.svg" || fail "the zip's DLL draws the sample differently"
  echo "ok: a C program linked with Vorlane.lib converts the sample as the Linux converter does"

  # The zip's sample host loads the DLL by name, here through a path longer
  # than 260 characters with Windows' \\?\ prefix.
  "$mingw_gcc" -std=c11 -municode -Wall -Wextra -Wpedantic -Werror -o "$top/load_vorlane.exe" \
    "$top/examples/load_vorlane.c" || fail "examples/load_vorlane.c does not build with MinGW"
  local deep=$folder/long
  while [ ${#deep} -le 300 ]; do deep=$deep/$czech_folder-folder-of-exports; done
  mkdir -p "$deep"
  cp "$source_dir/examples/sample.vfk" "$deep/sample.vfk"
  (cd "$top" && run_wine load_vorlane.exe "\\\\?\\$(windows_path "$deep/sample.vfk")" \
    >"$folder/load.out" 2>"$folder/load.err") || fail "load_vorlane: $(cat "$folder/load.err")"
  cmp "$deep/sample.svg" "$folder/linux/sample.svg" || fail "the drawing made through load_vorlane differs"
  echo "ok: examples/load_vorlane.c builds and converts the sample through a path of ${#deep} characters"

  # Microsoft's linker reads Vorlane.lib as lld-link, its stand-in, does.
  if command -v clang >/dev/null && command -v lld-link >/dev/null; then
    clang --target=x86_64-pc-windows-msvc -ffreestanding -std=c11 -Wall -Wextra -Wpedantic -Werror \
      -I"$top/include" -c -o "$folder/msvc_consumer.obj" "$source_dir/tests/windows/msvc_consumer.c" ||
      fail "the MSVC-target program does not compile"
    lld-link /nologo /nodefaultlib /entry:mainCRTStartup /subsystem:console \
      /out:"$top/msvc_consumer.exe" "$folder/msvc_consumer.obj" "$top/Vorlane.lib" ||
      fail "lld-link cannot link against Vorlane.lib"
    rm "$folder/sample.svg"
    (cd "$folder" && run_wine "$top/msvc_consumer.exe" >"$folder/msvc.out" 2>"$folder/msvc.err") ||
      fail "the program linked by lld-link: $(cat "$folder/msvc.err")"
    cmp "$folder/sample.svg" "$folder/linux/sample.svg" || fail "the lld-link program's drawing differs"
    echo "ok: a program linked by lld-link against Vorlane.lib converts the sample"
  else
    echo "Note: clang or lld-link is missing; Vorlane.lib was not tried with a Microsoft-style linker"
  fi
  rm -rf "$folder"
}

main() {
  [ $# -ge 1 ] || fail "usage: windows_tests.sh STEP [ARG...]"
  local step=$1
  shift
  case $step in
    build) step_build ;;
    dependencies) step_dependencies ;;
    exports) step_exports ;;
    wine-prefix) step_wine_prefix ;;
    same-output) step_same_output "$@" ;;
    unopenable) step_unopenable ;;
    code-pages) step_code_pages ;;
    failed-write) step_failed_write ;;
    scan-kernels) step_scan_kernels ;;
    release-zip) step_release_zip ;;
    *) fail "unknown step $step" ;;
  esac
}

main "$@"
