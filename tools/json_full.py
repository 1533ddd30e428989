#!/usr/bin/env python3
"""Turns the output of `quillprint-cli --json` into that of `--json-full`:
every phrase record [author, first word, number of words] becomes its text,
the words of "texts" joined by single blanks (a run [author, first word,
words, k] is k records of words, words + 1, ... words); index ranges
[first, last] in an author's "phrases" become every index in between; a kept
phrase's "record" becomes its "value", and a kept phrase written as a bare
record number gets the counts of the phrase before it and the number of words
of its record; "texts" is dropped. The
result is byte for byte what --json-full prints (mind its size: a passage of
n words repeated makes about n^3/6 words of records).
Usage: quillprint-cli --json PROJECT | tools/json_full.py > full.json"""
import json
import sys


def string(value):
    # The escapes quillprint-cli writes: the five short ones, every other C0
    # and C1 control as \\u00XX, everything else as UTF-8.
    short = {'"': '\\"', "\\": "\\\\", "\n": "\\n", "\r": "\\r", "\t": "\\t"}
    out = []
    for c in value:
        if c in short:
            out.append(short[c])
        elif ord(c) < 0x20 or 0x80 <= ord(c) <= 0x9F:
            out.append("\\u%04x" % ord(c))
        else:
            out.append(c)
    return '"' + "".join(out) + '"'


def number(value):
    if isinstance(value, float):
        return "%.17g" % value
    return "null" if value is None else str(value)


def integers(values):
    return "[" + ",".join(str(v) for v in values) + "]"


def main():
    engine = json.loads(sys.stdin.buffer.read().decode("utf-8"))
    texts = engine["texts"]

    def record_texts(item):
        if isinstance(item, str):
            return [item]
        author, first, words = item[:3]
        run = item[3] if len(item) > 3 else 1
        return [" ".join(texts[author][first:first + words + k]) for k in range(run)]

    records = [text for item in engine["records"] for text in record_texts(item)]
    # A bare record number in "phrases" stands only for a record given as a
    # reference, whose number of words it says.
    def words_of(item):
        if isinstance(item, str):
            return [None]
        return [item[2] + k for k in range(item[3] if len(item) > 3 else 1)]

    record_words = [words for item in engine["records"] for words in words_of(item)]

    def kept_phrases():
        previous = None
        for entry in engine["phrases"]:
            if isinstance(entry, int):
                entry = dict(previous, record=entry, words=record_words[entry])
            previous = entry
            yield entry

    def indices(items):
        out = []
        for item in items:
            out.extend(range(item[0], item[1] + 1) if isinstance(item, list) else [item])
        return out

    out = sys.stdout.buffer
    parts = ['{"authors":[']
    parts.append(",".join(
        '{"name":' + string(a["name"]) + ',"words":' + str(a["words"]) + ',"koef":' + number(a["koef"])
        + ',"uniqueNum":' + str(a["uniqueNum"]) + ',"phrases":' + integers(indices(a["phrases"])) + "}"
        for a in engine["authors"]))
    out.write("".join(parts).encode("utf-8"))
    out.write(b'],"records":[')
    for index, record in enumerate(records):
        out.write((b"," if index else b"") + string(record).encode("utf-8"))
    out.write(b'],"phrases":[')
    out.write(",".join(
        '{"value":' + string(records[p["record"]]) + ',"words":' + str(p["words"]) + ',"instances":' + str(p["instances"])
        + ',"counts":' + integers(p["counts"]) + ',"unique":' + str(p["unique"]) + ',"authors":' + str(p["authors"])
        + "}" for p in kept_phrases()).encode("utf-8"))
    out.write(('],"summary":' + string(engine["summary"]) + ',"average":' + str(engine["average"]) + "}\n")
              .encode("utf-8"))


if __name__ == "__main__":
    main()
