#!/usr/bin/env bash
# Whole-program runs of quillprint-cli --json on the two inputs that used to
# make its output explode: a 3,000-word passage that is the whole text of one
# candidate and of "Unknown", and the Federalist project (data/federalist)
# with one essay copied twice into Hamilton's folder. Prints per input the
# size of the output and the wall time (best of 3), and the same for
# --json-full, which is refused past its limit. Goals: < 50 MB / < 5 s and
# < 100 MB / < 3 s. Usage: bench/json_size.sh [BUILD_DIR]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
cli="$build/bin/quillprint-cli"
corpus="$root/data/federalist"
source "$root/bench/best_of.sh"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# The Federalist project: each known paper in its author's folder, the
# disputed ones together in "Unknown".
federalist() {
    local dir=$1 paper author file
    while IFS=$'\t' read -r paper author; do
        file="$(printf 'fp%02d.txt' "$paper")"
        case "$author" in
            Hamilton|Madison|Jay) mkdir -p "$dir/$author"; cp "$corpus/papers/$file" "$dir/$author/$file" ;;
            *) mkdir -p "$dir/Unknown"; cp "$corpus/papers/$file" "$dir/Unknown/$file" ;;
        esac
    done < <(tail -n +2 "$corpus/authors.tsv")
}

passage="$work/passage"
mkdir -p "$passage/Author" "$passage/Other" "$passage/Unknown"
cat "$corpus"/papers/fp*.txt | tr -s ' \t\r\n' '\n\n\n\n' | awk 'NR <= 3000' | paste -d' ' - - - - - - - - - - - - \
    > "$passage/Author/passage.txt"
cp "$passage/Author/passage.txt" "$passage/Unknown/passage.txt"
cat "$corpus/papers/fp02.txt" > "$passage/Other/other.txt"

copied="$work/copied"
federalist "$copied"
cp "$corpus/papers/fp01.txt" "$copied/Hamilton/copy-a.txt"
cp "$corpus/papers/fp01.txt" "$copied/Hamilton/copy-b.txt"

printf '%-22s %-12s %14s %10s\n' input option output_bytes seconds
for input in passage copied; do
    for option in --json --json-full; do
        # --json-full may be refused (exit 2, nothing printed): its size is then 0.
        size=$({ "$cli" --quiet "$option" "$work/$input" 2>/dev/null || true; } | wc -c)
        seconds=$(best_of 3 sh -c '"$@" 2>/dev/null || true' _ "$cli" --quiet "$option" "$work/$input")
        printf '%-22s %-12s %14s %10s\n' "$input" "$option" "$size" "$seconds"
    done
done
