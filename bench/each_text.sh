#!/usr/bin/env bash
# Many disputed texts in one run: the twelve disputed Federalist papers
# against every known paper of Hamilton, Madison and Jay, plain and with
# --balance, as
#   - twelve separate one-text runs (a project per paper, run one after another),
#   - one --each run with --jobs 1, 2, ... up to the number of cores.
# Prints the best wall time of RUNS runs of each (default 3) and the peak
# memory of the --each run with all cores.
#
# Usage: bash bench/each_text.sh [path/to/quillprint-cli] [RUNS]
set -euo pipefail

here="$(cd "$(dirname "$0")/.." && pwd)"
cli="${1:-$here/build/bin/quillprint-cli}"
runs="${2:-3}"
corpus="${QUILLPRINT_CORPUS:-$here/data/federalist}"
source "$here/bench/best_of.sh"
source "$here/bench/federalist_layout.sh"

[ -x "$cli" ] || { echo "quillprint-cli not found at $cli (build it, or pass its path)" >&2; exit 2; }
[ -f "$corpus/authors.tsv" ] || { echo "Federalist corpus not found at $corpus" >&2; exit 2; }
corpus="$(cd "$corpus" && pwd)"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
federalist_layout "$corpus" "$work"
batch="$work/batch"

separate_runs() {
    for file in "${disputed[@]}"; do "$cli" --locale en_US "$@" "$work/single/$file" >/dev/null; done
}

cores=$(nproc)
printf 'mode\truns\tseconds\tratio to separate runs\n'
for mode in plain balance; do
    options=()
    [ "$mode" = balance ] && options=(--balance)
    separate=$(best_of "$runs" separate_runs "${options[@]}")
    printf '%s\t12 separate runs\t%s\t1.00\n' "$mode" "$separate"
    for jobs in $(seq 1 "$cores"); do
        each=$(best_of "$runs" "$cli" --locale en_US --each --jobs "$jobs" "${options[@]}" "$batch")
        printf '%s\t--each --jobs %s\t%s\t%s\n' "$mode" "$jobs" "$each" \
            "$(awk -v a="$each" -v b="$separate" 'BEGIN { printf "%.2f", a / b }')"
    done
    peak=$(/usr/bin/time -f '%M' "$cli" --locale en_US --each "${options[@]}" "$batch" 2>&1 >/dev/null | tail -n 1)
    printf '%s\tpeak memory of --each with %s jobs\t%s MiB\n' "$mode" "$cores" "$((peak / 1024))"
done
