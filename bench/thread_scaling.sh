#!/usr/bin/env bash
# Whole-program timings of quillprint-cli on one thread and on every core:
#   federalist  the Federalist corpus (Hamilton, Madison and Jay as
#               candidates, the disputed and joint papers as "Unknown"),
#               also against `wc -w` over the same files
#   many        43 candidates of 42,000 words and a test text of 5,000
#               (about 1.8 million words, the size of all State of the Union
#               addresses), generated
#   ten-million 20 candidates of 500,000 words and a test text of 10,000,
#               generated
# The generated texts draw words with a Zipf-like frequency from a fixed
# vocabulary with a fixed seed, 12 words to a line.
#
# Prints one tab-separated row per corpus and thread count: corpus, words,
# jobs, median wall seconds of RUNS runs, peak resident memory in MiB of the
# last run, and the speed-up over one thread. Both thread counts must print
# the same table; the script stops when they do not.
#
# Usage: bash bench/thread_scaling.sh [path/to/quillprint-cli] [RUNS]
set -euo pipefail

here="$(cd "$(dirname "$0")/.." && pwd)"
cli="${1:-$here/build/bin/quillprint-cli}"
runs="${2:-5}"
corpus="${QUILLPRINT_CORPUS:-$here/data/federalist}"
cores="$(nproc)"
[ -x "$cli" ] || { echo "quillprint-cli not found at $cli (build it, or pass its path)" >&2; exit 2; }
[ -f "$corpus/authors.tsv" ] || { echo "Federalist corpus not found at $corpus" >&2; exit 2; }

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export LANG=en_US.UTF-8

# federalist DIR: the corpus laid out as a project.
federalist() {
    tail -n +2 "$corpus/authors.tsv" | while IFS=$'\t' read -r paper author; do
        case "$author" in
            Hamilton|Madison|Jay) folder="$author" ;;
            *) folder="Unknown" ;;
        esac
        mkdir -p "$1/$folder"
        cp "$corpus/papers/$(printf 'fp%02d.txt' "$paper")" "$1/$folder/"
    done
}

# synthetic DIR CANDIDATES WORDS_EACH TEST_WORDS SEED
synthetic() {
    awk -v dir="$1" -v candidates="$2" -v each="$3" -v test="$4" -v seed="$5" '
    function word(   r, w) {
        r = int(exp(rand() * log(50000)))
        w = ""
        do { w = w substr("etaoinshrdlucmfwypvbgkjqxz", r % 26 + 1, 1); r = int(r / 26) } while (r > 0)
        return w
    }
    function write(file, n,   i, line) {
        line = ""
        for (i = 1; i <= n; ++i) {
            line = line (i % 12 == 1 ? "" : " ") word()
            if (i % 12 == 0 || i == n) { print line > file; line = "" }
        }
        close(file)
    }
    BEGIN {
        srand(seed)
        for (a = 1; a <= candidates; ++a) {
            folder = sprintf("%s/Author%03d", dir, a)
            system("mkdir -p \"" folder "\"")
            write(folder "/text.txt", each)
        }
        system("mkdir -p \"" dir "/Unknown\"")
        write(dir "/Unknown/text.txt", test)
    }'
}

# median RUNS COMMAND...: the median wall time in seconds; the output of the
# last run is kept in $work/out and its peak memory (KiB) in $work/rss.
# Wall time includes starting /usr/bin/time, a millisecond or so.
median() {
    local count=$1 times=() start end
    shift
    for _ in $(seq "$count"); do
        start=$(date +%s.%N)
        /usr/bin/time -f '%M' -o "$work/rss" "$@" >"$work/out"
        end=$(date +%s.%N)
        times+=("$(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.4f", b - a }')")
    done
    printf '%s\n' "${times[@]}" | sort -g | awk '{ t[NR] = $1 } END { print (NR % 2) ? t[(NR + 1) / 2] : (t[NR / 2] + t[NR / 2 + 1]) / 2 }'
}

printf 'corpus\twords\tjobs\tseconds\tpeak MiB\tspeed-up\n'
measure() {
    local name=$1 dir=$2 count=$3 words
    # one and seconds stay set for the caller: one thread, every core
    words=$(cat "$dir"/*/* | wc -w)
    for jobs in 1 "$cores"; do
        seconds=$(median "$count" "$cli" --locale en_US --jobs "$jobs" "$dir")
        mv "$work/out" "$work/out.$jobs"
        [ "$jobs" = 1 ] && one=$seconds
        printf '%s\t%s\t%s\t%s\t%s\t%s\n' "$name" "$words" "$jobs" "$seconds" "$(($(cat "$work/rss") / 1024))" \
            "$(awk -v a="$one" -v b="$seconds" 'BEGIN { printf "%.2f", a / b }')"
    done
    cmp -s "$work/out.1" "$work/out.$cores" || { echo "$name: $cores threads print another table" >&2; exit 1; }
}

federalist "$work/federalist"
wc_seconds=$(median "$runs" wc -w "$work"/federalist/*/*)
measure federalist "$work/federalist" "$runs"
ratio() { awk -v a="$1" -v b="$wc_seconds" 'BEGIN { printf "%.1f", a / b }'; }
federalist_ratios="$(ratio "$one") x on 1 thread, $(ratio "$seconds") x on $cores"
synthetic "$work/many" 43 42000 5000 7
measure many "$work/many" "$runs"
rm -rf "$work/many"
synthetic "$work/ten" 20 500000 10000 11
measure ten-million "$work/ten" "$(( runs < 3 ? runs : 3 ))"

echo
echo "wc -w over the Federalist files: $wc_seconds s (median of $runs); quillprint-cli takes $federalist_ratios"
