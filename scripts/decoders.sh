#!/usr/bin/env bash
# Builds the Windows decoders that Quorvane ships, flac.exe and wvunpack.exe, from Debian's source packages
# of flac and wavpack, into build/decoders/ARCH/ (ARCH: x86_64, the default, or i686). A second run finds
# them there and does nothing. The unpacked sources stay in build/decoders/src/: the package takes the
# licence texts from there. Usage: scripts/decoders.sh [x86_64|i686]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
arch=${1:-x86_64}
case "$arch" in
    x86_64 | i686) ;;
    *) echo "decoders: unknown architecture $arch (x86_64 or i686)" >&2; exit 2 ;;
esac
work="$root/build/decoders"
out="$work/$arch"
[ -f "$out/stamp" ] && exit 0

# A private apt configuration with deb-src entries for the machine's own Debian archives, so that the
# machine's configuration stays as it is.
fetch_sources() {
    local apt="$work/apt" src="$work/src"
    [ -f "$src/stamp" ] && return 0
    rm -rf "$apt" "$src"
    mkdir -p "$apt/sources.list.d" "$apt/lists/partial" "$src"
    local f
    for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
        [ -f "$f" ] || continue
        sed -nE 's/^deb[[:space:]]+(.*debian.*)$/deb-src \1/p' "$f"
    done >"$apt/sources.list.d/debian-src.list"
    for f in /etc/apt/sources.list.d/*.sources; do
        [ -f "$f" ] || continue
        # deb822 stanzas of Debian's archives, as source entries.
        awk 'BEGIN { RS = ""; ORS = "\n\n" } /URIs:[^\n]*debian/ && /Types:[^\n]*deb/ {
                 sub(/Types:[^\n]*/, "Types: deb-src"); print }' "$f"
    done >"$apt/sources.list.d/debian-src.sources"
    local options=(-o Dir::Etc::SourceList=/dev/null -o Dir::Etc::SourceParts="$apt/sources.list.d"
        -o Dir::State::Lists="$apt/lists" -o Dir::Cache::pkgcache= -o Dir::Cache::srcpkgcache=
        -o APT::Sandbox::User=root -o DPkg::Lock::Timeout=600)
    echo "decoders: fetching Debian's flac and wavpack sources"
    apt-get "${options[@]}" -qq update
    (cd "$src" && apt-get "${options[@]}" -qq source --download-only flac wavpack)
    # Unpacked with Debian's patches applied. apt has checked the files against the archive's signed index,
    # so the unsigned .dsc needs no keyring.
    local dsc
    for dsc in "$src"/flac_*.dsc "$src"/wavpack_*.dsc; do
        (cd "$src" && dpkg-source --no-check -x "$(basename "$dsc")" >/dev/null)
    done
    touch "$src/stamp"
}

# build_one NAME SOURCE_DIR TARGET EXE CMAKE_ARGS...: one program's CMake cross-build, only its target.
build_one() {
    local name=$1 source=$2 target=$3 exe=$4
    shift 4
    local dir="$work/build-$arch/$name"
    [ -f "$out/$exe" ] && return 0
    rm -rf "$dir"
    mkdir -p "$dir"
    echo "decoders: building $exe for $arch"
    if ! cmake -S "$source" -B "$dir" -G Ninja -DCMAKE_SYSTEM_NAME=Windows -DCMAKE_SYSTEM_PROCESSOR="$arch" \
        -DCMAKE_C_COMPILER="$arch-w64-mingw32-gcc" -DCMAKE_CXX_COMPILER="$arch-w64-mingw32-g++" \
        -DCMAKE_RC_COMPILER="$arch-w64-mingw32-windres" -DCMAKE_FIND_ROOT_PATH="/usr/$arch-w64-mingw32" \
        -DCMAKE_FIND_ROOT_PATH_MODE_PROGRAM=NEVER -DCMAKE_FIND_ROOT_PATH_MODE_LIBRARY=ONLY \
        -DCMAKE_FIND_ROOT_PATH_MODE_INCLUDE=ONLY -DCMAKE_FIND_ROOT_PATH_MODE_PACKAGE=ONLY \
        -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF "$@" >"$dir.configure.log" 2>&1; then
        tail -20 "$dir.configure.log" >&2
        return 1
    fi
    if ! nice -n 10 cmake --build "$dir" -j2 --target "$target" >"$dir.build.log" 2>&1; then
        tail -20 "$dir.build.log" >&2
        return 1
    fi
    local built
    built=$(find "$dir" -name "$exe" -type f | head -1)
    [ -n "$built" ] || { echo "decoders: no $exe in $dir" >&2; return 1; }
    "$arch-w64-mingw32-strip" -o "$out/$exe" "$built"
}

fetch_sources
mkdir -p "$out"
flac_src=$(find "$work/src" -maxdepth 1 -type d -name 'flac-*' | head -1)
wavpack_src=$(find "$work/src" -maxdepth 1 -type d -name 'wavpack-*' | head -1)
# Static, so that the programs need only system DLLs.
build_one flac "$flac_src" flacapp flac.exe -DWITH_OGG=OFF -DBUILD_CXXLIBS=OFF -DBUILD_EXAMPLES=OFF \
    -DBUILD_DOCS=OFF -DINSTALL_MANPAGES=OFF -DBUILD_SHARED_LIBS=OFF -DCMAKE_EXE_LINKER_FLAGS=-static
# wavpack's compiler check fails with -static in the configure step. Its x64 assembly does not link with MinGW.
build_one wavpack "$wavpack_src" wvunpack wvunpack.exe -DBUILD_SHARED_LIBS=OFF -DBUILD_TESTING=OFF \
    -DWAVPACK_BUILD_DOCS=OFF -DWAVPACK_INSTALL_DOCS=OFF -DWAVPACK_BUILD_COOLEDIT_PLUGIN=OFF \
    -DWAVPACK_BUILD_WINAMP_PLUGIN=OFF -DWAVPACK_ENABLE_LIBCRYPTO=OFF \
    -DWAVPACK_ENABLE_ASM=OFF
touch "$out/stamp"
echo "decoders: $out/flac.exe, $out/wvunpack.exe"
