#!/bin/bash
# Builds the labelled corpus of the open detector from Debian's sox, lame, vorbis-tools and ffmpeg.
# Usage: make-corpus.sh OUTDIR [ORIGINALS] [SECONDS]
# Writes OUTDIR/labels.tsv (half, label, group, path) and the WAV files beside it. Everything is derived from
# the corpus version and seeds below, so a rebuild gives the same files (sox runs in repeatable mode).
# Originals with an even number are the calibration half; odd ones are held out and never seen by calibration.
set -euo pipefail

CORPUS_VERSION=5
BASE_SEED=20240611
OUT=${1:?usage: make-corpus.sh OUTDIR [ORIGINALS] [SECONDS]}
ORIGINALS=${2:-48}
SECONDS_PER_CLIP=${3:-10}
JOBS=2

for tool in sox lame oggenc oggdec ffmpeg awk; do
    command -v "$tool" >/dev/null || { echo "error: $tool is missing" >&2; exit 1; }
done
mkdir -p "$OUT"
OUT=$(cd "$OUT" && pwd)

source "$(dirname "${BASH_SOURCE[0]}")/random.sh"
note_hz() { awk -v n="$1" 'BEGIN { printf "%.3f", 440 * 2 ^ ((n - 69) / 12) }'; }

# Stereo placement of a mono note: a random pan and level.
pan() { rand 0.1 0.9; PAN="remix 1v$(awk -v p="$REPLY" 'BEGIN{print 1-p}') 1v$REPLY"; }

# One voice: a list of timed notes of one kind, mixed into $dir/voice_$name.wav.
voice() {
    local dir=$1 name=$2 kind=$3 rate=$4 count=$5
    local parts=() i start len note freq level
    for ((i = 0; i < count; i++)); do
        rand 0 "$((SECONDS_PER_CLIP - 1))"; start=$REPLY
        rand -18 -3; level=$REPLY
        pan
        case $kind in
        pluck)
            note=$((45 + RANDOM % 40)); freq=$(note_hz "$note"); rand 0.4 2.5; len=$REPLY
            sox -R -V1 -n -r "$rate" -c 2 "$dir/n$i.wav" synth "$len" pluck "$freq" \
                fade l 0.002 "$len" "$len" gain "$level" pad "$start" $PAN
            ;;
        chord)
            note=$((40 + RANDOM % 36)); rand 1 4; len=$REPLY
            local rate1 depth1; rand 3 7; rate1=$REPLY; rand 5 40; depth1=$REPLY
            local shape=(sawtooth square sawtooth triangle)
            local w=${shape[$((RANDOM % 4))]}
            sox -R -V1 -n -r "$rate" -c 2 "$dir/n$i.wav" synth "$len" \
                $w "$(note_hz "$note")" $w "$(note_hz $((note + 4)))" $w "$(note_hz $((note + 7)))" \
                tremolo "$rate1" "$depth1" fade h 0.05 "$len" 0.4 gain "$level" pad "$start" $PAN
            ;;
        hat)
            rand 0.05 0.3; len=$REPLY
            local corner; rand 4000 9000; corner=$REPLY
            sox -R -V1 -n -r "$rate" -c 2 "$dir/n$i.wav" synth "$len" whitenoise gain -8 highpass "$corner" \
                fade l 0.001 "$len" "$len" gain "$level" pad "$start" $PAN
            ;;
        snare)
            rand 0.15 0.4; len=$REPLY
            sox -R -V1 -n -r "$rate" -c 2 "$dir/n$i.wav" synth "$len" pinknoise synth "$len" sine mix 190 \
                fade l 0.001 "$len" "$len" gain "$level" pad "$start" $PAN
            ;;
        kick)
            rand 0.2 0.5; len=$REPLY
            sox -R -V1 -n -r "$rate" -c 2 "$dir/n$i.wav" synth "$len" sine 110-40 \
                fade l 0.001 "$len" "$len" gain "$level" pad "$start" $PAN
            ;;
        esac
        parts+=("$dir/n$i.wav")
    done
    if ((${#parts[@]} == 1)); then
        mv "${parts[0]}" "$dir/voice_$name.wav"
    else
        sox -R -V1 -m "${parts[@]}" "$dir/voice_$name.wav"
        rm -f "${parts[@]}"
    fi
}

# A full-band original: several voices, a random spectral tilt and reverb, a random loudness.
make_original() {
    local id=$1 rate=$2 dir=$3
    # Pairs of originals share a style and rate, one in each half, so both halves hold every kind.
    local style=$((id / 2 % 4)) voices=()
    case $style in
    0) voice "$dir" a pluck "$rate" 24; voice "$dir" b pluck "$rate" 12; voices=(a b) ;;
    1) voice "$dir" a hat "$rate" 30; voice "$dir" b snare "$rate" 10; voice "$dir" c kick "$rate" 10; voices=(a b c) ;;
    2) voice "$dir" a chord "$rate" 6; voice "$dir" b pluck "$rate" 10; voices=(a b) ;;
    3)
        voice "$dir" a chord "$rate" 4; voice "$dir" b hat "$rate" 20
        voice "$dir" c pluck "$rate" 12; voice "$dir" d kick "$rate" 6; voices=(a b c d)
        ;;
    esac
    local inputs=()
    for v in "${voices[@]}"; do inputs+=("$dir/voice_$v.wav"); done
    local treble reverb loudness
    rand -10 0; treble=$REPLY
    rand 10 50; reverb=$REPLY
    rand -14 -1; loudness=$REPLY
    sox -R -V1 -m "${inputs[@]}" -b 32 "$dir/mix.wav" treble "$treble" 6000 reverb "$reverb" \
        pad 0 "$SECONDS_PER_CLIP" trim 0 "$SECONDS_PER_CLIP"
    sox -R -V1 "$dir/mix.wav" -b 16 "$dir/orig.wav" gain -n "$loudness"
    rm -f "$dir"/voice_*.wav "$dir/mix.wav"
}

