#!/usr/bin/env bash
# The Debian package as a user gets it: its metadata and contents, then a C
# program built against the unpacked package with pkg-config converts the
# sample, and the packaged converter writes the same drawing.
# Usage: deb_package_test.sh VERSION SAMPLE_VFK (BUILD_DIR | PACKAGE.deb)
# With a build folder, the package is first made from it with CPack.
# Exit status 77: skipped, a Debian packaging tool is missing.
set -euo pipefail

version=$1
sample=$2
from=$3
source=$(cd "$(dirname "$0")" && pwd)
for tool in dpkg-deb dpkg-shlibdeps pkg-config cc cpack; do
  command -v "$tool" >/dev/null || { echo "Skipped: $tool is not installed (tools/install-dependencies installs it)"; exit 77; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }

if [ -d "$from" ]; then
  cpack --config "$from/CPackConfig.cmake" -G DEB -B "$work/dist" >"$work/cpack.log" ||
    { cat "$work/cpack.log"; fail "cpack"; }
  deb=$work/dist/vorlane_${version}_amd64.deb
else
  deb=$from
fi
[ -f "$deb" ] || fail "no package $deb"

info=$(dpkg-deb --info "$deb")
field() { sed -n "s/^ $1: //p" <<<"$info"; }
[ "$(field Package)" = vorlane ] || fail "Package: $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version: $(field Version)"
[ "$(field Architecture)" = amd64 ] || fail "Architecture: $(field Architecture)"
[[ "$(field Maintainer)" == *"<"*"@"*">" ]] || fail "Maintainer: $(field Maintainer)"
[[ "$(field Depends)" == *"libc6 (>= "* ]] || fail "Depends, from the binaries: $(field Depends)"
echo "ok: $(basename "$deb"): vorlane $version, Depends: $(field Depends)"

contents=$(dpkg-deb -c "$deb" | awk '{ print $6 }')
for expected in ./usr/bin/vorlane ./usr/include/Vorlane.h ./usr/share/doc/vorlane/copyright \
  ./usr/share/man/man1/vorlane.1 \
  'libVorlane.so' 'libVorlane.so.1' "libVorlane.so.${version}" pkgconfig/vorlane.pc \
  cmake/Vorlane/VorlaneConfig.cmake; do
  grep -q -- "${expected}\$" <<<"$contents" || fail "the package lacks $expected"
done
echo "ok: the package holds the converter, the library and its links, the header, vorlane.pc and the CMake package"

root=$work/root
dpkg-deb -x "$deb" "$root"
pc=$(find "$root" -name vorlane.pc)
export PKG_CONFIG_PATH
PKG_CONFIG_PATH=$(dirname "$pc")
[ "$(pkg-config --modversion vorlane)" = "$version" ] || fail "pkg-config --modversion: $(pkg-config --modversion vorlane)"
# Installed in /usr, the package needs no -I or -L.
[ "$(pkg-config --cflags --libs vorlane | xargs)" = "-lVorlane" ] || fail "pkg-config --cflags --libs: $(pkg-config --cflags --libs vorlane)"
echo "ok: pkg-config --cflags --libs vorlane gives -lVorlane"
# Unpacked elsewhere, the folders vorlane.pc names lie under the unpacked root.
includedir=$root$(pkg-config --variable=includedir vorlane)
libdir=$root$(pkg-config --variable=libdir vorlane)
# shellcheck disable=SC2046
cc -std=c11 -Wall -Wextra -Wpedantic -Werror -o "$work/convert" "$source/install_consumer/convert.c" \
  -I"$includedir" -L"$libdir" $(pkg-config --libs-only-l vorlane)
cp "$sample" "$work/plán.vfk"
[ "$(LD_LIBRARY_PATH=$libdir "$work/convert" "$work/plán.vfk")" = true ] || fail "the C program's conversion"
[ "$(tail -c 6 "$work/plán.svg")" = "</svg>" ] || fail "the drawing is not complete"
echo "ok: a C program built with pkg-config against the unpacked package converts the sample"

mv "$work/plán.svg" "$work/by_library.svg"
"$root/usr/bin/vorlane" "$work/plán.vfk" 2>/dev/null
cmp "$work/plán.svg" "$work/by_library.svg" || fail "the packaged converter writes another drawing"
[ "$("$root/usr/bin/vorlane" --version)" = "vorlane $version" ] || fail "vorlane --version"
echo "ok: the packaged converter writes the same drawing and gives its version"
for binary in "$root/usr/bin/vorlane" "$(find "$root" -name "libVorlane.so.${version}")"; do
  file -L "$binary" | grep -q ", stripped" || fail "$binary carries debug information"
done
echo "ok: the binaries are stripped"
