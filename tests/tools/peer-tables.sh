#!/usr/bin/env bash
# tidetool convert on the real tables Debian ships, when they are at hand:
# Rime's wubi86 dictionary (rime-data-wubi) and fcitx's wbx table
# (fcitx-table-wubi, read with mb2txt from fcitx-tools; the round trip is
# taken back through txt2mb and libime's libime_tabledict). Nothing is installed:
# a part whose files or tools are missing says "skipped: ..." and is counted
# on the last line as skipped, never as passed.
# The phrase codes the compiled tables derive are held against the ones the
# source's own rules give, computed apart by rule-codes.py (with python3).
# A Rime dictionary split over files by import_tables (rime-data-array30)
# must convert to the same table as its files joined into one, and one whose
# rules count code letters from the end (rime-data-cangjie5) is refused, or
# converted without its rules when told so.
# Every ibus-table database Debian ships (ibus-table-*) converts and compiles
# with its rows accounted for (counted apart with python3's sqlite3), and our
# table written as ibus-table source is built by the real
# ibus-table-createdb (its tabcreatedb.py beside the tables) and read back.
# A cell dictionary written by make-scel.py from the format's layout is read
# alike by fcitx5's scel2org5 (fcitx5-chinese-addons-bin) and `tidetool words`.
# Every figure of `tidetool stats` is held against table-stats.py's count
# from the table's own text: Rime's tables read directly (import_tables and
# rules from the end too) and the tables converted above from each engine;
# `tidetool lookup` against the table's own lines.
# Usage: peer-tables.sh TIDETOOL [RIME_DICT [FCITX_MB [RIME_SPLIT [RIME_FROM_END [IBUS_TABLES]]]]]
#   RIME_DICT defaults to /usr/share/rime-data/wubi86.dict.yaml,
#   FCITX_MB to /usr/share/fcitx/table/wbx.mb, RIME_SPLIT to
#   /usr/share/rime-data/array30.dict.yaml, RIME_FROM_END to
#   /usr/share/rime-data/cangjie5.dict.yaml, IBUS_TABLES (a folder of *.db)
#   to /usr/share/ibus-table/tables; an empty argument means the
#   default, a file named but missing is an error. mb2txt and txt2mb are
#   taken from PATH.
set -euo pipefail
tool=$1
rime_dict=${2:-/usr/share/rime-data/wubi86.dict.yaml}
fcitx_mb=${3:-/usr/share/fcitx/table/wbx.mb}
rime_split=${4:-/usr/share/rime-data/array30.dict.yaml}
rime_from_end=${5:-/usr/share/rime-data/cangjie5.dict.yaml}
ibus_tables=${6:-/usr/share/ibus-table/tables}
for named in "${2:-}" "${3:-}" "${4:-}" "${5:-}"; do
    if [ -n "$named" ] && [ ! -f "$named" ]; then
        echo "FAILED: no file $named"
        echo "0 passed, 1 failed"
        exit 1
    fi
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# shellcheck source=check-lib.sh
. "$(dirname "$0")/check-lib.sh"
# A part that cannot run here: said with its reason and counted.
skipped=0
skip() { # reason
    echo "skipped: $1"
    skipped=$((skipped + 1))
}
# A step outside `check` that fails: a tool, or a table that does not decode.
trap 'echo "FAILED: line $LINENO: $BASH_COMMAND"; echo "$passed passed, 1 failed"' ERR
# Runs tidetool for its output; when it fails, shows what it said on stderr
# (the caller's pipeline then fails, and the ERR trap reports it).
run_tool() { # tidetool arguments...
    local out
    if ! out=$("$tool" "$@" 2>&1); then
        printf '%s\ntidetool %s failed\n' "$out" "$*" >&2
        return 1
    fi
    printf '%s\n' "$out"
}
# N of the line "converted N entries" (convert) or "entries N, ..." (compile).
converted_count() { sed -n 's/^converted \([0-9][0-9]*\) entries$/\1/p'; }
compiled_count() { sed -n 's/^entries \([0-9][0-9]*\), .*$/\1/p'; }
same_count() { # what expected actual
    if [ -z "$2" ] || [ "$2" != "$3" ]; then
        echo "$1: expected ${2:-?}, got ${3:-?}"
        return 1
    fi
}
# Two files must be equal; shows where they part when not.
same_file() { # expected actual
    cmp -s "$1" "$2" || { diff "$1" "$2" | head -20; return 1; }
}

