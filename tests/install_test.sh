#!/usr/bin/env bash
# cmake --install into a fresh prefix, then a plain C project that finds the
# package with find_package(Vorlane) converts a file through it; the
# installed converter runs too.
# Usage: install_test.sh CMAKE BUILD_DIR SAMPLE_VFK [C_FLAGS]
set -euo pipefail

cmake=$1
build=$2
sample=$3
c_flags=${4:-}
source=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$cmake" --install "$build" --prefix "$work/prefix" >"$work/install.log"
for installed in include/Vorlane.h bin/vorlane; do
  test -f "$work/prefix/$installed" || { echo "FAILED: $installed was not installed"; exit 1; }
done
ls "$work"/prefix/lib*/libVorlane.so* >/dev/null
ls "$work"/prefix/lib*/cmake/Vorlane/VorlaneConfig.cmake >/dev/null
if command -v pkg-config >/dev/null; then
  # vorlane.pc names the prefix it was installed into.
  flags=$(PKG_CONFIG_PATH=$(dirname "$(find "$work/prefix" -name vorlane.pc)") pkg-config --cflags --libs vorlane)
  [ "$(xargs <<<"$flags")" = "-I$work/prefix/include -L$(dirname "$(find "$work/prefix" -name 'libVorlane.so')") -lVorlane" ] ||
    { echo "FAILED: pkg-config --cflags --libs vorlane gives $flags"; exit 1; }
  echo "ok: pkg-config finds the package in its prefix"
fi

"$cmake" -S "$source/install_consumer" -B "$work/consumer" \
  -DCMAKE_PREFIX_PATH="$work/prefix" -DCMAKE_C_FLAGS="$c_flags" >"$work/configure.log"
"$cmake" --build "$work/consumer" >"$work/build.log"

mkdir "$work/Hřebečná"
cp "$sample" "$work/Hřebečná/plán.vfk"
test "$("$work/consumer/convert" "$work/Hřebečná/plán.vfk")" = "true"
test "$(tail -c 6 "$work/Hřebečná/plán.svg")" = "</svg>"
echo "ok: the C program converted a file through the installed package"

test "$("$work/consumer/convert" "$work/missing.vfk")" = "VfkParser: Unable to open file$work/missing.vfk
false" || { echo "FAILED: a missing file"; exit 1; }
echo "ok: a missing file gives false"

# The installed converter, moved away from the build tree, finds the
# installed library and writes the same drawing.
cp "$work/Hřebečná/plán.svg" "$work/by_library.svg"
"$work/prefix/bin/vorlane" "$work/Hřebečná/plán.vfk" 2>/dev/null
cmp "$work/Hřebečná/plán.svg" "$work/by_library.svg"
echo "ok: the installed converter writes the same drawing"
