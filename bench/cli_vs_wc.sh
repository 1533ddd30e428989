#!/usr/bin/env bash
# Whole-program timing of quillprint-cli on the Federalist corpus against
# `wc -w` over the same files.
#
# Lays the corpus out as a project in a temporary folder (Hamilton, Madison
# and Jay as candidates, the disputed and joint papers as "Unknown"), then
# prints the best of N runs of:
#   wc -w                       over every file of the project
#   quillprint-cli --read-only  reading and decoding every text, no engine
#   quillprint-cli              the whole calculation and the results table
# and the ratios to wc -w.
#
# Usage: bash bench/cli_vs_wc.sh [path/to/quillprint-cli] [runs]
set -euo pipefail

here="$(cd "$(dirname "$0")/.." && pwd)"
cli="${1:-$here/build/bin/quillprint-cli}"
runs="${2:-5}"
corpus="${QUILLPRINT_CORPUS:-$here/data/federalist}"

[ -x "$cli" ] || { echo "quillprint-cli not found at $cli (build it, or pass its path)" >&2; exit 2; }
[ -f "$corpus/authors.tsv" ] || { echo "Federalist corpus not found at $corpus" >&2; exit 2; }

project="$(mktemp -d)"
trap 'rm -rf "$project"' EXIT
tail -n +2 "$corpus/authors.tsv" | while IFS=$'\t' read -r paper author; do
    case "$author" in
        Hamilton|Madison|Jay) folder="$author" ;;
        *) folder="Unknown" ;;
    esac
    mkdir -p "$project/$folder"
    cp "$corpus/papers/$(printf 'fp%02d.txt' "$paper")" "$project/$folder/"
done

# shellcheck source=bench/best_of.sh
source "$(dirname "${BASH_SOURCE[0]}")/best_of.sh"

files=("$project"/*/*)
export LANG=en_US.UTF-8
wc_time=$(best_of "$runs" wc -w "${files[@]}")
read_time=$(best_of "$runs" "$cli" --locale en_US --read-only "$project")
full_time=$(best_of "$runs" "$cli" --locale en_US "$project")

echo "files:            ${#files[@]} ($(cat "${files[@]}" | wc -c) bytes, $(cat "${files[@]}" | wc -w) words)"
echo "read+decode:      $("$cli" --locale en_US --read-only "$project")"
printf 'wc -w:            %.4f s\n' "$wc_time"
ratio() { awk -v a="$1" -v b="$wc_time" 'BEGIN { printf "%.1f", a / b }'; }
printf 'cli --read-only:  %.4f s  (%s x wc -w)\n' "$read_time" "$(ratio "$read_time")"
printf 'cli (full run):   %.4f s  (%s x wc -w)\n' "$full_time" "$(ratio "$full_time")"
