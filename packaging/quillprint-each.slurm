#!/usr/bin/env bash
# One shard of a Quillprint run over many disputed texts, as a Slurm job
# array: task K of N attributes every N-th text of the project's "Unknown"
# folder, starting with the K-th, and writes shard-K.tsv into the folder the
# job was submitted from (never into the project). Only task 1 writes the
# header line.
#
#   sbatch --array=1-N quillprint-each.slurm PROJECT_DIR [more quillprint-cli options]
#   # when every task has ended:
#   cat shard-*.tsv | sort -s -t "$(printf '\t')" -k1,1n > texts.tsv
#
#SBATCH --job-name=quillprint-each
#SBATCH --cpus-per-task=4
#SBATCH --output=quillprint-each-%A_%a.log
set -euo pipefail

if [ $# -lt 1 ]; then
    echo "usage: sbatch --array=1-N $0 PROJECT_DIR [quillprint-cli options]" >&2
    exit 2
fi
: "${SLURM_ARRAY_TASK_ID:?run this script as a job array: sbatch --array=1-N}"
: "${SLURM_ARRAY_TASK_COUNT:?run this script as a job array: sbatch --array=1-N}"
project="$1"
shift

k="$SLURM_ARRAY_TASK_ID"
n="$SLURM_ARRAY_TASK_COUNT"
header=()
[ "$k" -eq 1 ] || header=(--no-header)
cli="${QUILLPRINT_CLI:-quillprint-cli}"
out="${SLURM_SUBMIT_DIR:-.}/shard-$k.tsv"

# Write to a temporary name first, so that a half-written shard is never merged.
"$cli" --each --jobs "${SLURM_CPUS_PER_TASK:-1}" --shard "$k/$n" "${header[@]}" "$@" "$project" > "$out.part"
mv "$out.part" "$out"
