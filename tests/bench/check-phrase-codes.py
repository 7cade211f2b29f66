#!/usr/bin/env python3
"""An independent reference for phrase codes under the default rules
(PhraseRule=1): two characters take the first two code letters of each; three
take the first letter of the first two and the first two of the third; four
or more take the first letter of the first three and of the last. A
character's code is its longest one in the table (the last of equal length);
a character without one makes the phrase uncodable (empty code).

Usage: check-phrase-codes.py TABLE.txt ENCODED.tsv
  TABLE.txt    our code table (UTF-16)
  ENCODED.tsv  `tidetool encode` output for the table's multi-character words
Prints how many derived codes agree with this reference (must be all) and how
many equal the code the table lists for the phrase.
"""
import sys

def read_table(path):
    text = open(path, "rb").read().decode("utf-16")
    entries = text.split("[CODETABLE]", 1)[1].splitlines()
    for line in entries:
        line = line.strip(" ")
        if not line:
            continue
        code, _, rest = line.partition("\t")
        word = rest.split("\t")[0].strip(" ")
        yield code.strip(" "), word

def main():
    table, encoded = sys.argv[1], sys.argv[2]
    char_code = {}
    phrases = []
    for code, word in read_table(table):
        if len(word) == 1:
            if len(code) >= len(char_code.get(word, "")):
                char_code[word] = code[:4]
        elif len(word) > 1:
            phrases.append((code, word))

    def reference(word):
        codes = [char_code.get(c, "") for c in word]
        if any(not c for c in codes):
            return ""
        n = len(word)
        if n == 2:
            picks = [(0, 0), (0, 1), (1, 0), (1, 1)]
        elif n == 3:
            picks = [(0, 0), (1, 0), (2, 0), (2, 1)]
        else:
            picks = [(0, 0), (1, 0), (2, 0), (n - 1, 0)]
        out = ""
        for char, letter in picks:
            if letter >= len(codes[char]):
                break
            out += codes[char][letter]
        return out

    derived = {}
    for line in open(encoded, encoding="utf-8"):
        word, _, code = line.rstrip("\n").partition("\t")
        derived[word] = code
    disagree = [w for _, w in phrases if derived.get(w) != reference(w)]
    listed = sum(1 for code, w in phrases if derived.get(w) == code)
    print(f"phrases: {len(phrases)}; tidetool agrees with the reference on "
          f"{len(phrases) - len(disagree)}; derived code equals the listed code for "
          f"{listed} ({100.0 * listed / len(phrases):.1f}%)")
    for w in disagree[:10]:
        print(f"  disagreement: {w} tidetool={derived.get(w)!r} reference={reference(w)!r}")
    sys.exit(1 if disagree else 0)

main()
