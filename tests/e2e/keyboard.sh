#!/usr/bin/env bash
# Keyboard use of the real program with real key presses: xdotool types on
# an X display of this test's own, Wine turns the keys into the input the
# dialogs see. Usage: keyboard.sh TideSetup.exe WORK_DIR
#   - the launcher's options show which has the focus and follow the arrows
#     in their grid; Enter opens the chosen tool;
#   - every field of the skin editor is reached by Tab, and Enter in its
#     name field keeps the editor; leaving then asks whether to save;
# Screenshots of each step are left in WORK_DIR/screenshots.
# Exit 77 (skipped) where this machine cannot run the program or drive keys.
set -euo pipefail
exe=$(realpath "$1")
work=$(realpath -m "$2")
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../../scripts/lib/wine-env.sh"

if reason=$(tide_wine_cannot_run "$exe"); then
    echo "keyboard: skipped: $reason"
    exit 77
fi
for tool in xdotool import compare; do
    command -v "$tool" >/dev/null || { echo "keyboard: skipped: $tool is not installed"; exit 77; }
done

# A display of its own: nothing else takes the keyboard focus meanwhile.
unset DISPLAY
export TIDE_XVFB_DISPLAY=${TIDE_KEYS_DISPLAY:-95}
tide_ensure_display
tide_wine_prefix "$work/keys-prefix"
shots="$work/screenshots"
mkdir -p "$shots"

failures=0
fail() {
    echo "keyboard: FAILED: $*"
    failures=$((failures + 1))
}
finish() {
    wineserver -k 2>/dev/null || true
    tide_stop_display "$TIDE_XVFB_DISPLAY"
}
trap finish EXIT

# The X window of a top-level dialog titled $1, waited for up to $2 seconds.
window_of() {
    local deadline=$((SECONDS + ${2:-20})) id
    while [ $SECONDS -lt $deadline ]; do
        id=$(xdotool search --name "^$1\$" 2>/dev/null | head -1) || true
        if [ -n "$id" ] && xwininfo -id "$id" 2>/dev/null | grep -q 'IsViewable'; then
            echo "$id"
            return 0
        fi
        sleep 0.2
    done
    return 1
}
shown() { xwininfo -root -tree | grep -F "\"$1\":" >/dev/null; }
press() { # keys, one after another, each given time to be handled
    for key in "$@"; do
        xdotool key "$key"
        sleep 0.3
    done
}
shot() { import -display "$DISPLAY" -window root "$shots/keys-$1.png"; }

wine "$exe" >"$work/keys-wine.log" 2>&1 &
program=$!
# The first program a new prefix starts may wait for Wine to finish setting
# the prefix up (its 32-bit side too), on a busy machine for minutes.
launcher=$(window_of '潮汐输入法 设置' 180) || { fail "the launcher did not open within 3 minutes"; exit 1; }
xdotool windowfocus "$launcher"
sleep 1
shot launcher-opened

# Tab moves the focus to the second option; its cue must be drawn.
press Tab
shot launcher-tab
changed=$(compare -metric AE "$shots/keys-launcher-opened.png" "$shots/keys-launcher-tab.png" null: 2>&1 || true)
[ "${changed%% *}" -gt 0 ] 2>/dev/null || fail "Tab showed no focus on the launcher (pixels changed: $changed)"

# From wherever the focus is, up and left reach the first option; down twice
# is 皮肤编辑, whose tool Enter opens.
press Up Up Up Left Down Down
shot launcher-skin-chosen
press Return
editor=$(window_of '皮肤编辑' 20) || { fail "arrows and Enter did not open 皮肤编辑"; exit 1; }
sleep 1
shot editor-opened

# The first column button has the focus: three Tabs reach 预览图设置, Space
# shows its page (its preview pictures are a change: 保存 is enabled); 打开,
# 保存, 另存为 and 退出 come next, then the page: three positions of two
# fields each, and the skin's name.
press Tab Tab Tab space
press Tab Tab Tab Tab
press Tab Tab Tab Tab Tab Tab Tab
shot editor-name-focused
xdotool type --delay 80 'KeysSkin'
sleep 0.5
shot editor-name-typed
changed=$(compare -metric AE "$shots/keys-editor-name-focused.png" "$shots/keys-editor-name-typed.png" null: 2>&1 || true)
[ "${changed%% *}" -gt 0 ] 2>/dev/null || fail "the name typed after Tab showed nowhere (pixels changed: $changed)"
press Return
sleep 1
shot editor-after-enter
shown '皮肤编辑' || fail "Enter in the name field closed the skin editor"
shown '提示' && fail "Enter in the name field asked to leave the editor"

# Esc leaves, asking first about the unsaved skin.
press Escape
window_of '提示' 5 >/dev/null || fail "leaving an unsaved skin did not ask to save it"
shot editor-asks
press n
sleep 2
kill -0 "$program" 2>/dev/null && shown '皮肤编辑' && fail "No to saving did not leave the editor"

[ "$failures" -eq 0 ] && echo "keyboard: all steps passed"
[ "$failures" -eq 0 ]
