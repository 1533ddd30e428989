#!/usr/bin/env bash
# Chat exports of about 100 MB through quillprint-cli --extract: a group of
# five writing a million messages, and exports with very many participants
# (every message from another person), which the splitter handles with one
# automaton pass per line. Prints the best wall time of RUNS runs (default 3)
# of --participants and of --into, and the peak memory of --participants.
#
# Usage: bash bench/chat_export.sh [path/to/quillprint-cli] [RUNS]
set -euo pipefail

here="$(cd "$(dirname "$0")/.." && pwd)"
cli="${1:-$here/build/bin/quillprint-cli}"
runs="${2:-3}"
source "$here/bench/best_of.sh"
[ -x "$cli" ] || { echo "quillprint-cli not found at $cli (build it, or pass its path)" >&2; exit 2; }

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# $1 file, $2 megabytes, $3 participants (0: every message from a new one).
make_export() {
    python3 - "$@" <<'PY'
import random, sys
path, megabytes, people = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
words = "the a of and to in is it that we you meet later tonight coffee maybe sure thanks".split()
rng = random.Random(1)
size, i = 0, 0
with open(path, "w", newline="") as f:
    f.write("Date,Time,Sender Name,Sender Phone,Message\r\n")
    while size < megabytes * 1_000_000:
        who = i if people == 0 else rng.randrange(people)
        text = " ".join(rng.choice(words) for _ in range(rng.randrange(3, 25)))
        line = f"{1 + i % 28:02d}/06/2026,{i % 24:02d}:{i % 60:02d},Person {who},+44770090{who:04d},{text}\r\n"
        f.write(line)
        size += len(line)
        i += 1
PY
}

printf 'export\tMB\tparticipants\t--participants s\t--into s\tpeak MB\n'
for spec in "group:100:5" "many:5:0"; do
    IFS=: read -r name megabytes people <<<"$spec"
    file="$work/$name-$megabytes.txt"
    make_export "$file" "$megabytes" "$people"
    count=$(("$(bash -c "\"$cli\" --extract \"$file\" --participants | wc -l")" - 1))
    list=$(best_of "$runs" "$cli" --extract "$file" --participants)
    into_run() { rm -rf "$work/out"; "$cli" --extract "$file" --into "$work/out"; }
    into=$(best_of "$runs" into_run)
    peak=$(/usr/bin/time -f %M "$cli" --extract "$file" --participants 2>&1 >/dev/null | tail -1)
    printf '%s\t%s\t%s\t%s\t%s\t%s\n' "$name" "$megabytes" "$count" "$list" "$into" "$((peak / 1024))"
    rm -f "$file"
done
