# The corpus scripts' random numbers (sourced). RANDOM must be seeded by the caller.

# A number uniform in [low, high] from the job's own random sequence, left in REPLY (never in a subshell: bash
# reseeds RANDOM there and the corpus would no longer be repeatable).
rand() {
    local r=$RANDOM s=$RANDOM
    REPLY=$(awk -v r="$r" -v s="$s" -v lo="$1" -v hi="$2" \
        'BEGIN { printf "%.4f", lo + (hi - lo) * (r * 32768 + s) / 1073741824 }')
}
