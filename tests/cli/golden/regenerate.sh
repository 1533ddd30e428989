#!/usr/bin/env bash
# Writes every golden file again from a built quillprint-cli, checks that the
# files agree with each other, and shows what changed. A changed golden file
# is a changed output: review the diff (and README.md here) before committing.
# Usage: tests/cli/golden/regenerate.sh [path/to/quillprint-cli]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../../.." && pwd)
cli=${1:-$root/build/bin/quillprint-cli}
project=$root/examples/tutorial

# The same pinned locale as the tests.
run() { LANG=en_US.UTF-8 LC_ALL= "$cli" --locale en_US "$@" "$project"; }

run                               > "$here/tutorial-result.tsv"
run --table analysis              > "$here/tutorial-analysis.tsv"
run --table stylometry            > "$here/tutorial-stylometry-0.tsv"
run --table stylometry --author 3 > "$here/tutorial-stylometry-3.tsv"
run --summary                     > "$here/tutorial-summary.txt"
run --json-full                   > "$here/tutorial-engine.json"
run --validation                  > "$here/tutorial-validation.tsv"

python3 "$here/check_golden.py" "$here"
git -C "$root" diff --stat -- "$here"
