#!/bin/bash
# Builds the detector's corpus of rendered recordings: General MIDI pieces written by midi-piece.py and rendered
# by fluidsynth from sound fonts of recorded instrument samples (Debian's musescore-general-soundfont-lossless,
# timgm6mb-soundfont, csound-soundfont and the drum kits of avldrums.lv2-soundfont), mastered like real CDs and
# sent through lossy round trips (lame, ffmpeg's AAC, oggenc, opusenc).
# Usage: make-real-corpus.sh OUTDIR [ORIGINALS] [SECONDS]
# CORPUS_FONTS and CORPUS_KITS, when set, replace the three General MIDI sound fonts and the two drum kits (the
# smoke run uses the small TimGM6mb for both).
# CORPUS_HALVES, when set (for instance "calib valid"), builds only the originals of those halves; a later run
# with the others completes the corpus. CORPUS_VERSION=1 to 6 rebuilds an earlier version's corpus; 8 and up
# are new ones.
# Writes OUTDIR/labels.tsv (half, label, group, path) of every original built so far, OUTDIR/version, and the WAV
# files beside it; the same version gives the same corpus. Original n belongs to the calibration half when
# n % 4 == 0, to validation when n % 4 == 2, and to the sealed test half otherwise.
set -euo pipefail

CORPUS_VERSION=${CORPUS_VERSION:-7}
# Each version has its own seed, so all of its originals are new.
BASE_SEED=$((CORPUS_VERSION == 1 ? 20261206 : 20261206 + CORPUS_VERSION * 7919))
HALVES=${CORPUS_HALVES:-calib valid test}
OUT=${1:?usage: make-real-corpus.sh OUTDIR [ORIGINALS] [SECONDS]}
ORIGINALS=${2:-36}
SECONDS_PER_CLIP=${3:-20}
JOBS=2
HERE=$(cd "$(dirname "$0")" && pwd)
SF=/usr/share/sounds/sf2
FONTS=${CORPUS_FONTS:-"$SF/MuseScore_General_Full.sf2 $SF/TimGM6mb.sf2 $SF/sf_GMbank.sf2"}
KITS=${CORPUS_KITS:-"$SF/Black_Pearl_4_LV2.sf2 $SF/Red_Zeppelin_4_LV2.sf2"}

for tool in python3 fluidsynth sox lame oggenc oggdec ffmpeg opusenc opusdec awk; do
    command -v "$tool" >/dev/null || { echo "error: $tool is missing" >&2; exit 1; }
done
for font in $FONTS $KITS; do
    [[ -f $font ]] || { echo "error: sound font $font is missing" >&2; exit 1; }
done
mkdir -p "$OUT"
OUT=$(cd "$OUT" && pwd)

