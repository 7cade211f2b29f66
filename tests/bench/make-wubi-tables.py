#!/usr/bin/env python3
"""Builds benchmark inputs from a real shape-based table in a Debian package:
the Wubi 86 dictionary of rime-data-wubi (about 136,000 entries).

Usage: make-wubi-tables.py DICT_YAML OUT_DIR

Writes, with the same entries in the same order:
  OUT_DIR/wubi86.txt        our code table (UTF-16 LE with BOM, CR LF)
  OUT_DIR/wubi86-peer.txt   the text form read by fcitx's txt2mb and libime_tabledict
  OUT_DIR/wubi86.count      the number of entries, counted here independently
The converted tables stay out of the repository (their licence is the package's).
"""
import os
import sys

def entries(path):
    in_body = False
    with open(path, encoding="utf-8") as source:
        for line in source:
            line = line.rstrip("\n")
            if not in_body:
                in_body = line == "..."
                continue
            if not line or line.startswith("#"):
                continue
            fields = line.split("\t")
            if len(fields) < 2:
                continue
            word, code = fields[0], fields[1]
            if not code or not all("a" <= c <= "z" for c in code) or "\t" in word:
                continue
            yield code, word

def main():
    source, out_dir = sys.argv[1], sys.argv[2]
    os.makedirs(out_dir, exist_ok=True)
    rows = list(entries(source))
    header = [
        "[CODETABLEHEADER]", "Name=五笔86", "Version=rime-data-wubi", "Author=Debian",
        "CodeScheme=五笔字型", "CodeLength=4", "BWCodeLength=0", "SpecialPrefix=0",
        "WildChar=z", "PhraseRule=1", "[CODETABLE]",
    ]
    ours = "\r\n".join(header + [f"{code}\t{word}" for code, word in rows]) + "\r\n"
    with open(os.path.join(out_dir, "wubi86.txt"), "wb") as out:
        out.write(b"\xff\xfe" + ours.encode("utf-16-le"))
    peer = [
        "KeyCode=abcdefghijklmnopqrstuvwxyz", "Length=4", "Pinyin=@", "PinyinLength=4",
        "[Rule]", "e2=p11+p12+p21+p22", "e3=p11+p21+p31+p32", "a4=p11+p21+p31+n11", "[Data]",
    ]
    with open(os.path.join(out_dir, "wubi86-peer.txt"), "w", encoding="utf-8") as out:
        out.write("\n".join(peer + [f"{code} {word}" for code, word in rows]) + "\n")
    with open(os.path.join(out_dir, "wubi86.count"), "w") as out:
        out.write(f"{len(rows)}\n")
    print(f"{len(rows)} entries")

main()
