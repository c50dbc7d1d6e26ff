#!/usr/bin/python3
"""An independent model of the keyword search, for checking `pagelathe keywords` row for row.

    bench/keywords_reference.py [--min-length N] [--min-frequency N] [--case-sensitive] FILE

Written from the rules, not from the engine: the file is UTF-8 when its bytes are, else
Windows-1251; lines end at CR LF, CR or LF and a NUL ends the text; ".", ",", "?", "!", "*"
and "-" are deleted and the line is cut at every blank; a word is kept when it has at least
N characters after NFC; the words are sorted (stably) by the fixed order of sorted lists and
each run of equal neighbours (NFC, then Unicode simple case folding unless case-sensitive)
gives a row "count<TAB>last word of the run" when it is long enough; the rows come highest
count first, as the Search button leaves them. The character data comes from Python's own
unicodedata (NFC, letters, digits, decompositions) and ICU (simple case folding only).
"""
import argparse
import sys
import unicodedata

import icu


def decode(data: bytes) -> str:
    try:
        return data.decode("utf-8")
    except UnicodeDecodeError:
        # Windows-1251, with 0x98 (no character) as U+0098 so that every byte has one.
        return "".join("\u0098" if b == 0x98 else bytes([b]).decode("cp1251") for b in data)


def lines_of(text: str):
    text = text.split("\0", 1)[0]
    lines = text.replace("\r\n", "\n").replace("\r", "\n").split("\n")
    if lines and lines[-1] == "":
        lines.pop()
    return lines


def fold(word: str) -> str:
    return "".join(chr(icu.Char.foldCase(ord(c), 0)) for c in word)  # simple, per code point


def weight(c: str):
    if unicodedata.category(c) == "Nd":
        return (1, unicodedata.decimal(c), ord(c))
    if unicodedata.category(c).startswith("L"):
        return (2, ord(fold(unicodedata.normalize("NFD", c)[0])), ord(c))
    return (0, ord(c), ord(c))


def sort_key(word: str):
    return [weight(c) for c in fold(unicodedata.normalize("NFC", word))]


def main() -> int:
    parser = argparse.ArgumentParser()
    parser.add_argument("--min-length", type=int, default=4)
    parser.add_argument("--min-frequency", type=int, default=4)
    parser.add_argument("--case-sensitive", action="store_true")
    parser.add_argument("file")
    options = parser.parse_args()
    with open(options.file, "rb") as f:
        text = decode(f.read())
    words = []
    for line in lines_of(text):
        for mark in ".,?!*-":
            line = line.replace(mark, "")
        for piece in line.split(" "):
            piece = unicodedata.normalize("NFC", piece)
            if len(piece) >= options.min_length:
                words.append(piece)
    words.sort(key=sort_key)  # stable: forms of one word keep the order of the text
    same = (lambda a, b: a == b) if options.case_sensitive else (lambda a, b: fold(a) == fold(b))
    rows = []
    run = 0
    for p, word in enumerate(words):
        run += 1
        if p + 1 < len(words) and same(word, words[p + 1]):
            continue
        if run >= options.min_frequency:
            rows.append((run, word))
        run = 0
    rows.sort(key=lambda row: -row[0])  # stable, as the count column's first sort
    out = sys.stdout.buffer
    for count, word in rows:
        out.write(f"{count}\t{word}\n".encode("utf-8", "surrogateescape"))
    return 0


if __name__ == "__main__":
    sys.exit(main())
