#!/usr/bin/env python3
"""A table maker's figures of a code table, counted here from the table's
text alone, to hold against `tidetool stats --json`.

Usage:
  table-stats.py stats FORMAT TABLE
      the figures as JSON, with the keys of `tidetool stats --json`
  table-stats.py compare EXPECTED.json ACTUAL.json [KEY...]
      every key (or those named) of the two must agree; rates within 1e-9
  table-stats.py sample FORMAT TABLE
      words worth looking up, one a line: characters with several codes,
      words far down their code's candidates, a phrase of two characters the
      table lacks, a character it lacks
  table-stats.py lookup FORMAT TABLE WORD...
      the lines `tidetool lookup` prints for the words, from the table's
      own lines: each entry's code and its place among the code's entries
      in candidate order, shortest code first; a word the table lacks gets
      the code its rules give
FORMAT is rime (a *.dict.yaml, import_tables followed) or tide (this
program's code table: UTF-16 with a byte-order mark; what `stats` measures
after compiling it).

What is counted, one meaning each:
- An entry is a line with a word and a code. A character entry's word is one
  character with a library code slot (SLOT_RANGES); every other entry is a
  phrase entry. A rule phrase is a word of two characters or more.
- A full code is as long as the code length: tide's CodeLength=; for Rime the
  longest code or rule. A short code is shorter.
- A code's candidates are its entries by falling weight (Rime, unless
  `sort: original`), else as listed.
- A character's code for the rules: its longest code of letters a-z (of
  equal lengths the last listed), the second code for tide tables with
  BWCodeLength= (not read here: such tables are refused).
- Rule codes: Rime's first rule covering the length (for a longer phrase than
  any covers, the rule of the longest); tide's rule i serves length i+2, the
  last every longer one. Elements in order; a character outside the phrase
  or a letter past its code ends the code; a character a rule reads without a
  code leaves the phrase without one. A listed code that begins the rule
  code is a short code, not a mismatch.
"""
import importlib.util
import json
import math
import os
import re
import sys

# The code points a library has a code slot for (CharSlots.cpp).
SLOT_RANGES = [
    (0x2E80, 0x2EF3), (0x2F00, 0x2FD5), (0x3007, 0x3007), (0x31C0, 0x31E3),
    (0x3400, 0x4DBF), (0x4E00, 0x9FFC), (0xE815, 0xE864), (0xF900, 0xFAD9),
    (0x20000, 0x2A6DD), (0x2A700, 0x2B734), (0x2B740, 0x2B81D), (0x2B820, 0x2CEA1),
    (0x2CEB0, 0x2EBE0), (0x2F800, 0x2FA1D), (0x30000, 0x3134A),
]
BLOCKS = {
    "cjkBasic": [(0x4E00, 0x9FFC)],
    "extA": [(0x3400, 0x4DBF)],
    "extBPlus": [(0x20000, 0x2A6DD), (0x2A700, 0x2B734), (0x2B740, 0x2B81D),
                 (0x2B820, 0x2CEA1), (0x2CEB0, 0x2EBE0), (0x30000, 0x3134A)],
    "compatibility": [(0xF900, 0xFAD9), (0x2F800, 0x2FA1D)],
    "privateUse": [(0xE815, 0xE864)],
}
MANY = 10


class SourceError(Exception):
    pass


def has_slot(c):
    n = ord(c)
    return any(a <= n <= b for a, b in SLOT_RANGES)


def gb2312():
    """The characters of GB 2312, from Python's own codec."""
    chars = set()
    for lead in range(0xB0, 0xF8):
        for trail in range(0xA1, 0xFF):
            try:
                chars.add(bytes([lead, trail]).decode("gb2312"))
            except UnicodeDecodeError:
                pass
    return chars


def rule_codes_module():
    """rule-codes.py beside this script, for its reading of Rime's header."""
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "rule-codes.py")
    spec = importlib.util.spec_from_file_location("rule_codes", path)
    module = importlib.util.module_from_spec(spec)
    spec.loader.exec_module(module)
    return module


# ---- reading ----

class Table:
    def __init__(self):
        self.entries = []  # (code, word, weight) as listed
        self.code_length = 0
        self.by_weight = False
        self.rule_for = None  # length -> elements [(from_end, char, letter_from_end, letter)]
        self.has_rules = False
        self.user_entries = 0


def read_rime_file(path, rc):
    with open(path, "rb") as f:
        text = f.read().decode("utf-8", errors="replace")
    if text.startswith("\ufeff"):
        text = text[1:]
    lines = [line[:-1] if line.endswith("\r") else line for line in text.split("\n")]
    try:
        end = next(i for i, line in enumerate(lines) if line.rstrip(" \t") == "...")
    except StopIteration:
        raise SourceError(f"{path}: no line '...' ends the YAML header")
    header = rc.parse_yaml(lines[:end])
    return header, lines[end + 1:]


