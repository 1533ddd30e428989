#!/usr/bin/env bash
# Peak memory of quillprint-cli on inputs that once exhausted memory: a
# passage shared by the texts (--json), one refrain repeated (--table
# stylometry), a long copy beside hundreds of empty author folders, the
# Federalist project with thousands of empty author folders, and a 3 GB
# sparse file dropped into an author folder. Each run is capped at
# QUILLPRINT_MEMORY_CAP_KB of address space (default 4 GiB), so a run that
# would need more fails instead of crowding the machine.
#
# Prints one tab-separated row per case: case, options, exit status, peak
# resident memory in MiB, seconds.
#
# Usage: bash bench/reliability_memory.sh [path/to/quillprint-cli]
set -euo pipefail

here="$(cd "$(dirname "$0")/.." && pwd)"
cli="${1:-$here/build/bin/quillprint-cli}"
corpus="${QUILLPRINT_CORPUS:-$here/data/federalist}"
cap="${QUILLPRINT_MEMORY_CAP_KB:-4194304}"
[ -x "$cli" ] || { echo "quillprint-cli not found at $cli" >&2; exit 2; }

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# N pseudo-random words from a fixed vocabulary, 12 to a line.
words() {
    awk -v n="$1" -v seed="$2" 'BEGIN {
        srand(seed)
        for (i = 0; i < n; ++i) {
            w = ""
            len = 2 + int(rand() * 7)
            for (j = 0; j < len; ++j) w = w sprintf("%c", 97 + int(rand() * 26))
            printf "%s%s", w, (i % 12 == 11 ? "\n" : " ")
        }
        print ""
    }'
}

# A passage of N words shared by the unknown text and one candidate.
shared_passage() {
    local dir="$1" n="$2"
    mkdir -p "$dir/Unknown" "$dir/Alpha" "$dir/Beta"
    words "$n" 7 > "$work/passage"
    { words 300 1; cat "$work/passage"; } > "$dir/Alpha/a.txt"
    words 600 2 > "$dir/Beta/b.txt"
    { words 200 3; cat "$work/passage"; } > "$dir/Unknown/u.txt"
}

# Federalist papers: Hamilton, Madison, Jay known, paper 49 unknown.
federalist() {
    local dir="$1"
    mkdir -p "$dir/Unknown"
    while IFS=$'\t' read -r paper author; do
        file="$(printf 'fp%02d.txt' "$paper")"
        case "$author" in
            Hamilton|Madison|Jay) mkdir -p "$dir/$author"; cp "$corpus/papers/$file" "$dir/$author/$file" ;;
        esac
    done < <(tail -n +2 "$corpus/authors.tsv")
    cp "$corpus/papers/fp49.txt" "$dir/Unknown/fp49.txt"
}

empty_authors() {
    local dir="$1" n="$2"
    for ((i = 0; i < n; ++i)); do mkdir "$dir/Empty $i"; done
}

measure() {
    local name="$1"; shift
    local status=0
    ( ulimit -v "$cap"; LANG=en_US.UTF-8 LC_ALL= /usr/bin/time -f '%M %e' -o "$work/time" \
        "$cli" --locale en_US "$@" > /dev/null 2> "$work/err" ) || status=$?
    read -r kb seconds < <(tail -n 1 "$work/time")
    printf '%s\t%s\t%s\t%.0f\t%s\n' "$name" "${*:1:$#-1}" "$status" "$(echo "$kb / 1024" | bc -l)" "$seconds"
}

printf 'case\toptions\texit\tpeak MiB\tseconds\n'

shared_passage "$work/passage1000" 1000
measure "1,000-word shared passage" "$work/passage1000"
measure "1,000-word shared passage" --json "$work/passage1000"

mkdir -p "$work/refrain/Unknown" "$work/refrain/Alpha"
refrain="steady as she goes the wind has turned and the harbour lights are burning low tonight my friend so hold the line and mind the gap"
for ((i = 0; i < 1000; ++i)); do echo "$refrain"; done > "$work/refrain/Alpha/refrain.txt"
words 400 4 > "$work/refrain/Unknown/u.txt"
echo "$refrain" >> "$work/refrain/Unknown/u.txt"
measure "refrain repeated 1,000 times" "$work/refrain"
measure "refrain repeated 1,000 times" --table stylometry "$work/refrain"

shared_passage "$work/copy3000" 3000
measure "3,000-word copy" "$work/copy3000"
cp -r "$work/copy3000" "$work/copy3000empty"
empty_authors "$work/copy3000empty" 500
measure "3,000-word copy + 500 empty authors" "$work/copy3000empty"

if [ -f "$corpus/authors.tsv" ]; then
    corpus="$(cd "$corpus" && pwd)"
    federalist "$work/federalist"
    measure "Federalist" "$work/federalist"
    cp -r "$work/federalist" "$work/federalistcopy"
    cp "$corpus/papers/fp01.txt" "$work/federalistcopy/Hamilton/fp01-copy.txt"
    measure "Federalist, an essay twice in Hamilton" "$work/federalistcopy"
    measure "Federalist, an essay twice in Hamilton" --json "$work/federalistcopy"
    cp -r "$work/federalist" "$work/federalist20000"
    empty_authors "$work/federalist20000" 20000
    measure "Federalist + 20,000 empty authors" "$work/federalist20000"
fi

mkdir -p "$work/sparse/Unknown" "$work/sparse/Alpha"
words 500 5 > "$work/sparse/Unknown/u.txt"
words 500 6 > "$work/sparse/Alpha/a.txt"
measure "without the sparse file" "$work/sparse"
truncate -s 3G "$work/sparse/Alpha/disk.img"
measure "3 GB sparse file" "$work/sparse"
