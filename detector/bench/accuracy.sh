#!/bin/bash
# Accuracy and speed of the open detector on one split of a corpus; prints a table.
# Usage: accuracy.sh BUILD_DIR CORPUS_DIR [HALF]   (HALF: calib, valid or test, the default; all for every clip)
# The MPEG columns give the share of clips called MPEG: "1 pass" is a single run at -m0; "2 pass" is Quorvane's
# default of two passes (-m0, -m1) averaged as CDDA percentages, MPEG below 50% CDDA.
# Speed is seconds of audio per second of CPU at -m0 on one core.
set -euo pipefail
build=${1:?usage: accuracy.sh BUILD_DIR CORPUS_DIR [HALF]}
corpus=${2:?usage: accuracy.sh BUILD_DIR CORPUS_DIR [HALF]}
half=${3:-test}
bin=$build/bin/opendetector
m0=$(mktemp)
m1=$(mktemp)
trap 'rm -f "$m0" "$m1"' EXIT
nice -n 10 "$bin/opendetector_features" "$corpus/labels.tsv" 0 "$half" >"$m0"
nice -n 10 "$bin/opendetector_features" "$corpus/labels.tsv" 1 "$half" >"$m1"

awk -F'\t' '
function cdda(p) { return p > 0.5 ? 100 - int(p * 100 + 0.5) : int((1 - p) * 100 + 0.5) }
# Summary rows: name, target, and which groups they cover.
function summary(title, goal, pattern,    i, g, cn, c1, c2, u) {
    for (i = 1; i <= groups; i++) {
        g = name[i]
        if (g ~ pattern) { cn += n[g]; c1 += one[g]; c2 += two[g]; u += unq[g] }
    }
    if (cn > 0) printf "%-22s %6d %11.1f%% %11.1f%% %11d  %s\n", title, cn, 100 * c1 / cn, 100 * c2 / cn, u, goal
}
FNR == 1 { next }
NR == FNR { second[$16] = $15; next }
{
    g = $3; kind[g] = $2; n[g]++
    if (!(g in order)) { order[g] = ++groups; name[groups] = g }
    if ($4 != "ok") { unq[g]++ } else if ($15 > 0.5) { one[g]++ }
    sum = 0; valid = 0
    if ($4 == "ok") { sum += cdda($15); valid++ }
    if (second[$16] >= 0) { sum += cdda(second[$16]); valid++ }
    if (valid > 0 && int((sum + int(valid / 2)) / valid) < 50) two[g]++
    audio += $11; cpu += $12
}
END {
    printf "%-22s %6s %12s %12s %11s  %s\n", "group", "clips", "MPEG 1 pass", "MPEG 2 pass", "unjudged", "target"
    for (i = 1; i <= groups; i++) {
        g = name[i]
        printf "%-22s %6d %11.1f%% %11.1f%% %11d\n", g, n[g], 100 * one[g] / n[g], 100 * two[g] / n[g], unq[g] + 0
    }
    print ""
    summary("clean full-band", "<= 1% called MPEG", "^(original|wall-sinc|resampled|quiet-shaped)$")
    summary("all clean", "<= 5% called MPEG", "^(original|wall-sinc|resampled|quiet-shaped|lowpass)$")
    summary("MP3", ">= 97% found", "^mp3-")
    summary("AAC 128-192", ">= 95% found", "^aac-(128|192)$")
    summary("AAC 256", "reported", "^aac-256$")
    summary("Vorbis q3-q6", ">= 90% found", "^vorbis-q[3-6]$")
    summary("Opus 64-160", ">= 85% found", "^opus-(64|96|128|160)$")
    summary("all lossy", "", "^(mp3|aac|vorbis|opus)-")
    printf "\nspeed at -m0: %.0f s of audio in %.2f s of CPU: %.0fx real time on one core\n", audio, cpu, audio / cpu
}' "$m1" "$m0"