def read_rime(path):
    rc = rule_codes_module()
    table = Table()
    header, body = read_rime_file(path, rc)
    table.by_weight = header.get("sort", "by_weight") != "original"
    rules = rc.rime_rules(header)
    table.has_rules = bool(rules)
    longest_rule = max((len(e) for _, _, e in rules), default=0)
    ends = max((last for _, last, _ in rules), default=0)

    def rule_for(n):
        for first, last, elements in rules:
            if first <= n <= last or (n > ends and first <= ends <= last):
                return [(c < 0, abs(c), l < 0, abs(l)) for c, l in elements]
        return None
    table.rule_for = rule_for

    folder = os.path.dirname(path)
    read, chain = set(), [os.path.basename(path)[:-len(".dict.yaml")]]

    def take(header, body):
        columns = header.get("columns") or ["text", "code", "weight"]
        at = {name: columns.index(name) for name in ("text", "code", "weight") if name in columns}
        comments = True
        for line in body:
            line = line.rstrip(" \t")
            if not line:
                continue
            if line.startswith("#") and comments:
                comments = line != "# no comment"
                continue
            fields = line.split("\t")
            field = lambda name: fields[at[name]] if name in at and at[name] < len(fields) else ""
            word, code = field("text"), field("code").strip(" \t\r\n\v\f")
            if not word or not code:
                continue
            weight = 0.0
            if table.by_weight:
                try:
                    weight = float(field("weight").strip()) if field("weight").strip() else 0.0
                except ValueError:
                    weight = 0.0
            table.entries.append((code, word, weight))
        for name in header.get("import_tables") or []:
            if name in chain:
                raise SourceError(f"import_tables: a cycle through {name}")
            if name in read:
                continue
            read.add(name)
            chain.append(name)
            take(*read_rime_file(os.path.join(folder, name + ".dict.yaml"), rc))
            chain.pop()

    take(header, body)
    table.code_length = max([longest_rule] + [len(c) for c, _, _ in table.entries])
    return table


def tide_rule(line):
    """(length, elements) of a rule line "pa2=w11+w12+w21+w22"."""
    match = re.fullmatch(r"p[ae]([2-9])=([wr][0-9a-z][0-9a-z](\+[wr][0-9a-z][0-9a-z])*)", line)
    if not match:
        raise SourceError(f"rule line {line!r}")
    number = lambda c: int(c, 36)
    elements = [(e[0] == "r", number(e[1]), False, number(e[2])) for e in match.group(2).split("+")]
    return int(match.group(1)), elements


DEFAULT_RULES = ["pa2=w11+w12+w21+w22", "pa3=w11+w21+w31+w32", "pe4=w11+w21+w31+r11"]


def read_tide(path):
    with open(path, "rb") as f:
        data = f.read()
    if not data.startswith(b"\xff\xfe"):
        raise SourceError(f"{path}: no UTF-16 byte-order mark")
    text = data[2:len(data) - len(data) % 2].decode("utf-16-le", errors="replace").rstrip("\0")
    lines = [line.strip(" ") for line in re.split(r"\r\n|\r|\n", text)]
    if not lines or lines[0] != "[CODETABLEHEADER]":
        raise SourceError(f"{path}: no header")
    fields = dict(line.split("=", 1) for line in lines[1:10])
    if int(fields["BWCodeLength"]) != 0:
        raise SourceError(f"{path}: second codes (BWCodeLength=) are not read here")
    table = Table()
    table.code_length = int(fields["CodeLength"])
    phrase_rule = int(fields["PhraseRule"])
    at = 10
    rule_lines = DEFAULT_RULES if phrase_rule == 1 else []
    while lines[at] != "[CODETABLE]":
        rule_lines = rule_lines + [lines[at]]
        at += 1
    slots = dict(tide_rule(line) for line in rule_lines)
    count = 3 if phrase_rule == 1 else phrase_rule
    table.has_rules = phrase_rule != 0
    table.rule_for = lambda n: slots.get(min(n, count + 1)) if table.has_rules else None
    for line in lines[at + 1:]:
        if not line:
            continue
        code, _, rest = line.partition("\t")
        word, _, weight = rest.partition("\t")
        number = re.match(r"[ \t]*([+-]?[0-9]*)", weight).group(1)
        if int(number if number.lstrip("+-") else 0) & 0xFFFF in (251, 252, 253):
            table.user_entries += 1
        table.entries.append((code.strip(" "), word.split("\0")[0].strip(" "), 0.0))
    return table


