#!/usr/bin/env bash
# Installs what building, running and testing Quorvane needs on Debian 12. Safe to run again.
set -euo pipefail

packages=(cmake ninja-build g++ mingw-w64 wine wine64 xvfb x11-utils imagemagick googletest
          zlib1g-dev libz-mingw-w64-dev # the open detector's pictures
          clang clang-format libclang-rt-14-dev flac sox lame vorbis-tools ffmpeg wavpack bc python3
          fluidsynth timgm6mb-soundfont opus-tools # the open detector's smoke corpus
          dpkg-dev xz-utils bzip2 nsis zip) # the decoders from Debian's sources, the Windows package
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "setup: installing ${missing[*]}"
    SUDO=""
    [ "$(id -u)" -eq 0 ] || SUDO="sudo"
    $SUDO apt-get -o DPkg::Lock::Timeout=600 update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get -o DPkg::Lock::Timeout=600 install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
