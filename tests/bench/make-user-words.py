#!/usr/bin/env python3
"""Writes a user-entry import file of words alone: `make-user-words.py TABLE.txt COUNT OUT.txt`.

The words are distinct pairs of common characters with four-letter codes in
the code table (UTF-16 with byte-order mark), drawn with a fixed seed, so their codes come from the
phrase rules; most are not in the table, so an import adds them. The file is
UTF-16 little-endian with a byte-order mark and CR LF line ends.
"""
import random
import sys


def main(table, count, out):
    text = open(table, "rb").read().decode("utf-16")
    characters = []
    seen = set()
    for line in text.split("[CODETABLE]", 1)[1].splitlines():
        fields = line.split("\t")
        # Common characters with full four-letter codes: every phrase rule finds its letters.
        if (len(fields) >= 2 and len(fields[0]) == 4 and len(fields[1]) == 1
                and "\u4e00" <= fields[1] <= "\u9fff" and fields[1] not in seen):
            seen.add(fields[1])
            characters.append(fields[1])
    rng = random.Random(20261209)
    words = set()
    while len(words) < count:
        words.add(rng.choice(characters) + rng.choice(characters))
    body = "".join(word + "\r\n" for word in sorted(words))
    open(out, "wb").write(b"\xff\xfe" + body.encode("utf-16-le"))


if __name__ == "__main__":
    main(sys.argv[1], int(sys.argv[2]), sys.argv[3])
