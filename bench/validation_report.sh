#!/usr/bin/env bash
# The validation report on generated projects of N candidates of 1,000 words
# each (default N: 250, 500 and 1,000). Each candidate writes words drawn
# from a shared vocabulary of 3,000 (skewed towards the frequent ones, so
# that short phrases repeat everywhere) and twenty favourite three-word
# phrases of its own, ten words to a line; seed 7. "Unknown" is a copy of the
# second candidate (the report ignores it).
#
# Prints one tab-separated row per project: candidates, jobs, wall seconds,
# CPU seconds, peak resident MiB, and the report's tally ("k of n
# recognised", and which candidates were tested when not all were).
#
# Usage: bash bench/validation_report.sh [path/to/quillprint-cli] [JOBS] [N...]
set -euo pipefail

here="$(cd "$(dirname "$0")/.." && pwd)"
cli="${1:-$here/build/bin/quillprint-cli}"
jobs="${2:-$(nproc)}"
shift $(($# > 2 ? 2 : $#))
sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(250 500 1000)
[ -x "$cli" ] || { echo "quillprint-cli not found at $cli (build it, or pass its path)" >&2; exit 2; }

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# Writes N candidate folders C0000... under $2, each with t.txt.
generate() {
    local n="$1" dir="$2"
    mkdir -p "$dir/Unknown"
    for ((c = 0; c < n; ++c)); do printf '%s/C%04d\n' "$dir" "$c"; done | xargs mkdir -p
    awk -v n="$n" -v words=1000 -v seed=7 -v out="$dir" 'BEGIN {
        srand(seed)
        V = 3000
        for (v = 0; v < V; ++v) {
            s = ""; len = 2 + int(rand() * 6)
            for (j = 0; j < len; ++j) s = s sprintf("%c", 97 + int(rand() * 26))
            vocab[v] = s
        }
        for (c = 0; c < n; ++c) {
            file = sprintf("%s/C%04d/t.txt", out, c)
            for (f = 0; f < 20; ++f)
                fav[f] = vocab[int(V * rand() ^ 3)] " " vocab[int(V * rand() ^ 3)] " " vocab[int(V * rand() ^ 3)]
            line = ""; k = 0; i = 0
            while (i < words) {
                if (rand() < 0.05) { t = fav[int(rand() * 20)]; i += 3 } else { t = vocab[int(V * rand() ^ 3)]; i += 1 }
                line = line (k ? " " : "") t
                if (++k >= 10) { print line > file; line = ""; k = 0 }
            }
            if (k) print line > file
            close(file)
        }
    }'
    cp "$dir/C0001/t.txt" "$dir/Unknown/u.txt"
}

printf 'candidates\tjobs\twall s\tCPU s\tpeak MiB\treport\n'
for n in "${sizes[@]}"; do
    generate "$n" "$work/p$n"
    /usr/bin/time -f '%e %U %S %M' -o "$work/time" "$cli" --locale en_US --jobs "$jobs" --validation-report \
        "$work/p$n" > "$work/report" 2>/dev/null
    read -r wall user sys peak < "$work/time"
    printf '%s\t%s\t%s\t%s\t%s\t%s\n' "$n" "$jobs" "$wall" "$(echo "$user + $sys" | bc)" "$((peak / 1024))" \
        "$(grep ' recognised' "$work/report" | tail -1 | tr -d '\t')$(grep -o '^Tested [^,]*' "$work/report" | sed 's/^/; /')"
    rm -rf "$work/p$n"
done
