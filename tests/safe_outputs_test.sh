#!/usr/bin/env bash
# Nothing of the user's is lost: every output of the converter (drawings,
# --into, -o, the report) is whole or not there at all, whatever ends the
# run, and no output ever replaces an input, another output or a VFK file.
#
#   safe_outputs_test.sh STEP VORLANE GENERATE_VFK SAMPLE_VFK
#
# Steps, each one CTest test:
#   kills    the converter killed at random moments (SIGKILL, SIGINT, SIGTERM):
#            each output holds the previous bytes or the new ones, and only a
#            killed process leaves a temporary file, named as such
#   limits   a file-size limit, with SIGXFSZ ignored and not: exit status 1,
#            the reason, the old file kept
#   full-disk  the same on a full disk: a 5 MB tmpfs, in a mount namespace of
#            the test's own (skipped where the system allows none)
#   clashes  every way an output could replace an input, another output or a
#            VFK file is refused before anything is written; links; messages
#
# Exit status 77 means skipped, with the reason on a "Skipped:" line.
set -uo pipefail

step=$1
vorlane=$(realpath "$2")
generate=$(realpath "$3")
sample=$(realpath "$4")
# The name the system gives a running converter (at most 15 bytes).
vorlane_command=$(basename "$vorlane" | cut -c1-15)
work=$(mktemp -d)
trap 'chmod -R u+w "$work" 2>/dev/null; rm -rf "$work"' EXIT
failures=0

check() {  # check DESCRIPTION COMMAND...
  if "${@:2}"; then echo "ok: $1"; else echo "FAILED: $1"; failures=$((failures + 1)); fi
}
finish() {
  if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
  fi
  echo "all checks passed"
  exit 0
}
# The files of a folder other than those named, one per line.
others() {
  local folder=$1
  shift
  local name skip
  for name in $(ls -A "$folder"); do
    skip=0
    for kept in "$@"; do [ "$name" = "$kept" ] && skip=1; done
    [ "$skip" = 1 ] || echo "$name"
  done
}

# A generated export whose drawing takes long enough to be killed in the
# middle of it.
big=$work/in/big.vfk
mkdir -p "$work/in"
"$generate" --seed 7 --size-mb 40 "$big" 2>/dev/null || { echo "FAILED: generate_vfk"; exit 1; }
cp "$sample" "$work/in/small.vfk"