def read_table(form, path):
    if form == "rime":
        return read_rime(path)
    if form == "tide":
        return read_tide(path)
    raise SourceError(f"unknown format {form!r} (rime or tide)")


# ---- counting ----

def candidates_by_code(table):
    """Each code's entries (indexes) in candidate order."""
    groups = {}
    for i, (code, _, _) in enumerate(table.entries):
        groups.setdefault(code, []).append(i)
    if table.by_weight:
        for group in groups.values():
            group.sort(key=lambda i: -table.entries[i][2])  # stable: ties as listed
    return groups


def character_codes(table):
    codes = {}
    for code, word, _ in table.entries:
        if len(word) == 1 and has_slot(word) and re.fullmatch(r"[a-z]+", code):
            if len(code) >= len(codes.get(word, "")):
                codes[word] = code[:table.code_length]
    return codes


def rule_code(table, codes, word):
    elements = table.rule_for(len(word))
    if elements is None:
        return ""
    out, ended = "", False
    for from_end, char, letter_from_end, letter in elements[:table.code_length]:
        if char == 0 or char > len(word):
            ended = True
            continue
        code = codes.get(word[len(word) - char] if from_end else word[char - 1], "")
        if not code:
            return ""
        if letter == 0 or letter > len(code):
            ended = True
        if not ended:
            out += code[len(code) - letter] if letter_from_end else code[letter - 1]
    return out


def share(count, of):
    return {"count": count, "of": of, "rate": count / of if of else 0.0}


def statistics(table):
    entries = table.entries
    is_char = [len(w) == 1 and has_slot(w) for _, w, _ in entries]
    longest = max([12, table.code_length] + [len(c) for c, _, _ in entries])
    lengths = {"characters": {str(n): 0 for n in range(1, longest + 1)},
               "phrases": {str(n): 0 for n in range(1, longest + 1)}}
    for (code, _, _), char in zip(entries, is_char):
        lengths["characters" if char else "phrases"][str(len(code))] += 1

    groups = candidates_by_code(table)
    candidates = {str(n): 0 for n in range(1, MANY)}
    candidates[f"{MANY}+"] = 0
    later = total = 0.0
    duplicates = 0
    for group in groups.values():
        key = str(len(group)) if len(group) < MANY else f"{MANY}+"
        candidates[key] += 1
        weights = [entries[i][2] for i in group]
        total += sum(weights)
        later += sum(weights[1:])
        words = [entries[i][1] for i in group]
        duplicates += len(words) - len(set(words))
    weighted = table.by_weight and total > 0
    shared_entries = sum(len(g) for g in groups.values() if len(g) > 1)

    full, short = {}, {}
    full_owners = {}
    for (code, word, _), char in zip(entries, is_char):
        if not char:
            continue
        if len(code) >= table.code_length:
            full.setdefault(word, set()).add(code)
            full_owners.setdefault(code, set()).add(word)
        else:
            short.setdefault(word, set()).add(code)
    shared_chars = sum(1 for word, codes in full.items()
                       if any(len(full_owners[c]) > 1 for c in codes))
    present = set(full) | set(short)

    used = {code for code, _, _ in entries}
    empty = {str(n): sum(1 for c in all_codes(n) if c not in used) for n in (1, 2, 3)}

    gb = gb2312()
    coverage = {"gb2312": {"present": len(present & gb), "missing": len(gb - present)}}
    for name, ranges in BLOCKS.items():
        size = sum(b - a + 1 for a, b in ranges)
        inside = sum(1 for c in present if any(a <= ord(c) <= b for a, b in ranges))
        coverage[name] = {"present": inside, "missing": size - inside}

    singles = {w for _, w, _ in entries if len(w) == 1}
    uncoded = set()
    mismatches = underived = 0
    codes = character_codes(table)
    for (code, word, _), char in zip(entries, is_char):
        if char or len(word) < 2:
            continue
        uncoded |= {c for c in word if c not in singles}
        if not table.has_rules:
            continue
        derived = rule_code(table, codes, word)
        if derived != code and not (len(code) < len(derived) and derived.startswith(code)):
            mismatches += 1
            underived += 0 if derived else 1

    return {
        "codeLength": table.code_length,
        "entries": len(entries),
        "characters": sum(is_char),
        "phrases": len(entries) - sum(is_char),
        "codes": len(groups),
        "userEntries": table.user_entries,
        "lengths": lengths,
        "candidates": candidates,
        "firstLetters": {letter: sum(1 for code in groups if code[0] == letter)
                         for letter in "abcdefghijklmnopqrstuvwxyz"},
        "staticDuplicateRate": {"characters": share(shared_chars, len(full)),
                                "entries": share(shared_entries, len(entries))},
        "selectionRate": {"weights": "table" if weighted else "none",
                          "rate": later / total if weighted else None},
        "emptyCodes": empty,
        "characterCodes": {"shortOnly": len(set(short) - set(full)),
                           "fullOnly": len(set(full) - set(short)),
                           "fullAndShort": len(set(full) & set(short))},
        "coverage": coverage,
        "duplicates": duplicates,
        "ruleMismatches": mismatches if table.has_rules else None,
        "underivedPhrases": underived if table.has_rules else None,
        "uncodedCharacters": len(uncoded),
    }


