#!/usr/bin/env bash
# tidetool on hostile input: it refuses with a message and exit status 1, never
# aborts, and never changes a file it was not asked to write.
# Usage: tidetool-refusals.sh TIDETOOL SOURCE_DIR
set -uo pipefail
tool=$(realpath "$1")
source=$(realpath "$2")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/files" && cd "$work/files" || exit 1
passed=0
failed=0
pass() { passed=$((passed + 1)); }
fail() { failed=$((failed + 1)); echo "FAILED: $1"; }
check() { # description command...
    local what=$1
    shift
    if "$@"; then pass; else fail "$what"; fi
}
# A step the checks build on: its failure ends the run.
must() {
    "$@" >/dev/null || {
        echo "FAILED: $*"
        echo "$passed passed, $((failed + 1)) failed"
        exit 1
    }
}
# Exit status 1 and a stderr line matching PATTERN.
refuses() { # description pattern command...
    local what=$1 pattern=$2
    shift 2
    "$@" >/dev/null 2>"$work/err"
    local status=$?
    if [ "$status" -eq 1 ] && grep -q -- "$pattern" "$work/err"; then
        pass
    else
        fail "$what (exit $status: $(head -c 300 "$work/err"))"
    fi
}
# Every name, size and content digest under a folder, to see that nothing changed.
tree() { (cd "$1" && find . -printf '%p %y %s\n' -type f -exec md5sum {} + | sort); }

library=$source/tests/fixtures/dict/small.imc
table=$source/tests/fixtures/dict/small.txt
skin=$source/data/Skin/Tide.ims
cp "$library" L.imc
cp "$table" T.txt
must "$tool" pack L.imc P.pkg
must "$tool" skin unpack "$skin" skin

# A folder where a file is read.
mkdir folder
before=$(tree .)
for command in "info folder" "export folder out.txt" "compile folder out.imc" \
    "pack folder out.pkg" "unpack folder out.imc" "encode folder" "user list folder" \
    "skin info folder" "skin unpack folder out"; do
    # shellcheck disable=SC2086 # the command's words
    refuses "$command" '^tidetool: not a file: folder$' "$tool" $command </dev/null
done
mkdir -p skinless/record.txt
refuses "skin pack with record.txt a folder" 'not a file: skinless/record.txt' \
    "$tool" skin pack skinless out.ims
rmdir skinless/record.txt skinless
check "a folder as input writes nothing" test "$(tree .)" = "$before"

# Arguments that are no UTF-8 (and an overlong form of "/").
refuses "a missing file with a name that is no UTF-8" $'^tidetool: cannot read \xef\xbf\xbd.imc$' \
    "$tool" info $'\xff.imc'
cp L.imc $'\xff.imc'
check "a file whose name is no UTF-8 is read" grep -q '^records: ' <("$tool" info $'\xff.imc')
refuses "a code that is no UTF-8" 'not valid Unicode text' "$tool" user add L.imc $'\xff' 词
refuses "a word in an overlong form" 'not valid Unicode text' "$tool" user add L.imc ab $'\xc0\xaf'
"$tool" $'\xff' 2>/dev/null
check "a command word that is no UTF-8 is a usage error" test $? -eq 2
"$tool" convert --from rime --to tide --with-rules T.txt out.txt 2>/dev/null
check "convert with an unknown option is a usage error" test $? -eq 2

# A Rime dictionary importing one that is missing, or the output itself.
printf -- '---\nname: m\nimport_tables: [gone]\n...\n甲\ta\n' >m.dict.yaml
refuses "an imported table that is missing" \
    '^tidetool: import_tables: cannot read gone.dict.yaml, named by m.dict.yaml: m.dict.yaml$' \
    "$tool" convert --from rime --to tide m.dict.yaml m.txt
check "a refused import writes nothing" test ! -e m.txt
printf -- '---\nname: o\n...\n乙\tb\n' >o.dict.yaml
printf -- '---\nname: m\nimport_tables: [o]\n...\n甲\ta\n' >m.dict.yaml
cp o.dict.yaml o.before
refuses "an imported table that is the output" 'input and output are the same file: o.dict.yaml' \
    "$tool" convert --from rime --to rime m.dict.yaml o.dict.yaml
check "the imported table stays as it was" cmp -s o.dict.yaml o.before
rm m.dict.yaml o.dict.yaml o.before

# A damaged ibus-table database: refused with the reason, nothing written.
head -c 600 "$source/tests/fixtures/dict/ibus-small.db" >cut.db
refuses "a cut ibus-table database" 'is damaged: page [0-9]* lies outside the file' \
    "$tool" convert --from ibus --to tide cut.db cut.txt
check "a refused database writes nothing" test ! -e cut.txt
rm cut.db

# Other input methods' word lists: a cell dictionary's words, one a line,
# its format said apart; bytes that are no word list refused.
scel_words() {
    [ "$("$tool" words "$source/tests/fuzz/corpus/wordlist/small.scel" 2>"$work/about")" = \
        "$(printf '你好\n拟好\n输入法')" ] &&
        grep -q '^format: scel (搜狗细胞词库), 3 words, named 网络流行新词$' "$work/about"
}
check "tidetool words lists a cell dictionary's words" scel_words
# "ni'hao 你好" and "a'a 啊阿" in GB18030; 0x80 alone is valid in none of the encodings.
printf "ni'hao \\xc4\\xe3\\xba\\xc3\\r\\na'a \\xb0\\xa1\\xb0\\xa2\\r\\n" >gb.txt
check "tidetool words reads a GB18030 list" \
    test "$("$tool" words gb.txt 2>/dev/null)" = "$(printf '你好\n啊阿')"
