#!/usr/bin/env bash
# The twelve disputed Federalist papers (49-58, 62, 63), each attributed on its
# own against every known paper of Hamilton, Madison and Jay, once as the
# plain calculation and once with --balance. Madison is the accepted author
# of all twelve.
#
# Lays each project out in a temporary folder (one file per paper, links to
# the corpus) and prints one tab-separated row per paper:
#   paper, winner and score without balance, winner, mean score and draws
#   won with balance
# then how many of the twelve went to Madison each way.
#
# Usage: bash bench/federalist_disputed.sh [path/to/quillprint-cli]
set -euo pipefail

here="$(cd "$(dirname "$0")/.." && pwd)"
cli="${1:-$here/build/bin/quillprint-cli}"
corpus="${QUILLPRINT_CORPUS:-$here/data/federalist}"
source "$here/bench/federalist_layout.sh"

[ -x "$cli" ] || { echo "quillprint-cli not found at $cli (build it, or pass its path)" >&2; exit 2; }
[ -f "$corpus/authors.tsv" ] || { echo "Federalist corpus not found at $corpus" >&2; exit 2; }
corpus="$(cd "$corpus" && pwd)"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
federalist_layout "$corpus" "$work"

export LANG=en_US.UTF-8 LC_ALL=
plain_madison=0
balanced_madison=0
printf 'paper\twinner\tscore\tbalanced winner\tmean score\tdraws won\n'
for paper in "${disputed[@]}"; do
    project="$work/single/$paper"
    number="${paper%.txt}"
    number=$((10#${number#fp}))
    # Row 2 of the result table is the candidate ranked first.
    plain="$("$cli" --locale en_US "$project" | sed -n 2p)"
    balanced="$("$cli" --locale en_US --balance "$project" | sed -n 2p)"
    IFS=$'\t' read -r winner score _ <<<"$plain"
    IFS=$'\t' read -r bwinner bscore _ _ draws <<<"$balanced"
    [ "$winner" = Madison ] && plain_madison=$((plain_madison + 1))
    [ "$bwinner" = Madison ] && balanced_madison=$((balanced_madison + 1))
    printf '%s\t%s\t%s\t%s\t%s\t%s\n' "$number" "$winner" "$score" "$bwinner" "$bscore" "$draws"
done
echo "Madison without balance: $plain_madison of ${#disputed[@]}"
echo "Madison with balance:    $balanced_madison of ${#disputed[@]}"