def all_codes(n):
    letters = "abcdefghijklmnopqrstuvwxyz"
    codes = [""]
    for _ in range(n):
        codes = [c + l for c in codes for l in letters]
    return codes


def lookup(table, words):
    groups = candidates_by_code(table)
    place = {}
    for group in groups.values():
        for k, i in enumerate(group):
            place[i] = k + 1
    lines = []
    codes = character_codes(table)
    for word in words:
        found = sorted(((table.entries[i][0], place[i]) for i in range(len(table.entries))
                        if table.entries[i][1] == word), key=lambda p: (len(p[0]), p[0]))
        for code, position in found:
            lines.append(f"{word}\t{code}\t{position}")
        if not found:
            derived = rule_code(table, codes, word) if len(word) > 1 and table.has_rules else ""
            lines.append(f"{word}\t{derived}\t" + ("规则" if derived else "无编码"))
    return lines


def sample(table):
    words = []
    several = {}
    for code, word, _ in table.entries:
        if len(word) == 1 and has_slot(word):
            several.setdefault(word, set()).add(code)
    words += [w for w, codes in several.items() if len(codes) > 1][:3]
    far = []
    for group in candidates_by_code(table).values():
        far += [table.entries[i][1] for i in group[2:3]]
    words += far[:3]
    # Two characters whose one longest code the rules read, with no entry
    # for them together.
    codes = character_codes(table)
    unique = [w for w, code in codes.items()
              if sum(1 for c in several[w] if len(c) == len(code)) == 1]
    listed = {w for _, w, _ in table.entries}
    words += [a + b for a, b in zip(unique, unique[1:]) if a + b not in listed][:1]
    words += [chr(n) for n in range(0x4E00, 0x9FFD) if chr(n) not in listed][:1]
    return words


# ---- comparing ----

def differences(expected, actual, where=""):
    if isinstance(expected, dict) and isinstance(actual, dict):
        found = []
        for key in sorted(set(expected) | set(actual)):
            if key not in expected or key not in actual:
                found.append(f"{where}{key}: only in {'actual' if key in actual else 'expected'}")
            else:
                found += differences(expected[key], actual[key], f"{where}{key}.")
        return found
    if isinstance(expected, float) or isinstance(actual, float):
        if (isinstance(expected, (int, float)) and isinstance(actual, (int, float))
                and math.isclose(expected, actual, rel_tol=1e-9, abs_tol=1e-12)):
            return []
    elif expected == actual:
        return []
    return [f"{where.rstrip('.')}: expected {expected!r}, got {actual!r}"]


def main(argv):
    out = open(sys.stdout.fileno(), "w", encoding="utf-8", closefd=False)
    if len(argv) == 4 and argv[1] == "stats":
        json.dump(statistics(read_table(argv[2], argv[3])), out, ensure_ascii=False, indent=2)
        out.write("\n")
        return 0
    if len(argv) >= 4 and argv[1] == "compare":
        with open(argv[2], encoding="utf-8") as f:
            expected = json.load(f)
        with open(argv[3], encoding="utf-8") as f:
            actual = json.load(f)
        keys = argv[4:] or sorted(set(expected) | set(actual))
        found = differences({k: expected.get(k) for k in keys}, {k: actual.get(k) for k in keys})
        for line in found[:20]:
            out.write(line + "\n")
        return 1 if found else 0
    if len(argv) == 4 and argv[1] == "sample":
        for word in sample(read_table(argv[2], argv[3])):
            out.write(word + "\n")
        return 0
    if len(argv) >= 5 and argv[1] == "lookup":
        for line in lookup(read_table(argv[2], argv[3]), argv[4:]):
            out.write(line + "\n")
        return 0
    sys.stderr.write(__doc__.split("\n\n")[1] + "\n")
    return 2


if __name__ == "__main__":
    try:
        sys.exit(main(sys.argv))
    except (SourceError, OSError, UnicodeDecodeError, KeyError, ValueError) as error:
        sys.stderr.write(f"table-stats.py: {error}\n")
        sys.exit(2)
