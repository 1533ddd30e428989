#!/usr/bin/env bash
# Federalist paper 49 as the unknown text, the whole quillprint-cli process
# timed, alternating two builds run after run (paired, so that the load of
# the machine falls on both alike). Prints the median wall and CPU (user +
# system) seconds of each build and their ratios, and checks that both print
# the same table.
#
# Usage: bash bench/paired_paper49.sh NEW_CLI OLD_CLI [RUNS]
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
new="$1" old="$2" runs="${3:-15}"
corpus="${QUILLPRINT_CORPUS:-$here/data/federalist}"
source "$here/bench/federalist_layout.sh"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
federalist_layout "$(cd "$corpus" && pwd)" "$work"
project="$work/single/fp49.txt"
export LANG=en_US.UTF-8 LC_ALL=

cmp <("$new" --locale en_US "$project") <("$old" --locale en_US "$project") || { echo "outputs differ" >&2; exit 1; }

# One timed run: "wall cpu" in seconds.
timed() { /usr/bin/time -f '%e %U %S' "$1" --locale en_US "$project" 2>&1 >/dev/null | awk '{print $1, $2 + $3}'; }
median() { sort -g | awk '{v[NR]=$1} END {print (NR % 2) ? v[(NR+1)/2] : (v[NR/2] + v[NR/2+1]) / 2}'; }

for ((i = 0; i < runs; ++i)); do
    timed "$new" >>"$work/new"
    timed "$old" >>"$work/old"
done
nw=$(cut -d' ' -f1 "$work/new" | median); nc=$(cut -d' ' -f2 "$work/new" | median)
ow=$(cut -d' ' -f1 "$work/old" | median); oc=$(cut -d' ' -f2 "$work/old" | median)
printf 'build\twall s\tcpu s\n'
printf 'new\t%s\t%s\n' "$nw" "$nc"
printf 'old\t%s\t%s\n' "$ow" "$oc"
awk -v nw="$nw" -v ow="$ow" -v nc="$nc" -v oc="$oc" 'BEGIN {printf "new/old\t%.2f\t%.2f\n", nw / ow, nc / oc}'
