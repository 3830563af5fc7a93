#!/usr/bin/env bash
# Makes the Windows package: dist/Quorvane-VERSION-win64.zip (portable) and dist/Quorvane-VERSION-win64-setup.exe
# (a per-user installer). Both carry Quorvane.exe, our open detector as aucdtect.exe, flac\flac.exe and
# wv\wvunpack.exe built from Debian's sources, wav\, README.txt and the licence texts.
# Usage: scripts/package.sh [BIN_DIR [DIST_DIR]]: BIN_DIR is a 64-bit build's bin folder to take the programs
# from as they are (by default build/win64/bin, built first); DIST_DIR the output folder (by default dist/).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
source "$root/scripts/wine-env.sh"

if [ -n "${1:-}" ]; then
    bin=$(realpath "$1")
else
    build_win64_targets Quorvane aucdtect
    bin="$QV_WIN64_BUILD/bin"
fi
dist=$(realpath -m "${2:-$root/dist}")
"$root/scripts/decoders.sh" x86_64

version=$(sed -nE 's/.*kVersion = "v([0-9.]+)".*/\1/p' "$root/src/common/Version.h")
[ -n "$version" ] || { echo "package: no version in src/common/Version.h" >&2; exit 1; }
decoders="$root/build/decoders"
stage=$(mktemp -d)/Quorvane
trap 'rm -rf "$(dirname "$stage")"' EXIT
mkdir -p "$stage/wav" "$stage/flac" "$stage/wv" "$stage/licences/flac" "$stage/licences/wavpack" "$dist"

x86_64-w64-mingw32-strip -o "$stage/Quorvane.exe" "$bin/Quorvane.exe"
x86_64-w64-mingw32-strip -o "$stage/aucdtect.exe" "$bin/opendetector/aucdtect.exe"
cp "$decoders/x86_64/flac.exe" "$stage/flac/"
cp "$decoders/x86_64/wvunpack.exe" "$stage/wv/"

# Text files for Windows: CR LF line ends.
crlf() { sed 's/\r*$/\r/' "$1" >"$2"; }
flac_src=$(find "$decoders/src" -maxdepth 1 -type d -name 'flac-*' | head -1)
wavpack_src=$(find "$decoders/src" -maxdepth 1 -type d -name 'wavpack-*' | head -1)
crlf "$root/LICENSE" "$stage/LICENSE.txt"
crlf "$flac_src/COPYING.Xiph" "$stage/licences/flac/COPYING.Xiph.txt"
crlf "$flac_src/COPYING.GPL" "$stage/licences/flac/COPYING.GPL.txt"
crlf "$flac_src/debian/copyright" "$stage/licences/flac/copyright.txt"
crlf "$wavpack_src/COPYING" "$stage/licences/wavpack/COPYING.txt"
crlf "$wavpack_src/debian/copyright" "$stage/licences/wavpack/copyright.txt"
crlf /usr/share/doc/mingw-w64-x86-64-dev/copyright "$stage/licences/mingw-w64-runtime.txt"
crlf /usr/share/doc/libz-mingw-w64-dev/copyright "$stage/licences/zlib.txt" # linked into aucdtect.exe
source_name() { basename "$1" .dsc | sed 's/_/ /'; } # flac_1.4.2+ds-2.dsc -> "flac 1.4.2+ds-2"
sed -e "s/@VERSION@/$version/g" -e "s/@FLAC_SOURCE@/$(source_name "$decoders"/src/flac_*.dsc)/" \
    -e "s/@WAVPACK_SOURCE@/$(source_name "$decoders"/src/wavpack_*.dsc)/" "$root/packaging/README.txt" |
    sed 's/\r*$/\r/' >"$stage/README.txt"

zip_file="$dist/Quorvane-$version-win64.zip"
setup_file="$dist/Quorvane-$version-win64-setup.exe"
rm -f "$zip_file" "$setup_file"
(cd "$(dirname "$stage")" && zip -qr -X "$zip_file" Quorvane)
makensis -V2 -DVERSION="$version" -DSTAGE="$stage" -DSIZE_KB="$(du -sk "$stage" | cut -f1)" \
    -DOUTFILE="$setup_file" "$root/packaging/Quorvane.nsi"
ls -l "$zip_file" "$setup_file" | awk '{ print "package: " $9 " (" $5 " bytes)" }'
