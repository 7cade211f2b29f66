#!/usr/bin/env python3
"""Phrase codes from a Rime dict.yaml's or an fcitx text table's own rules,
read here from the source file alone, to hold against what `tidetool encode`
derives from the table `tidetool convert` made of it.

Usage:
  rule-codes.py words FORMAT SOURCE
      the source's multi-character words, each once, one a line
  rule-codes.py check FORMAT SOURCE ENCODED.tsv
      compares each such word's code with ENCODED.tsv, the output of
      `tidetool encode LIB.imc` for those words ("word<TAB>code")
FORMAT is rime (a *.dict.yaml) or fcitx (a text table, as mb2txt writes it).

How a code is derived: a character's code is its longest code among the
single-character entries whose code is all a-z (of equal length, the last in
the file), cut to the table's code length (its longest code or rule, at most
12). A phrase of n characters takes the first rule, in file order, that covers
n; one longer than every rule covers takes the rule that covers the longest
length. The code is the letters the rule's elements pick, in order; an element
whose character is outside the phrase, or whose letter is past that
character's code, gives nothing, and neither does any element after it. A
phrase with a character that has no code, or that no rule covers, gets an
empty code.

A rule here is (first length, last length or None for no end, elements); an
element is (character, letter), each a 1-based position, positive from the
start and negative from the end, or None for an fcitx placeholder ("p00"),
which gives nothing.
"""
import re
import sys

MAX_CODE_LENGTH = 12


class SourceError(Exception):
    pass


def read_lines(path):
    with open(path, "rb") as f:
        text = f.read().decode("utf-8")
    if text.startswith("\ufeff"):
        text = text[1:]
    return [line.rstrip("\r") for line in text.split("\n")]


# ---- Rime: the YAML header, as much of YAML as a dict.yaml header uses ----

def strip_comment(text):
    """The line without a '#' comment (one at the start or after a blank,
    outside quotes)."""
    quote = None
    for i, c in enumerate(text):
        if quote:
            if c == quote:
                quote = None
        elif c in "'\"" and (i == 0 or text[i - 1] in " \t[{,:-"):
            quote = c
        elif c == "#" and (i == 0 or text[i - 1] in " \t"):
            return text[:i].rstrip()
    return text.rstrip()


def split_flow(text):
    """The items of a flow collection's inside, split at top-level commas."""
    items, depth, quote, start = [], 0, None, 0
    for i, c in enumerate(text):
        if quote:
            if c == quote:
                quote = None
        elif c in "'\"":
            quote = c
        elif c in "[{":
            depth += 1
        elif c in "]}":
            depth -= 1
        elif c == "," and depth == 0:
            items.append(text[start:i])
            start = i + 1
    items.append(text[start:])
    return [item.strip() for item in items if item.strip()]


def key_split(text):
    """(key, rest) when the text is "key: rest" or "key:", else None."""
    quote = None
    for i, c in enumerate(text):
        if quote:
            if c == quote:
                quote = None
        elif c in "'\"" and i == 0:
            quote = c
        elif c in "[{" and i == 0:
            return None
        elif c == ":" and (i + 1 == len(text) or text[i + 1] in " \t"):
            return scalar(text[:i].strip()), text[i + 1:].strip()
    return None


def scalar(text):
    text = text.strip()
    if text.startswith("[") and text.endswith("]"):
        return [scalar(item) for item in split_flow(text[1:-1])]
    if text.startswith("{") and text.endswith("}"):
        mapping = {}
        for item in split_flow(text[1:-1]):
            pair = key_split(item)
            if pair:
                mapping[pair[0]] = scalar(pair[1])
        return mapping
    if len(text) >= 2 and text[0] == text[-1] == '"':
        return text[1:-1].replace('\\"', '"').replace("\\\\", "\\")
    if len(text) >= 2 and text[0] == text[-1] == "'":
        return text[1:-1].replace("''", "'")
    if re.fullmatch(r"[+-]?[0-9]+", text):
        return int(text)
    return text


