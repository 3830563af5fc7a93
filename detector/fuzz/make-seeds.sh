#!/bin/bash
# Writes the fuzzer's seed files: small WAV headers, sound and hostile, made byte by byte.
# Usage: make-seeds.sh [DIR]   (default: the seeds folder beside this script)
set -euo pipefail
dir=${1:-$(cd "$(dirname "$0")" && pwd)/seeds}
mkdir -p "$dir"

le16() { printf "\\x$(printf %02x $(($1 & 255)))\\x$(printf %02x $((($1 >> 8) & 255)))"; }
le32() { le16 $(($1 & 65535)); le16 $((($1 >> 16) & 65535)); }
# fmt body: tag channels rate bits
fmt() { le16 "$1"; le16 "$2"; le32 "$3"; le32 $(($3 * $2 * ($4 / 8))); le16 $(($2 * ($4 / 8))); le16 "$4"; }
chunk() { printf '%s' "$1"; le32 "$2"; }
samples() { head -c "$1" /dev/zero | tr '\0' '\1'; }
riff() { printf 'RIFF'; le32 "$1"; printf 'WAVE'; }

{ riff 44; chunk 'fmt ' 16; fmt 1 2 44100 16; chunk data 8; samples 8; } >"$dir/pcm16-stereo.wav"
{ riff 60; chunk 'fmt ' 40; le16 65534; le16 6; le32 48000; le32 864000; le16 18; le16 24; le16 22; le16 20; le32 63
  le32 1; printf '\x00\x00\x10\x00\x80\x00\x00\xaa\x00\x38\x9b\x71'; chunk data 18; samples 18
} >"$dir/extensible-6ch.wav"
{ riff 44; chunk 'fmt ' 16; fmt 3 1 96000 32; chunk data 8; printf '\x00\x00\xc0\x7f\x00\x00\x80\x7f'
} >"$dir/float-nan-inf.wav"
{ riff 50; chunk LIST 3; printf 'abc\0'; chunk data 4; samples 4; chunk 'fmt ' 16; fmt 1 1 44100 16
} >"$dir/data-before-fmt-odd-chunk.wav"
{ riff 20; chunk 'fmt ' 16; le16 1; le16 2; } >"$dir/fmt-cut-off.wav"
{ riff 4294967295; chunk 'fmt ' 16; fmt 1 2 44100 16; chunk data 4294967295; samples 16; } >"$dir/sizes-unknown.wav"
{ riff 36; chunk 'fmt ' 4294967290; fmt 1 2 44100 16; } >"$dir/fmt-size-huge.wav"
{ riff 44; chunk 'fmt ' 16; fmt 1 0 44100 16; chunk data 8; samples 8; } >"$dir/no-channels.wav"
{ riff 44; chunk 'fmt ' 16; fmt 1 2 44100 8; chunk data 8; samples 8; } >"$dir/pcm8.wav"
{ printf 'RIFX'; le32 36; printf 'WAVE'; chunk 'fmt ' 16; fmt 1 2 44100 16; } >"$dir/rifx.wav"
{ riff 28; chunk junk 1; printf 'x\0'; chunk data 0; } >"$dir/no-fmt.wav"
ls "$dir" | wc -l
