# Intake figures: listing a generated tree against find on the same tree, and queues of growing size.
# Sourced by scripts/bench.sh.

# A tree of N files, a hundred to a directory, half of them of a type that needs a decoder.
make_tree() { # root files
    local root=$1 files=$2 d
    rm -rf "$root"
    for ((d = 0; d * 100 < files; d++)); do
        mkdir -p "$root/d$d"
        (cd "$root/d$d" && touch f{00..49}.wav f{50..99}.flac)
    done
}

bench_listing() {
    local files=${1:-100000}
    local tree="$BENCH_OUT/tree"
    make_tree "$tree" "$files"
    find "$tree" -type f >/dev/null # the same warm cache for both
    local start end find_seconds
    start=$(date +%s.%N)
    find "$tree" -type f >/dev/null
    end=$(date +%s.%N)
    find_seconds=$(echo "$end - $start" | bc -l)
    local out
    out=$(wine "$E2E_BIN/qvbench_intake.exe" listing "$(winpath "$tree")" | tr -d '\r')
    printf '%s\n' "$out"
    printf 'listing %-24s %8s files %8.2f s\n' "find (Linux, no Wine)" "$(find "$tree" -type f | wc -l)" "$find_seconds"
    local quorvane_seconds
    quorvane_seconds=$(printf '%s\n' "$out" | awk '/without log lines/ { print $(NF - 3) }')
    printf 'listing ratio Quorvane (without log lines) / find: %.1f\n' "$(echo "$quorvane_seconds / $find_seconds" | bc -l)"
    rm -rf "$tree"
}

bench_queue() {
    [ $# -gt 0 ] || set -- 1000 10000 100000 1000000
    wine "$E2E_BIN/qvbench_intake.exe" queue "$@" | tr -d '\r'
}
