#!/usr/bin/env python3
"""Checks that the golden files of the tutorial example agree with each other:
every table is read back against the engine state in tutorial-engine.json.
Usage: check_golden.py GOLDEN_DIR"""
import json
import sys
from pathlib import Path

folder = Path(sys.argv[1] if len(sys.argv) > 1 else Path(__file__).parent)
engine = json.loads((folder / "tutorial-engine.json").read_text(encoding="utf-8"))
authors = engine["authors"]
test = len(authors) - 1
final = {phrase["value"]: phrase for phrase in engine["phrases"]}
failures = []


def check(condition, message):
    if not condition:
        failures.append(message)


def rows(name):
    return [line.split("\t") for line in (folder / name).read_text(encoding="utf-8").splitlines()]


def percent(koef):
    # Half to even, as the tables round.
    return f"{round(koef * 100)}%"


def verdict(koef):
    if 0.75 <= koef < 2:
        return "Most likely"
    if 0.5 <= koef < 0.75:
        return "Maybe"
    return "Hardly"


# Summary: the engine's summary with each CR made a line feed.
check((folder / "tutorial-summary.txt").read_text(encoding="utf-8") == engine["summary"].replace("\r", "\n"),
      "tutorial-summary.txt is not the engine's summary")

# Result: every candidate with its score as percentage and verdict and its
# word count, best first, the unknown text last.
result = rows("tutorial-result.tsv")
candidates = sorted(authors[:test], key=lambda a: -a["koef"])
check([r[0] for r in result[1:]] == [a["name"] for a in candidates] + ["Unknown"], "result: names or order")
for row, author in zip(result[1:], candidates):
    check(row[1:] == [percent(author["koef"]), verdict(author["koef"]), str(author["words"])], f"result: {row}")

# Analysis: the scored phrases (used by the unknown text, by some other text,
# and by exactly one candidate) in the engine's order with their counts.
analysis = rows("tutorial-analysis.tsv")
check(analysis[0][1:] == [f"{a['name']}: {percent(a['koef'])}" for a in authors[:test]] + ["Unknown"],
      "analysis: header")
scored = [p for p in engine["phrases"]
          if p["counts"][test] >= 1 and p["instances"] != p["counts"][test] and p["unique"] != -1]
check([r[0] for r in analysis[1:]] == [p["value"] for p in scored], "analysis: phrases")
for row, phrase in zip(analysis[1:], scored):
    check([int(c) for c in row[1:]] == phrase["counts"], f"analysis: counts of {row[0]}")

# Stylometry: phrases of the chosen author that are in the final list, with
# the author's count and how many other authors use them.
for index, name in ((0, "tutorial-stylometry-0.tsv"), (3, "tutorial-stylometry-3.tsv")):
    own = set(authors[index]["phrases"])
    for row in rows(name)[1:]:
        phrase = final.get(row[0])
        check(phrase is not None and row[0] in own, f"{name}: {row[0]} is not a phrase of the author")
        if phrase:
            check(row[1:] == [str(phrase["counts"][index]), str(phrase["authors"] - 1)], f"{name}: {row}")

# Validation of the loaded tree: "Unknown" is its first entry, so nothing is
# held back and every score is 0.
validation = rows("tutorial-validation.tsv")
check([r[1:3] for r in validation[1:-1]] == [["0%", "Hardly"]] * test, "validation: scores")
check(validation[-1][3] == "0", "validation: the unknown text is empty")

for failure in failures:
    print("golden files disagree:", failure, file=sys.stderr)
sys.exit(1 if failures else 0)
