# Decoding's cost end to end: Quorvane checking a set of 3-minute tracks (decode and two detector passes with
# the open detector) as FLAC, with the flac.exe built from Debian's sources, against the same tracks as WAV.
# Prints seconds per minute of audio for each type, their ratio and the decode's share of the FLAC time.
# Sourced by scripts/bench.sh.

# bench_album ROOT TRACKS: a fresh program directory ROOT/prog with Quorvane, the open detector and flac.exe,
# and TRACKS tracks of 3 minutes as WAV and FLAC; their paths go into the caller's arrays wavs and flacs.
bench_album() {
    local root=$1 tracks=$2 i
    rm -rf "$root"
    mkdir -p "$root/prog/wav" "$root/prog/flac" "$root/music/wav" "$root/music/flac"
    "$E2E_REPO/scripts/decoders.sh" x86_64 >/dev/null || { echo "bench: no decoders"; return 1; }
    cp "$E2E_BIN/Quorvane.exe" "$E2E_BIN/opendetector/aucdtect.exe" "$root/prog/" &&
        cp "$E2E_REPO/build/decoders/x86_64/flac.exe" "$root/prog/flac/" || return 1
    for i in $(seq 1 "$tracks"); do
        real_track "$root/music/wav/t$i.wav" 180
        flac -s "$root/music/wav/t$i.wav" -o "$root/music/flac/t$i.flac"
        wavs+=("$root/music/wav/t$i.wav")
        flacs+=("$root/music/flac/t$i.flac")
    done
}

# bench_timed_run LABEL PARALLEL FILES...: seconds from the program's start to the last file's second verdict,
# with "Detect Parallel Passes" PARALLEL ("default" leaves it unset).
bench_timed_run() {
    local label=$1 parallel=$2
    shift 2
    clear_registry
    place_window_away_from_pointer
    [ "$parallel" = default ] || reg_set_dword "Detect Parallel Passes" "$parallel"
    rm -f "$PROG"/*.log
    write_queue_file "$PROG/Queue.log" "$@"
    local start end
    start=$(date +%s.%N)
    start_quorvane
    wait_until 3600 file_line_count_at_least "$PROG/Detect.log" "[2/2]" "$#" || echo "$label: not all files finished"
    end=$(date +%s.%N)
    wineserver -k # a benchmark needs no orderly exit
    wait "$QV_PID" 2>/dev/null
    echo "$end - $start" | bc -l
}

bench_decode() {
    local tracks=${1:-5}
    local root="$BENCH_OUT/decode" wavs=() flacs=() i
    bench_album "$root" "$tracks" || return 1
    PROG="$root/prog"
    local minutes=$((tracks * 3)) wav_seconds flac_seconds decode_seconds start end
    wav_seconds=$(bench_timed_run "decode: wav" default "${wavs[@]}")
    flac_seconds=$(bench_timed_run "decode: flac" default "${flacs[@]}")
    # The decoder alone on the same files, one after another as the program runs it.
    start=$(date +%s.%N)
    for i in $(seq 1 "$tracks"); do
        wine "$PROG/flac/flac.exe" -s -d -f -o "$(winpath "$root/decoded.wav")" "$(winpath "${flacs[$((i - 1))]}")"
    done
    end=$(date +%s.%N)
    decode_seconds=$(echo "$end - $start" | bc -l)
    printf '%-46s %10s\n' "decode: tracks x length" "$tracks x 3 min"
    printf '%-46s %10.2f s/min\n' "decode: WAV, Quorvane end to end" "$(echo "$wav_seconds / $minutes" | bc -l)"
    printf '%-46s %10.2f s/min\n' "decode: FLAC, Quorvane end to end" "$(echo "$flac_seconds / $minutes" | bc -l)"
    printf '%-46s %10.3f\n' "decode: ratio FLAC / WAV" "$(echo "$flac_seconds / $wav_seconds" | bc -l)"
    printf '%-46s %10.1f %%\n' "decode: share of FLAC time, (FLAC - WAV) / FLAC" \
        "$(echo "100 * ($flac_seconds - $wav_seconds) / $flac_seconds" | bc -l)"
    printf '%-46s %10.2f s/min\n' "decode: flac.exe alone on the same files" "$(echo "$decode_seconds / $minutes" | bc -l)"
    rm -f "$root/decoded.wav"
}
