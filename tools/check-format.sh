#!/usr/bin/env bash
# Fails when new or edited lines of C++ do not follow .clang-format. Only the
# lines changed since BASE are looked at; the code base is never reformatted
# in bulk. BASE defaults to the merge base with origin/main, or, on main
# itself (as in CI), to the commit before the newest one.
# Usage: tools/check-format.sh [BASE]
set -euo pipefail
cd "$(dirname "$0")/.."
base=${1:-}
if [ -z "$base" ]; then
  if git rev-parse -q --verify origin/main >/dev/null &&
     [ "$(git merge-base HEAD origin/main)" != "$(git rev-parse HEAD)" ]; then
    base=$(git merge-base HEAD origin/main)
  elif git rev-parse -q --verify HEAD~1 >/dev/null; then
    base=HEAD~1
  else
    echo "check-format: no earlier commit to compare with"
    exit 0
  fi
fi
changes=$(git clang-format --diff --extensions cpp,h "$base" -- 2>&1 || true)
case "$changes" in
  *"no modified files to format"* | *"did not modify any files"* | "")
    echo "check-format: the lines changed since $(git rev-parse --short "$base") follow .clang-format"
    ;;
  *)
    echo "$changes"
    echo "check-format: these lines changed since $(git rev-parse --short "$base") do not follow" \
      ".clang-format; run: git clang-format $base" >&2
    exit 1
    ;;
esac