step_kills() {
  local modes=(svg dxf into outdir report)
  unfinished_seen=0
  local mode
  for mode in "${modes[@]}"; do
    local folder=$work/$mode args=() targets=()
    mkdir -p "$folder/out"
    cp "$big" "$folder/big.vfk"
    cp "$work/in/small.vfk" "$folder/small.vfk"
    case $mode in
      svg) args=("$folder/big.vfk"); targets=("$folder/big.svg") ;;
      dxf) args=(--format dxf "$folder/big.vfk"); targets=("$folder/big.dxf") ;;
      into) args=(--into "$folder/both.svg" "$folder/big.vfk" "$folder/small.vfk"); targets=("$folder/both.svg") ;;
      outdir) args=(-o "$folder/out" "$folder/big.vfk"); targets=("$folder/out/big.svg") ;;
      report) args=(--report "$folder/report.json" "$folder/big.vfk"); targets=("$folder/big.svg" "$folder/report.json") ;;
    esac
    # The new outputs, made by runs that are not disturbed; the faster of two
    # gives the time the kills are spread over (tests running at the same
    # time may slow either one down).
    local start end target duration_us= elapsed_us
    for _ in 1 2; do
      start=$(date +%s%N)
      "$vorlane" --quiet "${args[@]}" >/dev/null 2>&1
      end=$(date +%s%N)
      elapsed_us=$(((end - start) / 1000))
      if [ -z "$duration_us" ] || [ "$elapsed_us" -lt "$duration_us" ]; then duration_us=$elapsed_us; fi
    done
    for target in "${targets[@]}"; do cp "$target" "$target.new"; done
    local kept=(big.vfk small.vfk out)
    for target in "${targets[@]}"; do kept+=("$(basename "$target")" "$(basename "$target").new"); done

    local signal attempt runs=0 old_seen=0 new_seen=0 bad=0
    for signal in KILL INT TERM; do
      for attempt in 1 2 3 4 5 6 7 8; do
        for target in "${targets[@]}"; do printf 'the previous %s\n' "$mode" >"$target"; done
        # A shell without job control starts background commands with SIGINT
        # ignored, which the converter would honour: the default comes back.
        env --default-signal=INT "$vorlane" --quiet "${args[@]}" >/dev/null 2>&1 &
        local pid=$! command state
        # The kill is for the converter, never for the shell forked to start
        # it (which would run this script's exit trap): it waits until the
        # converter runs, or the process has ended (gone, or a zombie).
        while read -r _ command state _ 2>/dev/null <"/proc/$pid/stat" &&
              [ "$command" != "($vorlane_command)" ] && [ "$state" != Z ]; do :; done
        # Spread over 2.5 times an undisturbed run: other tests running at
        # the same time may make this one twice as slow. The first kill of
        # each signal comes at once, so that some land before the outputs
        # are in place however the machine's load changes.
        if [ "$attempt" -gt 1 ]; then
          sleep "$(awk -v us="$duration_us" -v r="$RANDOM" 'BEGIN { printf "%.6f", us * 2.5 * r / 32768 / 1e6 }')"
        fi
        kill -s "$signal" "$pid" 2>/dev/null
        { wait "$pid"; } 2>/dev/null
        local status=$?
        runs=$((runs + 1))
        local which=new
        for target in "${targets[@]}"; do
          if cmp -s "$target" "$target.new"; then
            new_seen=$((new_seen + 1))
          elif [ "$(cat "$target")" = "the previous $mode" ]; then
            old_seen=$((old_seen + 1)); which=old
          else
            echo "FAILED: $mode, SIG$signal: $target holds neither the previous nor the new bytes"
            bad=$((bad + 1))
          fi
        done
        local stray
        stray=$(others "$folder" "${kept[@]}"; others "$folder/out" "$(basename "${targets[0]}")" "$(basename "${targets[0]}").new")
        if [ -n "$stray" ]; then
          if [ "$signal" != KILL ] || grep -qv '\.vorlane-unfinished-[0-9]*-[0-9]*$' <<<"$stray"; then
            echo "FAILED: $mode, SIG$signal: stray files: $stray"
            bad=$((bad + 1))
          fi
          unfinished_seen=$((unfinished_seen + 1))
          (cd "$folder" && rm -f ./*.vorlane-unfinished-* out/*.vorlane-unfinished-*)
        fi
        if [ "$signal" != KILL ] && [ "$which" = old ] && [ "$status" -ne $((128 + $(kill -l "$signal"))) ]; then
          echo "FAILED: $mode, SIG$signal: exit status $status, not that of the signal"
          bad=$((bad + 1))
        fi
      done
    done
    check "$mode: $runs runs killed, each output old or new ($old_seen old, $new_seen new), no stray file" test "$bad" -eq 0
    check "$mode: kills landed before and after the outputs were in place" test "$old_seen" -gt 0 -a "$new_seen" -gt 0
  done
  # Killed while writing for certain: as soon as its temporary file is there.
  local folder=$work/svg
  printf 'the previous svg\n' >"$folder/big.svg"
  "$vorlane" --quiet "$folder/big.vfk" >/dev/null 2>&1 &
  local pid=$! waited
  for waited in $(seq 1 20000); do
    if compgen -G "$folder/big.svg.vorlane-unfinished-*" >/dev/null; then
      kill -KILL "$pid" 2>/dev/null
      break
    fi
    sleep 0.001
  done
  { wait "$pid"; } 2>/dev/null
  if compgen -G "$folder/big.svg.vorlane-unfinished-*" >/dev/null &&
     [ "$(cat "$folder/big.svg")" = "the previous svg" ]; then
    unfinished_seen=$((unfinished_seen + 1))
  fi
  rm -f "$folder"/*.vorlane-unfinished-*
  check "SIGKILL landed while writing $unfinished_seen times, leaving only a named temporary file" \
    test "$unfinished_seen" -gt 0
}

step_limits() {
  local folder=$work/limits
  mkdir -p "$folder"
  cp "$big" "$folder/big.vfk"
  local ignored
  for ignored in no yes; do
    echo "the previous drawing" >"$folder/big.svg"
    (
      [ "$ignored" = no ] || trap '' XFSZ
      ulimit -f 200
      exec "$vorlane" --quiet "$folder/big.vfk"
    ) >"$folder/out" 2>"$folder/err"
    local status=$?
    check "a file-size limit (SIGXFSZ ignored: $ignored) fails the run with exit status 1" test "$status" -eq 1
    check "and says why" grep -qx "vorlane: $folder/big.svg: the drawing could not be written: File too large" "$folder/err"
    check "and the previous drawing stays" grep -qx "the previous drawing" "$folder/big.svg"
    check "and nothing else is left" test -z "$(others "$folder" big.vfk big.svg out err)"
  done
}

step_full_disk() {
  if ! unshare --map-root-user --mount true 2>/dev/null; then
    echo "Skipped: this system lets no test mount a file system of its own (unshare --map-root-user --mount)"
    exit 77
  fi
  local folder=$work/limits
  mkdir -p "$folder/full"
  cp "$big" "$folder/big.vfk"
  unshare --map-root-user --mount bash -c '
    mount -t tmpfs -o size=5m none "$1" || exit 3
    echo "the previous drawing" >"$1/big.svg"
    "$2" --quiet -o "$1" "$3" >/dev/null 2>"$1.err"
    echo $? >"$1.status"
    cat "$1/big.svg" >"$1.kept"
    ls -A "$1" >"$1.names"
  ' bash "$folder/full" "$vorlane" "$folder/big.vfk"
  check "a full disk fails the run with exit status 1" test "$(cat "$folder/full.status")" = 1
  check "and says why" grep -qx "vorlane: $folder/full/big.svg: the drawing could not be written: No space left on device" "$folder/full.err"
  check "and the previous drawing stays" grep -qx "the previous drawing" "$folder/full.kept"
  check "and nothing else is left" test "$(cat "$folder/full.names")" = big.svg
}

step_clashes() {
  local folder=$work/clashes
  mkdir -p "$folder"
  cd "$folder" || exit 1
  cp "$sample" plan.vfk
  cp "$sample" new.vfk
  cp "$sample" old.vfk
  run() {  # run EXPECTED_STATUS ARGS...
    local expected=$1
    shift
    "$vorlane" --quiet "$@" >out 2>err
    local status=$?
    [ "$status" -eq "$expected" ] || { echo "  vorlane $* exited $status, not $expected"; sed 's/^/  stderr: /' err; return 1; }
  }
  unchanged() { cmp -s "$1" "$sample"; }
  nothing_new() { test -z "$(others . "$@" out err)"; }

  check "--report over the input is refused" run 2 --report plan.vfk plan.vfk
  check "saying so" grep -qx "vorlane: the report (plan.vfk) would replace the input plan.vfk; nothing was converted" err
  check "and the input is kept" unchanged plan.vfk
  check "--report over the drawing is refused" run 2 --report plan.svg plan.vfk
  check "saying so" grep -qx "vorlane: the drawing of plan.vfk (plan.svg) and the report (plan.svg) would be one file; nothing was converted" err
  check "--report over --into is refused" run 2 --report x.svg --into x.svg plan.vfk
  check "--into over another VFK file is refused" run 2 --into old.vfk new.vfk
  check "saying so" grep -qx "vorlane: the drawing of new.vfk (old.vfk) would replace old.vfk, which is a VFK file; nothing was converted" err
  check "and it is kept" unchanged old.vfk
  cp "$sample" "drawing.svg"
  check "a drawing over a VFK file of another name is refused" run 2 --into drawing.svg new.vfk
  check "nothing was written by any of them" nothing_new plan.vfk new.vfk old.vfk drawing.svg

  # The same folder under two names, and a hard link.
  mkdir L
  ln -s L M
  cp "$sample" L/a.vfk
  cp "$sample" L/a.VFK
  check "two inputs drawn into one file through a folder link are refused" run 2 L/a.vfk M/a.VFK
  check "saying so" grep -qx "vorlane: the drawing of L/a.vfk (L/a.svg) and the drawing of M/a.VFK (M/a.svg) would be one file; nothing was converted" err
  check "and nothing is written" test ! -e L/a.svg
  ln plan.vfk linked.svg
  check "an input whose drawing is a hard link to it is refused" run 2 --into linked.svg new.vfk plan.vfk
  check "and it is kept" unchanged plan.vfk
  rm linked.svg

  # A drawing's other names keep the earlier drawing; a link at the path is
  # replaced, and what it names is kept.
  echo "the earlier drawing" >plan.svg
  ln plan.svg backup.svg
  check "a drawing replaces its file" run 0 plan.vfk
  check "whose other name keeps the earlier drawing" grep -qx "the earlier drawing" backup.svg
  check "and the drawing is new" grep -q "</svg>" plan.svg
  mkdir -p ../elsewhere
  echo "someone else's" >../elsewhere/new.svg
  ln -s ../elsewhere/new.svg new.svg
  check "a symbolic link at the drawing's path" run 0 new.vfk
  check "is replaced by the drawing" test -f new.svg -a ! -L new.svg
  check "and the file it named outside the folder is kept" grep -qx "someone else's" ../elsewhere/new.svg

  # Nothing to draw leaves an existing drawing as it is; with none there, an
  # empty drawing is written.
  printf '&HVERZE;"6.0"\r\n&K\r\n' >empty.vfk
  echo "the earlier drawing" >empty.svg
  check "a file with nothing to draw" run 1 empty.vfk
  check "leaves the drawing there as it was" grep -qx "the earlier drawing" empty.svg
  check "and says so" grep -qx "vorlane: warning: empty.vfk: nothing to draw (no parcel, building, line, text or symbol); empty.svg was left as it was" err
  rm empty.svg
  check "without a drawing there" run 1 empty.vfk
  check "an empty one is written" grep -q "</svg>" empty.svg

  # Inputs that cannot be read, and outputs that cannot be written, are said
  # on standard error, the outputs before anything is converted.
  mkdir folder.vfk
  check "a missing file and a folder" run 1 missing.vfk folder.vfk
  check "are said with their reasons" grep -qx "vorlane: missing.vfk: cannot be read: No such file or directory" err
  check "a folder too" grep -qx "vorlane: folder.vfk: cannot be read: Is a directory" err
  rm -f plan.svg
  check "a report that cannot be written" run 1 --report nowhere/report.json plan.vfk
  check "is found before anything is converted" grep -qx "vorlane: nowhere/report.json: the report cannot be written: No such file or directory; nothing was converted" err
  check "so no drawing is written" test ! -e plan.svg
  check "-j1 is -j 1" run 0 -j1 plan.vfk
  check "-oDIR is -o DIR" run 0 -oL plan.vfk
  check "into the folder" test -s L/plan.svg

  # A file cut short, and one that a 0x1A ends early.
  head -c 20000 "$sample" >cut.vfk
  check "a file without its end record" run 1 cut.vfk
  check "is said to be cut short" grep -qE "^vorlane: warning: cut.vfk: ends without its &K record after [0-9]+ lines, so it may have been cut short$" err
  check "in its summary too" grep -qE "^vorlane: wrote cut.svg: .*1 file cut short" err
  check "and in the report" run 1 --report cut.json cut.vfk
  check "its input was not read to an end record" grep -q '"endRecord": false' cut.json
  { head -c 20000 "$sample"; printf '\x1a'; tail -c +20001 "$sample"; } >marked.vfk
  check "a 0x1A before the end" run 1 marked.vfk
  check "is said, with what was not read" grep -qE "^vorlane: warning: marked.vfk: a byte 0x1A on line [0-9]+ \(at byte 20000\) ends the input there; the $(($(stat -c %s "$sample") - 20000)) bytes after it were not read \(--exact reads them\)$" err
  check "the exact drawing reads past it" run 0 --exact marked.vfk
}

case $step in
  kills) step_kills ;;
  limits) step_limits ;;
  full-disk) step_full_disk ;;
  clashes) step_clashes ;;
  *) echo "unknown step $step" >&2; exit 2 ;;
esac
finish
