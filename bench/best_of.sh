# Sourced by the benchmark scripts.
# best_of RUNS COMMAND...: the best wall time of RUNS runs of COMMAND, in
# seconds; the command's output is dropped.
best_of() {
    local runs=$1 best="" start end elapsed
    shift
    for _ in $(seq "$runs"); do
        start=$(date +%s.%N)
        "$@" >/dev/null
        end=$(date +%s.%N)
        elapsed=$(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.6f", b - a }')
        if [ -z "$best" ] || awk -v e="$elapsed" -v b="$best" 'BEGIN { exit !(e < b) }'; then best=$elapsed; fi
    done
    echo "$best"
}