def parse_yaml(lines):
    """Block mappings and sequences of scalars and flow collections."""
    rows = []
    for line in lines:
        if line.strip() in ("---", "..."):
            continue
        body = strip_comment(line.replace("\t", " "))
        if body.strip():
            rows.append([len(body) - len(body.lstrip(" ")), body.strip()])
    pos = [0]

    def skip_deeper(indent):
        while pos[0] < len(rows) and rows[pos[0]][0] > indent:
            pos[0] += 1

    def value(rest, indent, in_sequence_item=False):
        """A key's value: the rest of its line, or the block below it."""
        if rest and rest[0] in "|>":  # a block scalar: not needed here
            skip_deeper(indent)
            return ""
        if rest:
            return scalar(rest)
        if pos[0] < len(rows):
            deeper, text = rows[pos[0]]
            if deeper > indent or (deeper == indent and not in_sequence_item
                                   and (text == "-" or text.startswith("- "))):
                return block(deeper)
        return None

    def block(indent):
        text = rows[pos[0]][1]
        if text == "-" or text.startswith("- "):
            items = []
            while pos[0] < len(rows) and rows[pos[0]][0] == indent:
                text = rows[pos[0]][1]
                if not (text == "-" or text.startswith("- ")):
                    break
                rest = text[1:].lstrip(" ")
                if not rest:
                    pos[0] += 1
                    items.append(value("", indent))
                elif key_split(rest):
                    # "- key: value": a mapping whose keys line up with "key"
                    rows[pos[0]] = [indent + len(text) - len(rest), rest]
                    items.append(block(rows[pos[0]][0]))
                else:
                    pos[0] += 1
                    items.append(scalar(rest))
            return items
        mapping = {}
        while pos[0] < len(rows) and rows[pos[0]][0] == indent:
            pair = key_split(rows[pos[0]][1])
            pos[0] += 1
            if pair is None:  # not a key: a plain scalar's next line
                skip_deeper(indent)
                continue
            mapping[pair[0]] = value(pair[1], indent)
        skip_deeper(indent)
        return mapping

    result = {}
    while pos[0] < len(rows):
        start = pos[0]
        top = block(rows[pos[0]][0])
        if isinstance(top, dict):
            result.update(top)
        if pos[0] == start:
            pos[0] += 1
    return result


def rime_letter(c, capital):
    """A formula letter's position: A-T (a-t) 1-20 from the start, U-Z (u-z)
    from the end with Z (z) the last."""
    first, last = ("A", "Z") if capital else ("a", "z")
    if not first <= c <= last:
        return None
    n = ord(c) - ord(first)
    return n + 1 if n < 20 else -(ord(last) - ord(c) + 1)


def rime_rules(header):
    encoder = header.get("encoder")
    rules = encoder.get("rules") if isinstance(encoder, dict) else None
    result = []
    for rule in rules or []:
        if not isinstance(rule, dict):
            raise SourceError(f"encoder rule {rule!r} is not a mapping")
        if "length_equal" in rule:
            n = rule["length_equal"]
            if not isinstance(n, int):
                raise SourceError(f"length_equal {n!r} is not a number")
            first, last = n, n
        elif "length_in_range" in rule:
            span = rule["length_in_range"]
            if not (isinstance(span, list) and len(span) == 2
                    and all(isinstance(n, int) for n in span)):
                raise SourceError(f"length_in_range {span!r} is not [a, b]")
            first, last = span
        else:
            raise SourceError(f"encoder rule {rule!r} names no length")
        formula = re.sub(r"\s", "", str(rule.get("formula", "")))
        if not formula or len(formula) % 2:
            raise SourceError(f"formula {formula!r} is not letter pairs")
        elements = []
        for i in range(0, len(formula), 2):
            char = rime_letter(formula[i], True)
            letter = rime_letter(formula[i + 1], False)
            if char is None or letter is None:
                raise SourceError(f"formula {formula!r}: {formula[i:i + 2]!r}")
            elements.append((char, letter))
        result.append((first, last, elements))
    return result


def read_rime(path):
    lines = read_lines(path)
    try:
        end = next(i for i, line in enumerate(lines) if line.rstrip() == "...")
    except StopIteration:
        raise SourceError("no line '...' ends the YAML header")
    header = parse_yaml(lines[:end])
    columns = header.get("columns") or ["text", "code", "weight"]
    if not isinstance(columns, list) or "text" not in columns:
        raise SourceError(f"columns {columns!r} name no text")
    text_at = columns.index("text")
    code_at = columns.index("code") if "code" in columns else None
    entries = []
    for line in lines[end + 1:]:
        if not line.strip() or line.startswith("#"):
            continue
        fields = line.split("\t")
        if text_at >= len(fields) or not fields[text_at]:
            continue
        code = fields[code_at] if code_at is not None and code_at < len(fields) else ""
        entries.append((code, fields[text_at]))
    return rime_rules(header), entries


# ---- fcitx text tables ----

FCITX_RULE = re.compile(r"([aAeE])([0-9]+)=(.*)")
FCITX_ELEMENT = re.compile(r"([pPnN])([0-9])([0-9a-z])")


def fcitx_rule(line):
    match = FCITX_RULE.fullmatch(line.strip())
    if not match:
        raise SourceError(f"rule {line!r}")
    kind, length, body = match.groups()
    length = int(length)
    elements = []
    for item in body.split("+"):
        element = FCITX_ELEMENT.fullmatch(item.strip())
        if not element:
            raise SourceError(f"rule {line!r}: element {item!r}")
        side, char, letter = element.groups()
        if char == "0" and letter == "0":
            elements.append(None)
            continue
        char = int(char)
        letter = int(letter) if letter.isdigit() else -(ord("z") - ord(letter) + 1)
        if char == 0 or letter == 0:
            raise SourceError(f"rule {line!r}: element {item!r}")
        elements.append((char if side in "pP" else -char, letter))
    last = length if kind in "eE" else None
    return (length, last, elements)


