#!/usr/bin/env bash
# Whole-program timing of quillprint-cli on the example projects built beside
# it: the plain calculation, the balanced one (--balance, nine draws) and the
# validation report with balance, best of N runs each.
#
# Usage: bash bench/balanced_examples.sh [path/to/quillprint-cli] [runs]
set -euo pipefail

here="$(cd "$(dirname "$0")/.." && pwd)"
cli="${1:-$here/build/bin/quillprint-cli}"
runs="${2:-3}"
examples="$(dirname "$cli")/Examples"

[ -x "$cli" ] || { echo "quillprint-cli not found at $cli (build it, or pass its path)" >&2; exit 2; }
[ -d "$examples" ] || { echo "no example projects at $examples (build the target quillprint_examples)" >&2; exit 2; }

# shellcheck source=bench/best_of.sh
source "$(dirname "${BASH_SOURCE[0]}")/best_of.sh"

export LANG=en_US.UTF-8 LC_ALL=
printf 'example\tplain s\t--balance s\t--validation-report --balance s\n'
for project in "$examples"/*/; do
    name="$(basename "$project")"
    printf '%s\t%s\t%s\t%s\n' "$name" \
        "$(best_of "$runs" "$cli" --locale en_US "$project")" \
        "$(best_of "$runs" "$cli" --locale en_US --balance "$project")" \
        "$(best_of "$runs" "$cli" --locale en_US --balance --validation-report "$project")"
done