printf '\xb0\xa1\x80\n' >bad.txt
refuses "a word list in no encoding it knows" 'neither a cell dictionary nor UTF-8, UTF-16 or GB18030 text' \
    "$tool" words bad.txt
rm gb.txt bad.txt
# With no arguments: the usage text, with a line for every command.
usage_names_every_command() {
    "$tool" >/dev/null 2>"$work/err"
    [ $? -eq 2 ] || return 1
    local command
    for command in compile export info encode pack unpack "user list" "user add" "user remove" \
        "user import" "user export" "skin info" "skin unpack" "skin pack" convert \
        "convert --from F --to F --without-rules" words; do
        grep -qF -- "tidetool $command " "$work/err" || return 1
    done
}
check "tidetool alone is a usage error naming every command" usage_names_every_command
check "refused user entries leave the library as it was" cmp -s L.imc "$library"

# The same file as input and output, by name, by another name, a hard link or a symlink.
ln L.imc hard.imc
ln -s L.imc soft.imc
ln -s T.txt soft.txt
mkdir sub
before=$(tree .)
refuses "compile T.txt T.txt" 'same file: T.txt$' "$tool" compile T.txt T.txt
refuses "compile onto a symlink to the table" 'same file' "$tool" compile T.txt soft.txt
refuses "export L.imc L.imc" 'same file: L.imc$' "$tool" export L.imc L.imc
refuses "export to the library by a longer name" 'same file' "$tool" export L.imc sub/../L.imc
refuses "pack onto a hard link of the library" 'same file' "$tool" pack L.imc hard.imc
refuses "unpack onto itself" 'same file' "$tool" unpack P.pkg ./P.pkg
refuses "unpack from a symlink onto its target" 'same file' "$tool" unpack soft.imc L.imc
refuses "skin pack into one of its images" 'same file' "$tool" skin pack skin skin/Logo.png
cp "$skin" skin/Status.png
refuses "skin unpack over the skin being read" 'same file' "$tool" skin unpack skin/Status.png skin
"$tool" skin unpack "$skin" skin >/dev/null
check "refused same-file commands change no byte" test "$(tree .)" = "$before"
check "the library is the fixture byte for byte" cmp -s L.imc "$library"
check "the table is the fixture byte for byte" cmp -s T.txt "$table"

# A symlink planted where the temporary file goes is passed over, never followed.
echo victim >victim
ln -s victim out.txt.tidetool-new
ln -s victim out.imc.tidetool-new
"$tool" export L.imc out.txt >/dev/null
must "$tool" export L.imc clean.txt
"$tool" compile T.txt out.imc >/dev/null
check "export beside a planted symlink leaves its target alone" test "$(cat victim)" = victim
check "export beside a planted symlink writes the table" cmp -s out.txt clean.txt
check "compile beside a planted symlink writes the library" cmp -s out.imc "$library"
check "the planted symlinks stay as they were" \
    test "$(readlink out.txt.tidetool-new)$(readlink out.imc.tidetool-new)" = victimvictim
check "no temporary file is left" test -z "$(find . -name '*.tidetool-new-*')"

# skin pack refuses a skin that would not load, and writes nothing.
cp -r skin broken
: >broken/record.txt
refuses "skin pack with an empty record.txt" 'would not load (the skin has no name)' \
    "$tool" skin pack broken out.ims
cp skin/record.txt broken/
rm broken/Status.png
refuses "skin pack without the status image" 'would not load (the status window image' \
    "$tool" skin pack broken out.ims
check "a refused skin pack writes no file" test ! -e out.ims
cp "$skin" kept.ims
refuses "skin pack keeps the old file when refusing" 'would not load' \
    "$tool" skin pack broken kept.ims
check "the old skin file is unchanged" cmp -s kept.ims "$skin"

# skin unpack is all or nothing, and writes only into a folder that holds a skin at most.
echo file >file.txt
mkdir notes
echo mine >notes/notes.txt
before=$(tree .)
refuses "skin unpack below a regular file" 'cannot write into' "$tool" skin unpack "$skin" file.txt/sub
refuses "skin unpack into new folders, the last name too long" 'cannot write into' \
    "$tool" skin unpack "$skin" new/parent/"$(printf 'n%.0s' {1..300})"
refuses "skin unpack onto a file" 'not a folder: file.txt' "$tool" skin unpack "$skin" file.txt
refuses "skin unpack into a folder holding other files" 'more than a skin' \
    "$tool" skin unpack "$skin" notes
check "failed unpacks leave nothing behind" test "$(tree .)" = "$before"
mkdir empty
"$tool" skin unpack "$skin" empty/ >/dev/null
check "skin unpack into an empty folder" test "$(tree empty)" = "$(tree skin)"
echo edited >empty/Logo.png
cp -r skin nologo && rm nologo/Logo.png
must "$tool" skin pack nologo nologo.ims
"$tool" skin unpack nologo.ims empty >/dev/null
check "unpacking over a skin folder replaces it, images included" \
    test "$(tree empty)" = "$(tree nologo)"
ln -s skin linked
"$tool" skin unpack nologo.ims linked >/dev/null
check "unpacking through a symlinked folder keeps the symlink" test -L linked
check "unpacking through a symlinked folder replaces the files" test "$(tree skin)" = "$(tree nologo)"

# Out of memory is a message, not an abort. AddressSanitizer reserves far more
# address space than any limit that would matter, so only a plain build is tried.
if ! grep -q __asan < <(nm "$tool" 2>/dev/null); then
    truncate -s 256M huge.imc
    for command in "info huge.imc" "compile huge.imc out.imc" "skin info huge.imc"; do
        # shellcheck disable=SC2086 # the command's words
        refuses "$command under a memory limit" '^tidetool: out of memory$' \
            bash -c 'ulimit -v 100000 && exec "$@"' - "$tool" $command
    done
fi

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
