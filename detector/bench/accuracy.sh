#!/bin/bash
# Accuracy and speed of the open detector on the held-out half of the corpus; prints a table.
# Usage: accuracy.sh BUILD_DIR CORPUS_DIR
# The MPEG columns give the share of clips called MPEG: "1 pass" is a single run at -m0; "2 pass" is Quorvane's
# default of two passes (-m0, -m1) averaged as CDDA percentages, MPEG below 50% CDDA.
# Speed is seconds of audio per second of CPU at -m0 on one core.
set -euo pipefail
build=${1:?usage: accuracy.sh BUILD_DIR CORPUS_DIR}
corpus=${2:?usage: accuracy.sh BUILD_DIR CORPUS_DIR}
bin=$build/bin/opendetector
m0=$(mktemp)
m1=$(mktemp)
trap 'rm -f "$m0" "$m1"' EXIT
nice -n 10 "$bin/opendetector_features" "$corpus/labels.tsv" 0 holdout >"$m0"
nice -n 10 "$bin/opendetector_features" "$corpus/labels.tsv" 1 holdout >"$m1"

awk -F'\t' '
function cdda(p) { return p > 0.5 ? 100 - int(p * 100 + 0.5) : int((1 - p) * 100 + 0.5) }
function target(g) {
    if (g ~ /^mp3-(cbr128|cbr192|cbr256|v2|v5)$/) return ">= 95%"
    if (g ~ /^mp3-(cbr320|v0)$/) return ">= 80%"
    if (kind[g] == "clean") return "<= 1% false"
    return "-"
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
    printf "%-14s %-6s %6s %12s %12s %11s  %s\n", "group", "kind", "clips", "MPEG 1 pass", "MPEG 2 pass",
           "unjudged", "target"
    for (i = 1; i <= groups; i++) {
        g = name[i]
        printf "%-14s %-6s %6d %11.1f%% %11.1f%% %11d  %s\n", g, kind[g], n[g], 100 * one[g] / n[g],
               100 * two[g] / n[g], unq[g], target(g)
        if (kind[g] == "clean") { cn += n[g]; c1 += one[g]; c2 += two[g] }
        else { ln += n[g]; l1 += one[g]; l2 += two[g] }
    }
    line = "%-14s %-6s %6d %11.1f%% %11.1f%%              %s\n"
    printf line, "all clean", "clean", cn, 100 * c1 / cn, 100 * c2 / cn, "false alarms on all clean clips"
    printf line, "all lossy", "lossy", ln, 100 * l1 / ln, 100 * l2 / ln, "recall over all lossy clips"
    printf "\nspeed at -m0: %.0f s of audio in %.2f s of CPU: %.0fx real time on one core\n", audio, cpu, audio / cpu
}' "$m1" "$m0"