source "$(dirname "${BASH_SOURCE[0]}")/random.sh"
pick() { local a=("$@"); REPLY=${a[$((RANDOM % ${#a[@]}))]}; }

# sox's dither filters: plain TPDF and several noise shapes, as mastering tools use them.
pick_dither() { pick "dither" "dither -s" "dither -f lipshitz" "dither -f improved-e-weighted" "dither -f high-shibata"; }

# The 32-bit float render of original $1 in style $2 with sound font $3 at rate $4, trimmed, in $5.
render() {
    local id=$1 style=$2 font=$3 rate=$4 out=$5
    python3 "$HERE/midi-piece.py" "$((BASE_SEED + id))" "$SECONDS_PER_CLIP" "$style" "$out.mid"
    fluidsynth -ni -q -r "$rate" -O float -T wav -F "$out.raw.wav" "$font" "$out.mid" >/dev/null 2>&1
    sox -R -V1 "$out.raw.wav" -e floating-point -b 32 "$out" trim 0 "$SECONDS_PER_CLIP" gain -n -1
    rm -f "$out.mid" "$out.raw.wav"
}

# A 16-bit master from a float mix: a random level (quiet, normal or loud and compressed) and dither.
master() {
    local in=$1 out=$2 rate=$3 level dither
    pick quiet normal normal loud; level=$REPLY
    pick_dither; dither=$REPLY
    case $level in
    quiet) rand -24 -12; sox -R -V1 "$in" -r "$rate" -b 16 "$out" gain -n "$REPLY" $dither ;;
    normal) rand -6 -0.5; sox -R -V1 "$in" -r "$rate" -b 16 "$out" gain -n "$REPLY" $dither ;;
    loud) sox -R -V1 "$in" -r "$rate" -b 16 "$out" compand 0.005,0.1 -60,-60,-30,-12,-10,-4,0,-1 0 -20 0.05 \
        gain -n -0.1 $dither ;;
    esac
}

half_of() {
    local half=test
    (($1 % 4 == 0)) && half=calib
    (($1 % 4 == 2)) && half=valid
    echo "$half"
}

build_one() {
    local id=$1 half
    half=$(half_of "$id")
    [[ " $HALVES " == *" $half "* ]] || return 0
    RANDOM=$((BASE_SEED + CORPUS_VERSION * 1000 + id))
    local dir rate hirate
    dir="$OUT/$(printf 'r%02d' "$id")"
    rm -rf "$dir"
    mkdir -p "$dir"
    pick 44100 44100 48000; rate=$REPLY
    pick 88200 96000 48000; hirate=$REPLY
    [[ $hirate == "$rate" ]] && hirate=96000
    # Every split holds every style and sound font: the style follows n % 3, the font n / 4 % 3.
    local styles=(band keys drums) fonts=($FONTS) style font
    style=${styles[$((id % 3))]}
    font=${fonts[$((id / 4 % ${#fonts[@]}))]}
    [[ $style == drums ]] && { pick $KITS; font=$REPLY; }
    render "$id" "$style" "$font" "$rate" "$dir/mix.f32.wav"
    local rows=() clean=()
    add() { rows+=("$half	$1	$2	$3"); [[ $1 == clean ]] && clean+=("$3"); true; }

    master "$dir/mix.f32.wav" "$dir/original.wav" "$rate"
    add clean original "$dir/original.wav"
    # Steep anti-alias walls of several designs between 19.8 and 21.5 kHz.
    local f t
    rand 19800 21500; f=$REPLY; rand 100 600; t=$REPLY
    sox -R -V1 "$dir/mix.f32.wav" -e floating-point -b 32 "$dir/w.f32.wav" sinc -t "$t" "-$f"
    master "$dir/w.f32.wav" "$dir/wall-sinc.wav" "$rate"
    add clean wall-sinc "$dir/wall-sinc.wav"
    # A render at a high rate brought down by sox's resampler with a random pass band.
    render "$id" "$style" "$font" "$hirate" "$dir/hi.f32.wav"
    rand 90 97; local band=$REPLY
    sox -R -V1 "$dir/hi.f32.wav" -e floating-point -b 32 "$dir/r.f32.wav" rate -v -b "$band" "$rate"
    master "$dir/r.f32.wav" "$dir/resampled.wav" "$rate"
    add clean resampled "$dir/resampled.wav"
    # Quiet passages with noise-shaped dither, where shaped noise fills the top band of the gaps.
    rand -30 -18
    sox -R -V1 "$dir/mix.f32.wav" -b 16 "$dir/quiet-shaped.wav" gain -n "$REPLY" dither -s
    add clean quiet-shaped "$dir/quiet-shaped.wav"
    # Band-limited: a gentle low-pass at 15 to 19 kHz, as old masters and dull instrument samples have.
    rand 15000 19000
    sox -R -V1 "$dir/mix.f32.wav" -e floating-point -b 32 "$dir/l.f32.wav" lowpass "$REPLY" lowpass "$REPLY"
    master "$dir/l.f32.wav" "$dir/lowpass.wav" "$rate"
    add clean lowpass "$dir/lowpass.wav"
    rm -f "$dir"/*.f32.wav

    # Each lossy clip starts from one of this original's clean masters, picked at random.
    local setting name options source
    for setting in "cbr128:-b 128" "cbr192:-b 192" "cbr256:-b 256" "cbr320:-b 320" "v0:-V 0" "v2:-V 2" "v5:-V 5"; do
        name=${setting%%:*} options=${setting#*:}
        pick "${clean[@]}"; source=$REPLY
        lame --quiet $options "$source" "$dir/$name.mp3"
        lame --quiet --decode "$dir/$name.mp3" "$dir/mp3-$name.wav"
        rm -f "$dir/$name.mp3"
        add lossy "mp3-$name" "$dir/mp3-$name.wav"
    done
    for kbps in 128 192 256; do
        pick "${clean[@]}"; source=$REPLY
        ffmpeg -nostdin -loglevel error -threads 1 -i "$source" -c:a aac -b:a "${kbps}k" "$dir/aac$kbps.m4a"
        ffmpeg -nostdin -loglevel error -threads 1 -i "$dir/aac$kbps.m4a" -c:a pcm_s16le "$dir/aac-$kbps.wav"
        rm -f "$dir/aac$kbps.m4a"
        add lossy "aac-$kbps" "$dir/aac-$kbps.wav"
    done
    for q in 3 6 8; do
        pick "${clean[@]}"; source=$REPLY
        oggenc --quiet -q "$q" -o "$dir/q$q.ogg" "$source"
        oggdec --quiet -o "$dir/vorbis-q$q.wav" "$dir/q$q.ogg"
        rm -f "$dir/q$q.ogg"
        add lossy "vorbis-q$q" "$dir/vorbis-q$q.wav"
    done
    for kbps in 64 96 160 192; do
        pick "${clean[@]}"; source=$REPLY
        opusenc --quiet --bitrate "$kbps" "$source" "$dir/o$kbps.opus"
        opusdec --quiet --rate "$rate" "$dir/o$kbps.opus" "$dir/opus-$kbps.wav"
        rm -f "$dir/o$kbps.opus"
        add lossy "opus-$kbps" "$dir/opus-$kbps.wav"
    done
    printf '%s\n' "${rows[@]}" >"$dir/labels.tsv"
    echo "$id $style $(basename "$font") $rate" >"$dir/style"
}

export -f rand pick pick_dither render master half_of build_one
export OUT SECONDS_PER_CLIP BASE_SEED CORPUS_VERSION HALVES HERE FONTS KITS

seq 0 $((ORIGINALS - 1)) | nice -n 10 xargs -P "$JOBS" -I{} bash -c 'build_one {}'
{
    printf 'half\tlabel\tgroup\tpath\n'
    for ((i = 0; i < ORIGINALS; i++)); do
        labels=$OUT/$(printf 'r%02d' "$i")/labels.tsv
        [[ ! -f $labels ]] || cat "$labels"
    done
} >"$OUT/labels.tsv"
echo "$CORPUS_VERSION $BASE_SEED" >"$OUT/version"
echo "corpus version $CORPUS_VERSION: $(($(wc -l <"$OUT/labels.tsv") - 1)) clips in $OUT" >&2