# A table of this program's format, turned to UTF-8, without the header lines
# a conversion may fill from the file's name or a default (Name=, Version=,
# CodeScheme=).
tide_without_names() { # table.utf8
    LC_ALL=C awk '$0 ~ /^\[CODETABLE\]\r?$/ { body = 1 }
        body || $0 !~ /^(Name|Version|CodeScheme)=/ { print }' "$1"
}
# The entry section of a table of this program's format, turned to UTF-8.
tide_entries() { # table.utf8
    LC_ALL=C awk 'body { print } $0 ~ /^\[CODETABLE\]\r?$/ { body = 1 }' "$1"
}

# The "code word" lines of an fcitx text table's [Data] section, with one
# space between code and word, less the prompt, construct-phrase and pinyin
# lines (a code starting with the character Prompt=, ConstructPhrase= or
# Pinyin= declares, "&" and "^" by default, that KeyCode= lacks).
fcitx_data() { # table.txt
    LC_ALL=C awk '
        BEGIN { prompt = "&"; construct = "^"; pinyin = "" }
        { sub(/\r$/, ""); if (NR == 1) sub(/^\357\273\277/, "") }
        !data {
            value = substr($0, index($0, "=") + 1)
            if ($0 ~ /^(KeyCode|键码)=/) { keys = value }
            else if ($0 ~ /^(Prompt|提示)=/) { prompt = substr(value, 1, 1) }
            else if ($0 ~ /^(ConstructPhrase|构词)=/) { construct = substr(value, 1, 1) }
            else if ($0 ~ /^(Pinyin|拼音)=/) { pinyin = substr(value, 1, 1) }
            else if ($0 ~ /^\[(Data|数据)\]/) { data = 1 }
            next
        }
        /^\[/ { exit } # [Phrase]: words without codes
        NF < 2 { next } # no word: no entry
        {
            first = substr($1, 1, 1)
            if (index(keys, first) == 0 &&
                ((pinyin != "" && first == pinyin) || (prompt != "" && first == prompt) ||
                 (construct != "" && first == construct))) {
                next
            }
            code = $1
            sub(/^[ \t]*[^ \t]+[ \t]+/, "")
            sub(/[ \t]+$/, "")
            print code " " $0
        }' "$1"
}
# The [Rule] lines of an fcitx text table.
fcitx_rules() { # table.txt
    LC_ALL=C awk '{ sub(/\r$/, "") } /^\[/ { rules = $0 ~ /^\[(Rule|组词规则)\]/; next }
        rules && NF { print }' "$1"
}

# Phrase codes: the source's multi-character words, their codes as
# `tidetool encode` derives them with the compiled table, and rule-codes.py's
# own reading of the source's rules and entries, which must give the same.
rule_codes="$(dirname "$0")/rule-codes.py"
source_words() { # format source words
    python3 "$rule_codes" words "$1" "$2" >"$3" && test -s "$3"
}
encode_words() { # library words encoded.tsv
    "$tool" encode "$1" <"$2" >"$3"
}
phrase_codes() { # label format source library dir
    if ! command -v python3 >/dev/null; then
        skip "$1 phrase codes (no python3)"
        return
    fi
    check "rule-codes.py lists the $1 table's phrases" source_words "$2" "$3" "$5/words"
    check "tidetool encode takes the $1 phrases" encode_words "$4" "$5/words" "$5/encoded.tsv"
    check "the $1 phrase codes are the ones its source's rules give" \
        python3 "$rule_codes" check "$2" "$3" "$5/encoded.tsv"
}

# A converted table compiled, with every entry, and its phrase codes checked.
compiled_with_codes() { # label format source table.txt entries dir
    local library="${4%.txt}.imc"
    compiled=$(run_tool compile "$4" "$library" | compiled_count)
    check "the converted $1 table compiles with every entry" \
        same_count "entries compiled" "$5" "$compiled"
    phrase_codes "$1" "$2" "$3" "$library" "$6"
}


# Rime: to this program's format, compiled, and back and forth once more.
if [ -f "$rime_dict" ]; then
    stem=$(basename "$rime_dict" .dict.yaml)
    mkdir -p "$work/rime/first" "$work/rime/back"
    first="$work/rime/first/$stem.txt"
    entries=$(run_tool convert --from rime --to tide "$rime_dict" "$first" | converted_count)
    check "rime to tide converts entries ($rime_dict)" test "${entries:-0}" -gt 0
    compiled_with_codes Rime rime "$rime_dict" "$first" "$entries" "$work/rime"
    back="$work/rime/back/$stem.dict.yaml"
    count=$(run_tool convert --from tide --to rime "$first" "$back" | converted_count)
    check "tide to rime keeps every entry" same_count "entries written" "$entries" "$count"
    second="$work/rime/back/$stem.txt"
    count=$(run_tool convert --from rime --to tide "$back" "$second" | converted_count)
    check "rime to tide again keeps every entry" same_count "entries written" "$entries" "$count"
    iconv -f UTF-16LE -t UTF-8 "$first" >"$work/rime/first.utf8"
    iconv -f UTF-16LE -t UTF-8 "$second" >"$work/rime/second.utf8"
    tide_entries "$work/rime/first.utf8" >"$work/rime/first.entries"
    tide_entries "$work/rime/second.utf8" >"$work/rime/second.entries"
    check "the second table's entries are the first's, byte for byte" \
        same_file "$work/rime/first.entries" "$work/rime/second.entries"
    tide_without_names "$work/rime/first.utf8" >"$work/rime/first.rest"
    tide_without_names "$work/rime/second.utf8" >"$work/rime/second.rest"
    check "the second table is the first but for Name=, Version= and CodeScheme=" \
        same_file "$work/rime/first.rest" "$work/rime/second.rest"
    echo "rime: $entries entries of $rime_dict"
else
    skip "Rime (no $rime_dict; the package rime-data-wubi has it)"
fi

# fcitx: the binary table as text, to this program's format, compiled, and
# back; with txt2mb, the round trip's text made binary and read again.
if ! command -v mb2txt >/dev/null; then
    skip "fcitx (no mb2txt; the package fcitx-tools has it)"
elif [ ! -f "$fcitx_mb" ]; then
    skip "fcitx (no $fcitx_mb; the package fcitx-table-wubi has it)"
else
    stem=$(basename "$fcitx_mb" .mb)
    mkdir -p "$work/fcitx/tide" "$work/fcitx/back"
    source="$work/fcitx/$stem.txt"
    mb2txt "$fcitx_mb" >"$source"
    fcitx_data "$source" >"$work/fcitx/source.data"
    check "mb2txt gives data lines ($fcitx_mb)" test -s "$work/fcitx/source.data"
    tide="$work/fcitx/tide/$stem.txt"
    entries=$(run_tool convert --from fcitx --to tide "$source" "$tide" | converted_count)
    check "fcitx to tide converts every data line" \
        same_count "entries converted" "$(wc -l <"$work/fcitx/source.data")" "$entries"
    compiled_with_codes fcitx fcitx "$source" "$tide" "$entries" "$work/fcitx"
    back="$work/fcitx/back/$stem.txt"
    count=$(run_tool convert --from tide --to fcitx "$tide" "$back" | converted_count)
    check "tide to fcitx keeps every entry" same_count "entries written" "$entries" "$count"
    fcitx_data "$back" >"$work/fcitx/back.data"
    check "the round trip's data lines are the source's, in its order" \
        same_file "$work/fcitx/source.data" "$work/fcitx/back.data"
    fcitx_rules "$source" >"$work/fcitx/source.rules"
    fcitx_rules "$back" >"$work/fcitx/back.rules"
    check "the round trip's rules are the source's" \
        same_file "$work/fcitx/source.rules" "$work/fcitx/back.rules"
    if command -v txt2mb >/dev/null; then
        txt2mb "$back" "$work/fcitx/back/$stem.mb" >"$work/fcitx/txt2mb.log" 2>&1 ||
            { cat "$work/fcitx/txt2mb.log"; check "txt2mb takes the round trip's table" false; }
        mb2txt "$work/fcitx/back/$stem.mb" >"$work/fcitx/back/again.txt"
        fcitx_data "$work/fcitx/back/again.txt" >"$work/fcitx/again.data"
        check "txt2mb then mb2txt gives the source's data lines" \
            same_file "$work/fcitx/source.data" "$work/fcitx/again.data"
    else
        skip "txt2mb (not found; the package fcitx-tools has it)"
    fi
    if command -v libime_tabledict >/dev/null; then
        libime_tabledict "$back" "$work/fcitx/back/$stem.main.dict" \
            >"$work/fcitx/libime.log" 2>&1 ||
            { cat "$work/fcitx/libime.log"; check "libime_tabledict takes the round trip's table" false; }
        libime_tabledict -d "$work/fcitx/back/$stem.main.dict" "$work/fcitx/back/libime.txt"
        fcitx_data "$work/fcitx/back/libime.txt" >"$work/fcitx/libime.data"
        check "libime_tabledict there and back gives the source's data lines" \
            same_file "$work/fcitx/source.data" "$work/fcitx/libime.data"
    else
        skip "libime_tabledict (not found; the package libime-bin has it)"
    fi
    echo "fcitx: $entries entries of $fcitx_mb"
fi

# Rime's import_tables: the main dictionary converted whole, and the same
# entries in one file (the main header without its import_tables, then the
# entry lines of each table it names, in order) converted to the same table.
# The tables it names import no others (array30's do not).
unsplit_rime() { # main.dict.yaml joined.dict.yaml
    local folder imports
    folder=$(dirname "$1")
    imports=$(awk '/^\.\.\.$/ { exit }
        /^import_tables:/ { on = 1; next } on && /^[^ ]/ { on = 0 }
        on && /^ *- / { sub(/^ *- */, ""); sub(/ *#.*$/, ""); print }' "$1")
    { awk '/^import_tables:/ { skip = 1; next } skip && /^[^ ]/ { skip = 0 } !skip { print }' "$1"
      for name in $imports; do
          awk 'body { print } /^\.\.\.$/ { body = 1 }' "$folder/$name.dict.yaml"
      done; } >"$2"
}
if [ -f "$rime_split" ]; then
    stem=$(basename "$rime_split" .dict.yaml)
    mkdir -p "$work/split/whole" "$work/split/joined"
    whole="$work/split/whole/$stem.txt"
    entries=$(run_tool convert --from rime --to tide "$rime_split" "$whole" | converted_count)
    check "rime to tide follows import_tables ($rime_split)" test "${entries:-0}" -gt 0
    unsplit_rime "$rime_split" "$work/split/joined/$stem.dict.yaml"
    joined="$work/split/joined/$stem.txt"
    count=$(run_tool convert --from rime --to tide "$work/split/joined/$stem.dict.yaml" "$joined" |
        converted_count)
    check "the split dictionary converts as many entries as its files joined" \
        same_count "entries converted" "$count" "$entries"
    check "the split dictionary converts to the table its files joined give, byte for byte" \
        same_file "$joined" "$whole"
    compiled=$(run_tool compile "$whole" "${whole%.txt}.imc" | compiled_count)
    check "the split dictionary's table compiles with every entry" \
        same_count "entries compiled" "$entries" "$compiled"
    echo "rime import_tables: $entries entries of $rime_split and the tables it names"
else
    skip "Rime import_tables (no $rime_split; the package rime-data-array30 has it)"
fi

# Rules counting code letters from the end: refused, nothing written; with
# --without-rules every entry converts and compiles.
if [ -f "$rime_from_end" ]; then
    stem=$(basename "$rime_from_end" .dict.yaml)
    mkdir -p "$work/from-end"
    table="$work/from-end/$stem.txt"
    refused() { ! "$tool" convert --from rime --to tide "$rime_from_end" "$table" >/dev/null 2>&1 &&
        [ ! -e "$table" ]; }
    check "a table whose rules count from the end is refused and nothing written" refused
    entries=$(run_tool convert --from rime --to tide --without-rules "$rime_from_end" "$table" |
        converted_count)
    check "--without-rules converts its entries ($rime_from_end)" test "${entries:-0}" -gt 0
    iconv -f UTF-16LE -t UTF-8 "$table" >"$work/from-end/table.utf8"
    check "--without-rules writes no phrase rules" grep -q '^PhraseRule=0' "$work/from-end/table.utf8"
    compiled=$(run_tool compile "$table" "${table%.txt}.imc" | compiled_count)
    check "the table without rules compiles with every entry" \
        same_count "entries compiled" "$entries" "$compiled"
    echo "rime without rules: $entries entries of $rime_from_end"
else
    skip "Rime rules from the end (no $rime_from_end; the package rime-data-cangjie5 has it)"
fi

# ibus-table: each database converted, its rows all accounted for (written,
# or skipped with a count), and compiled with every entry written.
skipped_count() { sed -n 's/^skipped \([0-9][0-9]*\) .*$/\1/p' | awk '{ n += $1 } END { print n + 0 }'; }
db_rows() { python3 -c 'import sqlite3, sys
print(sqlite3.connect(sys.argv[1]).execute("SELECT COUNT(*) FROM phrases").fetchone()[0])' "$1"; }
if ! compgen -G "$ibus_tables/*.db" >/dev/null; then
    skip "ibus-table (no $ibus_tables/*.db; the packages ibus-table-* have them)"
elif ! python3 -c 'import sqlite3' 2>/dev/null; then
    skip "ibus-table (python3 with sqlite3 counts the rows apart)"
else
    mkdir -p "$work/ibus"
    for db in "$ibus_tables"/*.db; do
        stem=$(basename "$db" .db)
        table="$work/ibus/$stem.txt"
        summary=$(run_tool convert --from ibus --to tide "$db" "$table")
        entries=$(converted_count <<<"$summary")
        left=$(skipped_count <<<"$summary")
        check "every row of $stem.db is converted or counted as left out" \
            same_count "rows" "$(db_rows "$db")" "$((entries + left))"
        compiled=$(run_tool compile "$table" "${table%.txt}.imc" | compiled_count)
        check "$stem.db's table compiles with every entry" same_count "entries compiled" "$entries" "$compiled"
        echo "ibus: $entries of $(db_rows "$db") rows of $db"
    done
    createdb="$ibus_tables/../engine/tabcreatedb.py"
    # Our table (the first database's, converted above) as ibus-table source,
    # built by ibus-table-createdb, read back: the same entries in order.
    first=$(find "$work/ibus" -name '*.txt' -print -quit)
    if [ ! -f "$createdb" ]; then
        skip "ibus-table-createdb (no $createdb; the package ibus-table has it)"
    elif [ -n "$first" ]; then
        source="$work/ibus/ours-source.txt"
        count=$(run_tool convert --from tide --to ibus "$first" "$source" | converted_count)
        (cd "$(dirname "$createdb")" && python3 tabcreatedb.py -n "$work/ibus/ours.db" -s "$source") \
            >"$work/ibus/createdb.log" 2>&1 || { cat "$work/ibus/createdb.log"; false; }
        check "ibus-table-createdb takes our source with every entry" \
            same_count "rows" "$count" "$(db_rows "$work/ibus/ours.db")"
        back=$(run_tool convert --from ibus --to tide "$work/ibus/ours.db" "$work/ibus/back.txt" |
            converted_count)
        check "its database reads back with every entry" same_count "entries" "$count" "$back"
        iconv -f UTF-16LE -t UTF-8 "$first" | tide_entries /dev/stdin >"$work/ibus/first.entries"
        iconv -f UTF-16LE -t UTF-8 "$work/ibus/back.txt" | tide_entries /dev/stdin >"$work/ibus/back.entries"
        check "through ibus-table-createdb and back, the entries are ours in their order" \
            same_file "$work/ibus/first.entries" "$work/ibus/back.entries"
    fi
fi

# Cell dictionaries: make-scel.py writes one (hundreds of groups, up to six
# words a group, extension bytes of several lengths, words outside the BMP,
# with and without a deleted words' table) and lists what it wrote; fcitx5's
# scel2org5 must read those words with their pinyin, and tidetool words the
# same words in the same order.
make_scel="$(dirname "$0")/make-scel.py"
# scel2org5 spells the syllables lue and nue "lve" and "nve".
peer_spelling() { sed -E "s/(^|[\t'])([ln])ue(['\t]|$)/\1\2ve\3/g; s/(^|[\t'])([ln])ue(['\t]|$)/\1\2ve\3/g"; }
peer_scel_words() { # scel out
    scel2org5 "$1" >"$2.org" 2>"$2.log" || { cat "$2.log"; return 1; }
    cut -f1,2 "$2.org" >"$2"
}
tidetool_scel_words() { # scel out
    "$tool" words "$1" >"$2" 2>"$2.log" || { cat "$2.log"; return 1; }
}
if ! command -v scel2org5 >/dev/null; then
    skip "cell dictionaries (no scel2org5; the package fcitx5-chinese-addons-bin has it)"
elif ! command -v python3 >/dev/null; then
    skip "cell dictionaries (no python3 to write one)"
else
    mkdir -p "$work/scel"
    for deleted in "" --deleted; do
        scel="$work/scel/sample$deleted.scel"
        python3 "$make_scel" sample "$scel" --groups 600 --seed 7 $deleted |
            peer_spelling >"$work/scel/written"
        check "scel2org5 reads the cell dictionary make-scel.py wrote ($deleted)" \
            peer_scel_words "$scel" "$work/scel/peer"
        check "scel2org5 finds the words and pinyin make-scel.py wrote ($deleted)" \
            same_file "$work/scel/written" "$work/scel/peer"
        check "tidetool words reads the cell dictionary ($deleted)" \
            tidetool_scel_words "$scel" "$work/scel/ours"
        cut -f1 "$work/scel/peer" >"$work/scel/peer.words"
        check "tidetool words finds scel2org5's words in its order ($deleted)" \
            same_file "$work/scel/peer.words" "$work/scel/ours"
    done
    echo "cell dictionaries: $(wc -l <"$work/scel/ours") words read alike"
fi

# stats: tidetool's figures of a table (`stats --from F` for a peer's table,
# `stats` for ours, compiled first) and table-stats.py's, every key alike.
table_stats="$(dirname "$0")/table-stats.py"
stats_json() { # format table out.json
    if [ "$1" = tide ]; then
        run_tool stats "$2" --json >"$3"
    else
        run_tool stats --from "$1" "$2" --json >"$3"
    fi
}
stats_tables=0
stats_counted_alike() { # format table dir
    stats_tables=$((stats_tables + 1))
    mkdir -p "$3"
    stats_json "$1" "$2" "$3/tidetool.json" &&
        python3 "$table_stats" stats "$1" "$2" >"$3/counted.json" &&
        python3 "$table_stats" compare "$3/counted.json" "$3/tidetool.json"
}
# The figures that do not hang on weights, which our format does not keep.
unweighted_keys="codeLength entries characters phrases codes userEntries lengths candidates
    firstLetters staticDuplicateRate emptyCodes characterCodes coverage duplicates
    ruleMismatches underivedPhrases uncodedCharacters"
# lookup of words table-stats.py picks from the table, against its lines.
lookup_alike() { # format table library dir
    local words
    mapfile -t words < <(python3 "$table_stats" sample "$1" "$2")
    [ "${#words[@]}" -gt 0 ] &&
        python3 "$table_stats" lookup "$1" "$2" "${words[@]}" >"$4/lookup.expected" &&
        run_tool lookup "$3" "${words[@]}" >"$4/lookup.actual" &&
        same_file "$4/lookup.expected" "$4/lookup.actual"
}
if ! command -v python3 >/dev/null; then
    skip "stats (no python3 to count apart)"
else
    for rime in "$rime_dict" "$rime_split" "$rime_from_end"; do
        if [ -f "$rime" ]; then
            dir="$work/stats/rime-$(basename "$rime" .dict.yaml)"
            check "stats --from rime counts every figure of $rime as its text gives" \
                stats_counted_alike rime "$rime" "$dir"
        else
            skip "stats of a Rime table (no $rime)"
        fi
    done
    # Rime's wubi86 converted above: the same figures as the source's but
    # for the weights, and its words looked up.
    stem=$(basename "$rime_dict" .dict.yaml)
    converted="$work/rime/first/$stem.txt"
    if [ -f "$converted" ]; then
        dir="$work/stats/rime-converted"
        check "stats of the table converted from $rime_dict counts as its text gives" \
            stats_counted_alike tide "$converted" "$dir"
        # shellcheck disable=SC2086 # one key a word
        check "stats of the converted table are the Rime table's but for the weights" \
            python3 "$table_stats" compare "$work/stats/rime-$stem/counted.json" \
            "$dir/tidetool.json" $unweighted_keys
        check "lookup of the compiled table's words agrees with the Rime table's lines" \
            lookup_alike rime "$rime_dict" "${converted%.txt}.imc" "$dir"
    fi
    converted=$(find "$work/fcitx/tide" -name '*.txt' -print -quit 2>/dev/null || true)
    if [ -n "$converted" ]; then
        dir="$work/stats/fcitx"
        check "stats of the table converted from fcitx's $fcitx_mb counts as its text gives" \
            stats_counted_alike tide "$converted" "$dir"
        stats_json fcitx "$work/fcitx/$(basename "$converted")" "$dir/source.json"
        check "stats --from fcitx gives the converted table's figures" \
            python3 "$table_stats" compare "$dir/source.json" "$dir/tidetool.json"
        check "lookup in the table converted from fcitx agrees with its lines" \
            lookup_alike tide "$converted" "$converted" "$dir"
    fi
    for converted in "$work"/ibus/*.txt; do
        stem=$(basename "$converted" .txt)
        [ -f "$work/ibus/$stem.imc" ] || continue # our own source written for createdb
        check "stats of the table converted from $stem.db counts as its text gives" \
            stats_counted_alike tide "$converted" "$work/stats/ibus-$stem"
    done
    echo "stats: every figure of $stats_tables tables counted alike"
fi

echo "$passed passed, 0 failed, $skipped skipped"
