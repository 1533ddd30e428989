#!/usr/bin/env bash
# A fresh clone must build, test and benchmark with nothing beside it: no build
# file, script or source may reach into a folder next to the repository (such
# as the sibling "shared" folder some checkouts have). Fails listing the lines
# that do.
set -euo pipefail
root="$1"
cd "$root"
# The pattern is put together here so that this script does not match itself.
sibling='\.\./'"shared"
patterns=('*CMakeLists.txt' '*.cmake' '*.sh' '*.py' '*.cpp' '*.h' '*.in' '*.slurm' '.ci/*' 'tools/*')
if command -v git >/dev/null 2>&1 && git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  found=$(git ls-files -z -- "${patterns[@]}" | xargs -0 grep -nE "$sibling" || true)
else
  # A source tree without git (an unpacked archive): every file but builds.
  found=$(grep -rnE --exclude-dir='build*' --exclude-dir=.git "$sibling" . || true)
fi
if [ -n "$found" ]; then
  echo "These lines read from outside the repository:" >&2
  echo "$found" >&2
  exit 1
fi
echo "nothing reads from outside the repository"