# Everything derived from original number $1.
build_one() {
    local id=$1
    RANDOM=$((BASE_SEED + CORPUS_VERSION * 1000 + id))
    local half=calib
    ((id % 2)) && half=holdout
    local rate=44100
    ((id / 2 % 3 == 2)) && rate=48000
    local dir tag
    tag=$(printf 'o%02d' "$id")
    dir="$OUT/$tag"
    rm -rf "$dir"
    mkdir -p "$dir"
    make_original "$id" "$rate" "$dir"
    local o="$dir/orig.wav" rows=()
    rows+=("$half	clean	original	$o")

    # Gentle low-passes at 15 to 18 kHz: one, two and four poles (6, 12 and 24 dB per octave).
    local f
    rand 15000 18000; f=$REPLY
    sox -R -V1 "$o" "$dir/lp6.wav" lowpass -1 "$f"
    rand 15000 18000; f=$REPLY
    sox -R -V1 "$o" "$dir/lp12.wav" lowpass "$f"
    rand 15000 18000; f=$REPLY
    sox -R -V1 "$o" "$dir/lp24.wav" lowpass "$f" lowpass "$f"
    # A master resampled through 96 kHz with a steep anti-alias filter near 21 kHz.
    sox -R -V1 "$o" -r 96000 -t wav - rate -v | sox -R -V1 - -r "$rate" "$dir/resampled.wav" rate -v
    rows+=("$half	clean	lowpass-6dB	$dir/lp6.wav" "$half	clean	lowpass-12dB	$dir/lp12.wav"
           "$half	clean	lowpass-24dB	$dir/lp24.wav" "$half	clean	resampled	$dir/resampled.wav")

    local setting
    for setting in "cbr128:-b 128" "cbr192:-b 192" "cbr256:-b 256" "cbr320:-b 320" "v0:-V 0" "v2:-V 2" "v5:-V 5"; do
        local name=${setting%%:*} options=${setting#*:}
        lame --quiet $options "$o" "$dir/$name.mp3"
        lame --quiet --decode "$dir/$name.mp3" "$dir/mp3-$name.wav"
        rm -f "$dir/$name.mp3"
        rows+=("$half	lossy	mp3-$name	$dir/mp3-$name.wav")
    done
    for q in 2 5; do
        oggenc --quiet -q "$q" -o "$dir/q$q.ogg" "$o"
        oggdec --quiet -o "$dir/vorbis-q$q.wav" "$dir/q$q.ogg"
        rm -f "$dir/q$q.ogg"
        rows+=("$half	lossy	vorbis-q$q	$dir/vorbis-q$q.wav")
    done
    for kbps in 96 128 192; do
        ffmpeg -nostdin -loglevel error -threads 1 -i "$o" -c:a aac -b:a "${kbps}k" "$dir/aac$kbps.m4a"
        ffmpeg -nostdin -loglevel error -threads 1 -i "$dir/aac$kbps.m4a" -c:a pcm_s16le "$dir/aac-$kbps.wav"
        rm -f "$dir/aac$kbps.m4a"
        rows+=("$half	lossy	aac-$kbps	$dir/aac-$kbps.wav")
    done
    printf '%s\n' "${rows[@]}" >"$dir/labels.tsv"
}

export -f rand note_hz pan voice make_original build_one
export OUT SECONDS_PER_CLIP BASE_SEED CORPUS_VERSION

seq 0 $((ORIGINALS - 1)) | nice -n 10 xargs -P "$JOBS" -I{} bash -c 'build_one {}'
{
    printf 'half\tlabel\tgroup\tpath\n'
    for ((i = 0; i < ORIGINALS; i++)); do cat "$OUT/$(printf 'o%02d' "$i")/labels.tsv"; done
} >"$OUT/labels.tsv"
echo "corpus version $CORPUS_VERSION: $(($(wc -l <"$OUT/labels.tsv") - 1)) clips in $OUT" >&2
