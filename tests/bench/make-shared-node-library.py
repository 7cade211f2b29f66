#!/usr/bin/env python3
"""Writes a hostile word library: `make-shared-node-library.py SMALL.imc RECORDS OUT.imc`.

Its index shares nodes: every letter of the root leads to node A, every letter
of A to B, every letter of B to C, and C holds a chain of RECORDS records. A
walk that follows links without noticing the sharing visits the chain 26^3
times (90,000 records: about 50 GB of exported text). The header and
character table are taken from SMALL.imc (tests/fixtures/dict/small.imc).
"""
import struct
import sys

NODE = 108


def main(small, records, out):
    data = bytearray(open(small, "rb").read())
    root = struct.unpack_from("<I", data, 188)[0]
    data = data[:root]

    def append(size):
        offset = len(data)
        data.extend(b"\0" * size)
        return offset

    parent = append(NODE)
    for _ in range(3):
        child = append(NODE)
        for letter in range(26):
            struct.pack_into("<I", data, parent + 4 * letter, child)
        parent = child
    link = parent + 104
    for _ in range(records):
        record = append(8 + 1 + 4)  # next, weight, empty tail, one character
        struct.pack_into("<I", data, link, record)
        struct.pack_into("<IBH", data, record + 4, 1, 0, ord("字"))
        link = record
    struct.pack_into("<I", data, 192, len(data))
    open(out, "wb").write(data)


if __name__ == "__main__":
    main(sys.argv[1], int(sys.argv[2]), sys.argv[3])
