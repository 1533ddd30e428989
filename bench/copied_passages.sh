#!/usr/bin/env bash
# Whole-program runs of quillprint-cli on projects whose unknown text holds a
# verbatim copy: the known Federalist papers of Hamilton, Madison and Jay as
# candidates (double quotes dropped, so no quoted item starts inside a copy),
# paper 49 plus COPY consecutive words of Hamilton's papers as the unknown
# text. Prints per copy length the best wall time (of 3 runs) and the peak
# memory of --copies, of the plain calculation (refused past the phrase
# budget) and of --without-copies. Projects are laid out in a temporary
# folder. Usage: bench/copied_passages.sh [BUILD_DIR]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
cli="$build/bin/quillprint-cli"
corpus="$root/data/federalist"
source "$root/bench/best_of.sh"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# layout COPY: the project folder for a copy of COPY words.
layout() {
    local copy=$1 dir="$work/copy-$1" paper author file
    while IFS=$'\t' read -r paper author; do
        file="$(printf 'fp%02d.txt' "$paper")"
        case "$author" in
            Hamilton|Madison|Jay) mkdir -p "$dir/$author"; tr -d '"' < "$corpus/papers/$file" > "$dir/$author/$file" ;;
        esac
    done < <(tail -n +2 "$corpus/authors.tsv")
    mkdir -p "$dir/Unknown"
    tr -d '"' < "$corpus/papers/fp49.txt" > "$dir/Unknown/fp49.txt"
    # Words 1,001 on of Hamilton's papers in paper order, twelve to a line.
    cat "$dir"/Hamilton/*.txt | tr -s ' \t\r\n' '\n\n\n\n' | tail -n +1001 | head -n "$copy" \
        | paste -d' ' - - - - - - - - - - - - > "$dir/Unknown/copy.txt"
    echo "$dir"
}

peak_kb() { /usr/bin/time -f '%M' "$@" 2>&1 >/dev/null | tail -n 1; }

printf '%-8s %-18s %10s %10s\n' copy run seconds peak_MiB
for copy in ${COPIES:-3000 15000 20000 50000}; do
    dir="$(layout "$copy")"
    for mode in --copies "" --without-copies; do
        args=(--locale en_US)
        if [ -n "$mode" ]; then args+=("$mode"); fi
        seconds="$(best_of 3 "$cli" "${args[@]}" "$dir" 2>/dev/null || true)"
        kb="$(peak_kb "$cli" "${args[@]}" "$dir" || true)"
        printf '%-8s %-18s %10.2f %10.0f\n' "$copy" "${mode:-plain}" "$seconds" "$((kb / 1024))"
    done
done
