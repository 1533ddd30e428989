#!/usr/bin/env bash
# The twelve disputed Federalist papers as one project, split into three
# shards run by GNU parallel and merged as the help shows; the merge must
# equal the one-process --each output byte for byte.
# The Slurm job-array script is run the same way, its array tasks played by
# a loop with the variables Slurm would set.
# Usage: each_shards_parallel.sh QUILLPRINT_CLI FEDERALIST_CORPUS SLURM_SCRIPT
set -euo pipefail
cli="$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"
corpus="$(cd "$2" && pwd)"
slurm_script="$(cd "$(dirname "$3")" && pwd)/$(basename "$3")"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

project="$work/Federalist"
while IFS=$'\t' read -r paper author; do
    file="$(printf 'fp%02d.txt' "$paper")"
    folder="$author"
    [ "$author" = Disputed ] && folder=Unknown
    case "$folder" in Hamilton|Madison|Jay|Unknown) ;; *) continue ;; esac
    mkdir -p "$project/$folder"
    cp "$corpus/papers/$file" "$project/$folder/$file"
done < <(tail -n +2 "$corpus/authors.tsv")

"$cli" --locale en_US --each "$project" > "$work/whole.tsv"

# The recipe: every shard but the first without its header, then a stable
# numeric sort on the first column puts the header (no number) first.
cli_q="$(printf '%q' "$cli")"
project_q="$(printf '%q' "$project")"
parallel --jobs 3 "$cli_q --locale en_US --each --jobs 1 --shard {}/3 \$([ {} = 1 ] || echo --no-header) $project_q" \
    ::: 1 2 3 > "$work/shards.tsv"
sort -s -t "$(printf '\t')" -k1,1n "$work/shards.tsv" > "$work/merged.tsv"

if ! cmp -s "$work/whole.tsv" "$work/merged.tsv"; then
    echo "the merged shards differ from the whole run:" >&2
    diff "$work/whole.tsv" "$work/merged.tsv" >&2 || true
    exit 1
fi
[ "$(wc -l < "$work/merged.tsv")" -eq 13 ] || { echo "expected a header and 12 rows" >&2; exit 1; }
echo "3 shards through GNU parallel merged equal the whole run"

mkdir "$work/slurm"
for k in 1 2 3; do
    (cd "$work/slurm" && SLURM_ARRAY_TASK_ID=$k SLURM_ARRAY_TASK_COUNT=3 SLURM_SUBMIT_DIR="$work/slurm" \
        QUILLPRINT_CLI="$cli" bash "$slurm_script" "$project" --locale en_US)
done
cat "$work/slurm"/shard-*.tsv | sort -s -t "$(printf '\t')" -k1,1n > "$work/slurm-merged.tsv"
if ! cmp -s "$work/whole.tsv" "$work/slurm-merged.tsv"; then
    echo "the merged Slurm shards differ from the whole run:" >&2
    diff "$work/whole.tsv" "$work/slurm-merged.tsv" >&2 || true
    exit 1
fi
echo "3 Slurm array tasks merged equal the whole run"
