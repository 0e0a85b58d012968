#!/usr/bin/env bash
# DXF drawings read back by real readers (dxf_readers_check.py): the sample,
# the fixtures and the real exports of VORLANE_REAL_DATA, standard and exact.
# Usage: dxf_readers_test.sh VORLANE SOURCE_DIR
# Exit status 77: skipped, a reader is missing.
set -uo pipefail
vorlane=$1
source_dir=$2
python=/usr/bin/python3
"$python" -c 'import ezdxf' 2>/dev/null || { echo "Skipped: python3-ezdxf is not installed (tools/install-dependencies installs it)"; exit 77; }
command -v ogr2ogr >/dev/null || { echo "Skipped: ogr2ogr is not installed (tools/install-dependencies installs gdal-bin)"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
files=("$source_dir"/examples/*.vfk "$source_dir"/tests/data/*.vfk)
if [ -n "${VORLANE_REAL_DATA:-}" ] && [ -d "$VORLANE_REAL_DATA" ]; then
  files+=("$VORLANE_REAL_DATA"/*.vfk)
else
  echo "Note: VORLANE_REAL_DATA names no folder; only the repository's files were read back"
fi
failures=0
for file in "${files[@]}"; do
  cp "$file" "$work/input.vfk"
  for drawing in --standard --exact; do
    options=()
    [ "$drawing" = --standard ] || options=(--exact)
    "$vorlane" --quiet "${options[@]}" "$work/input.vfk" >/dev/null 2>&1
    "$vorlane" --quiet "${options[@]}" --format dxf "$work/input.vfk" >/dev/null 2>&1
    if ! report=$("$python" "$source_dir/tests/dxf_readers_check.py" "$work/input.svg" "$work/input.dxf" 2>&1); then
      echo "FAILED: $(basename "$file") $drawing:"
      echo "$report"
      failures=$((failures + 1))
    else
      echo "ok: $(basename "$file") $drawing: ${report##*: }"
    fi
  done
done
exit $((failures > 0))
