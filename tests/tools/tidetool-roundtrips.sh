#!/usr/bin/env bash
# tidetool end to end on the committed data: every conversion that has a way
# back must give the same bytes. Usage: tidetool-roundtrips.sh TIDETOOL SOURCE_DIR
set -euo pipefail
tool=$1
source=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# shellcheck source=check-lib.sh
. "$(dirname "$0")/check-lib.sh"
skin="$source/data/Skin/Tide.ims"
"$tool" skin unpack "$skin" "$work/skin" >/dev/null
"$tool" skin pack "$work/skin" "$work/Tide.ims" >/dev/null
check "skin unpack then pack gives the same bytes" cmp -s "$skin" "$work/Tide.ims"
check "skin info names the default skin" grep -q '^name: 潮汐默认$' <("$tool" skin info "$skin")

library="$source/tests/fixtures/dict/small.imc"
"$tool" pack "$library" "$work/small.pkg" >/dev/null
"$tool" unpack "$work/small.pkg" "$work/small.imc" >/dev/null
check "pack then unpack gives the same library" cmp -s "$library" "$work/small.imc"
check "unpack refuses a plain library" bash -c "! '$tool' unpack '$library' '$work/x.imc' 2>/dev/null"

"$tool" compile "$source/tests/fixtures/dict/small.txt" "$work/compiled.imc" >/dev/null
check "compile gives the hand-laid library" cmp -s "$library" "$work/compiled.imc"
"$tool" user add "$work/compiled.imc" xyzw 用户词 >/dev/null
check "user add then list" grep -q $'^xyzw\t用户词$' <("$tool" user list "$work/compiled.imc")
"$tool" user remove "$work/compiled.imc" xyzw 用户词 >/dev/null
check "user remove empties the list" test -z "$("$tool" user list "$work/compiled.imc")"
check "encode derives phrase codes" test "$(printf '〇⺀\n〇\n' | "$tool" encode "$library")" = $'〇⺀\tabab\n〇\t'
sample="$source/data/dict/Tide-sample.txt"
"$tool" compile "$sample" "$work/sample.imc" >/dev/null
# Phrase lines ("CODE<TAB>WORD" with a word of several characters) as WORD<TAB>CODE.
phrases=$(iconv -f UTF-16LE -t UTF-8 "$sample" | sed -e '1s/^\xEF\xBB\xBF//' -e 's/\r$//' |
    LC_ALL=C awk -F'\t' 'seen && length($2) > 4 { print $2 "\t" $1 } $0 == "[CODETABLE]" { seen = 1 }')
check "the sample table has phrases" test -n "$phrases"
check "the sample table's phrase codes are the ones the program derives" \
    test "$(cut -f1 <<<"$phrases" | "$tool" encode "$work/sample.imc")" = "$phrases"
# User entries out to a file and in again: the words alone get their codes,
# and a second import finds everything present.
{ printf '\xff\xfe'; cut -f1 <<<"$phrases" | head -3 | sed 's/$/\r/' | iconv -f UTF-8 -t UTF-16LE; } \
    >"$work/words.txt"
check "user import encodes words alone" \
    test "$("$tool" user import "$work/sample.imc" "$work/words.txt")" = "lines 3, already present 3, imported 0"
"$tool" user add "$work/sample.imc" zzzz 自造 >/dev/null
"$tool" user export "$work/sample.imc" "$work/users.txt" >/dev/null
"$tool" user remove "$work/sample.imc" zzzz 自造 >/dev/null
check "user export then import brings the entry back" \
    test "$("$tool" user import "$work/sample.imc" "$work/users.txt")" = "lines 1, already present 0, imported 1"
check "and it is listed again" grep -q $'^zzzz\t自造$' <("$tool" user list "$work/sample.imc")
# An import that grows the library by far more than its size: 5,000 entries
# whose codes each open a new path of index nodes.
python3 - "$work/many.txt" <<'PY'
import sys
letters = "abcdefghijklmnopqrstuvwxyz"
lines = []
for i in range(5000):
    code = letters[i % 26] + letters[i // 26 % 26] + letters[i // 676 % 26] + "xy"
    lines.append(f"{code}\t词{chr(0x4E00 + i)}\r\n")
open(sys.argv[1], "wb").write(b"\xff\xfe" + "".join(lines).encode("utf-16-le"))
PY
check "a large import takes every line" \
    test "$("$tool" user import "$work/sample.imc" "$work/many.txt")" = "lines 5000, already present 0, imported 5000"
check "and the grown library lists them all" test "$("$tool" user list "$work/sample.imc" | wc -l)" -eq 5001
echo "$passed passed, 0 failed"
