#!/usr/bin/env bash
# Pinned drawings: every drawing the converter makes of the sample, the test
# fixtures, a few generated files and the real exports is compared, byte for
# byte, with the SHA-256 digests kept in tests/pinned_drawings.txt, together
# with what the converter printed on standard output. Each file is converted
# alone, in a fresh process.
#
#   pinned_drawings.sh VORLANE GENERATE_VFK [--update]
#
# A drawing that changed fails the test until its digests are renewed in the
# same commit (--update rewrites the file), with a line in CHANGELOG.md that
# says why. The real exports come from the folder VORLANE_REAL_DATA names;
# one that has no pin is converted and checked to be well-formed, and named.
set -uo pipefail

vorlane=$1
generate=$2
update=${3:-}
here=$(cd "$(dirname "$0")" && pwd)
source_dir=$(dirname "$here")
pins=$here/pinned_drawings.txt
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The inputs: "source:name", each with the option sets it is drawn with
# (options separated by commas; "-" for none).
inputs=("repo:examples/sample.vfk")
for file in "$source_dir"/tests/data/*.vfk "$source_dir"/fuzz/regressions/*.vfk; do
  inputs+=("repo:${file#"$source_dir"/}")
done
inputs+=("generated:--seed,1,--parcels,400" "generated:--seed,2,--size-mb,1"
         "generated:--seed,3,--dense,300" "generated:--seed,4,--parcels,300,--cut,0.05"
         "generated:--seed,5,--parcels,600,--whole-map")
if [ -n "${VORLANE_REAL_DATA:-}" ] && [ -d "$VORLANE_REAL_DATA" ]; then
  while IFS= read -r file; do
    inputs+=("real:$(basename "$file")")
  done < <(find "$VORLANE_REAL_DATA" -maxdepth 1 -type f -iname '*.vfk' | LC_ALL=C sort)
else
  echo "Note: VORLANE_REAL_DATA names no folder; the real exports were not compared"
fi
option_sets() {
  printf '%s\n' - --exact --format=dxf --exact,--format=dxf
  [ "$1" != repo:examples/sample.vfk ] || echo --units=-7,--centre-origin
}

sha() { sha256sum "$1" | cut -d' ' -f1; }

# Copies or makes the input into "$work/in/", printing its path there.
materialize() {
  local input=$1 kind=${1%%:*} name=${1#*:}
  mkdir -p "$work/in"
  case $kind in
    repo) cp "$source_dir/$name" "$work/in/$(basename "$name")" && echo "$work/in/$(basename "$name")" ;;
    real) cp "$VORLANE_REAL_DATA/$name" "$work/in/$name" && echo "$work/in/$name" ;;
    generated)
      local args
      IFS=, read -r -a args <<<"$name"
      "$generate" "${args[@]}" "$work/in/generated.vfk" 2>/dev/null && echo "$work/in/generated.vfk" ;;
  esac
}

# Converts "$1" with the options "$2"; prints "input drawing stdout" digests.
digests() {
  local file=$1 options=() drawing
  [ "$2" = - ] || IFS=, read -r -a options <<<"$2"
  rm -f "$work/in/"*.svg "$work/in/"*.dxf
  "$vorlane" --quiet "${options[@]}" "$file" >"$work/stdout" 2>"$work/stderr"
  drawing=$(find "$work/in" -name '*.svg' -o -name '*.dxf' | head -n 1)
  if [ -z "$drawing" ]; then
    echo "no drawing of $file: $(cat "$work/stderr")" >&2
    return 1
  fi
  if [[ $drawing == *.svg ]] && command -v xmllint >/dev/null && ! xmllint --noout "$drawing"; then
    echo "the drawing of $file is not well-formed XML" >&2
    return 1
  fi
  echo "$(sha "$file") $(sha "$drawing") $(sha "$work/stdout")"
}

declare -A pinned
while read -r input_sha drawing_sha stdout_sha options name; do
  [[ $input_sha == \#* || -z $input_sha ]] && continue
  pinned["$options $name"]="$input_sha $drawing_sha $stdout_sha"
done <"$pins"

failures=0 compared=0
declare -A seen
computed=()
for input in "${inputs[@]}"; do
  file=$(materialize "$input") || { echo "FAILED: cannot make $input"; failures=$((failures + 1)); continue; }
  while read -r options; do
    key="$options $input"
    seen[$key]=1
    actual=$(digests "$file" "$options") || { echo "FAILED: $key"; failures=$((failures + 1)); continue; }
    computed+=("$actual $key")
    expected=${pinned[$key]:-}
    if [ -z "$expected" ]; then
      if [[ $input == real:* ]]; then
        echo "Not pinned (converted, well-formed): $key"
      else
        echo "FAILED: $key has no pin"
        failures=$((failures + 1))
      fi
    elif [ "$expected" != "$actual" ]; then
      read -r e_in e_drawing e_out <<<"$expected"
      read -r a_in a_drawing a_out <<<"$actual"
      what=()
      [ "$e_in" = "$a_in" ] || what+=("the input")
      [ "$e_drawing" = "$a_drawing" ] || what+=("the drawing")
      [ "$e_out" = "$a_out" ] || what+=("standard output")
      echo "FAILED: $key: $(IFS=,; echo "${what[*]}" | sed 's/,/, /g') changed"
      failures=$((failures + 1))
    else
      compared=$((compared + 1))
    fi
  done < <(option_sets "$input")
done
not_compared=0
for key in "${!pinned[@]}"; do
  [ -n "${seen[$key]:-}" ] && continue
  case $key in
    *" real:"*) echo "Not compared (not in VORLANE_REAL_DATA): $key"; not_compared=$((not_compared + 1)) ;;
    *) echo "FAILED: $key is pinned but no longer drawn"; failures=$((failures + 1)) ;;
  esac
done

if [ "$update" = --update ]; then
  {
    sed -n '/^#/p' "$pins"
    printf '%s\n' "${computed[@]}"
    # Pins of real exports that are not here to be drawn stay.
    for key in "${!pinned[@]}"; do
      [[ -z ${seen[$key]:-} && $key == *" real:"* ]] && echo "${pinned[$key]} $key"
    done
  } >"$work/pins"
  cp "$work/pins" "$pins"
  echo "Renewed $pins: ${#computed[@]} drawings. Say why in CHANGELOG.md."
  exit 0
fi

echo "Identical to their pins: $compared drawings"
if [ "$not_compared" -gt 0 ]; then
  echo "The real exports were not compared: $not_compared of their pinned drawings were not drawn" \
       "(VORLANE_REAL_DATA names the folder of the exports; CI sets it)"
fi
if [ "$failures" -ne 0 ]; then
  echo "$failures drawing(s) differ from their pins. If the change is meant, renew the pins"
  echo "(tests/pinned_drawings.sh VORLANE GENERATE_VFK --update) and say why in CHANGELOG.md."
  exit 1
fi