def read_fcitx(path):
    keys, special = "", {"prompt": "&", "construct": "^", "pinyin": ""}
    names = {"KeyCode": "keys", "键码": "keys", "Prompt": "prompt", "提示": "prompt",
             "ConstructPhrase": "construct", "构词": "construct",
             "Pinyin": "pinyin", "拼音": "pinyin"}
    section, rules, entries = None, [], []
    for line in read_lines(path):
        if section != "data":
            stripped = line.strip()
            if stripped.startswith("["):
                section = {"[Rule]": "rule", "[组词规则]": "rule", "[Data]": "data",
                           "[数据]": "data"}.get(stripped)
            elif not stripped or stripped.startswith(";") or stripped.startswith("#"):
                pass
            elif section == "rule":
                rules.append(fcitx_rule(stripped))
            elif section is None and "=" in line:
                name, value = line.split("=", 1)
                what = names.get(name.strip())
                if what == "keys":
                    keys = value.strip()
                elif what:
                    special[what] = value.strip()[:1]
            continue
        if line.startswith("["):
            break  # [Phrase]: words without codes
        fields = line.split(None, 1)
        if len(fields) < 2 or not fields[1].strip():
            continue
        code, word = fields[0], fields[1].strip()
        first = code[0]
        if first not in keys and first in special.values():
            continue
        if any(c not in keys for c in code):
            continue
        entries.append((code, word))
    return rules, entries


# ---- the derivation ----

def read_source(form, path):
    if form == "rime":
        return read_rime(path)
    if form == "fcitx":
        return read_fcitx(path)
    raise SourceError(f"unknown format {form!r} (rime or fcitx)")


def multi_character_words(entries):
    seen = {}
    for _, word in entries:
        if len(word) > 1:
            seen.setdefault(word, None)
    return list(seen)


class Encoder:
    def __init__(self, rules, entries):
        longest_code = max((len(code) for code, _ in entries), default=0)
        longest_rule = max((sum(1 for e in elements if e is not None)
                            for _, _, elements in rules), default=0)
        self.code_length = min(MAX_CODE_LENGTH, max(longest_code, longest_rule))
        self.rules = rules
        self.char_code = {}
        for code, word in entries:
            if len(word) == 1 and re.fullmatch(r"[a-z]+", code):
                if len(code) >= len(self.char_code.get(word, "")):
                    self.char_code[word] = code
        for word, code in self.char_code.items():
            self.char_code[word] = code[:self.code_length]
        ends = [last for _, last, _ in rules]
        self.longest = None if None in ends else max(ends, default=0)

    def rule_for(self, n):
        for first, last, elements in self.rules:
            if first <= n and (last is None or n <= last):
                return elements
        if self.longest is not None and n > self.longest:
            for first, last, elements in self.rules:
                if first <= self.longest <= last:
                    return elements
        return None

    def code(self, word):
        codes = [self.char_code.get(c) for c in word]
        if not all(codes):
            return ""
        elements = self.rule_for(len(word))
        out = []
        for element in elements or []:
            if element is None:
                continue
            char, letter = element
            index = char - 1 if char > 0 else len(codes) + char
            if not 0 <= index < len(codes):
                break
            code = codes[index]
            at = letter - 1 if letter > 0 else len(code) + letter
            if not 0 <= at < len(code):
                break
            out.append(code[at])
        return "".join(out)


def read_encoded(path):
    derived = {}
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.rstrip("\n").rstrip("\r")
            if not line:
                continue
            word, tab, code = line.rpartition("\t")
            derived[word if tab else code] = code if tab else ""
    return derived


def main(argv):
    out = open(sys.stdout.fileno(), "w", encoding="utf-8", closefd=False)
    if len(argv) == 4 and argv[1] == "words":
        _, entries = read_source(argv[2], argv[3])
        for word in multi_character_words(entries):
            out.write(word + "\n")
        return 0
    if len(argv) == 5 and argv[1] == "check":
        rules, entries = read_source(argv[2], argv[3])
        encoder = Encoder(rules, entries)
        words = multi_character_words(entries)
        derived = read_encoded(argv[4])
        wrong = [(w, encoder.code(w), derived.get(w)) for w in words
                 if derived.get(w) != encoder.code(w)]
        known = set(words)
        extra = [w for w in derived if w not in known]
        wrong += [(w, None, derived[w]) for w in extra]
        if not wrong:
            out.write(f"phrase codes: {len(words)} words, all agree\n")
            return 0
        out.write(f"phrase codes: {len(wrong)} of {len(words)} words disagree\n")
        for word, expected, got in wrong[:10]:
            expected = "(not a word of the source)" if expected is None else repr(expected)
            got = "(missing)" if got is None else repr(got)
            out.write(f"  {word}: the source's rules give {expected}, tidetool gives {got}\n")
        return 1
    sys.stderr.write(__doc__.split("\n\n")[1] + "\n")
    return 2


if __name__ == "__main__":
    try:
        sys.exit(main(sys.argv))
    except (SourceError, OSError, UnicodeDecodeError) as error:
        sys.stderr.write(f"rule-codes.py: {error}\n")
        sys.exit(2)
