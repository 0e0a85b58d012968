#!/usr/bin/env bash
# The shared library exports Vorlane_ParseVfk and nothing else.
# Usage: exports_test.sh LIBRARY
set -euo pipefail
exports=$(nm -D --defined-only "$1" | awk '{print $3}')
echo "defined dynamic symbols: $exports"
[ "$exports" = "Vorlane_ParseVfk" ]
