#!/usr/bin/env bash
# The search dialog on the real binary: opened from the Edit menu by its access keys, searching
# by Alt+S and by mouse clicks, binary and text comparison, "only from the top", the not-found
# message, and Cancel. Each match is proved by typing over the selection it leaves in the main
# window and checking the saved file.
# Usage: tst_search.sh PATH_TO_ORVANE
HERE=$(cd "$(dirname "$0")" && pwd)
source "$HERE/lib.sh"
ORVANE=${1:?usage: $0 PATH_TO_ORVANE}

desktop_init search
F=$WORK/files
start_orvane
type_text "abcabcABC"
save_as s.txt
expect_saved "$F/s.txt" "abcabcABC"
check() { focus "$MAIN"; save; expect_saved "$F/s.txt" "$1"; }
SEARCH_TITLE=検索

# open_search: Alt+E, S; sets DIALOG to the search dialog and gives it the focus.
open_search() {
    focus "$MAIN"
    menu e s
    DIALOG=$(wait_window "$SEARCH_TITLE") || exit 1
    focus "$DIALOG"
}
# over_selection TEXT: types TEXT into the main window, replacing what the search selected.
over_selection() { focus "$MAIN"; type_text "$1"; }
# not_found: the message box "検索を終了しました" (title 検索, beside the dialog); OK closes it.
not_found() {
    local box
    box=$(wait_window "$SEARCH_TITLE" "$DIALOG") || exit 1
    focus "$box"
    keys Return
    wait_gone "$box"
}
# first_line: a fingerprint of how the main window shows its first text line (the selection
# highlight included); the dialog, centred on the screen, does not cover it.
first_line() {
    geometry "$MAIN"
    import -window root -crop "$((W - 24))x24+$X+$((Y + 20))" rgb:- | md5sum
}
# search BUTTON_ACTION...: runs the action that clicks 検索(&S) and waits for the match to show as
# the main window's selection; a button pressed by its access key clicks only some 100 ms later.
search() {
    local before
    before=$(first_line)
    "$@"
    wait_for "the search to select a match" line_changed "$before"
}
line_changed() { [ "$(first_line)" != "$1" ]; }
# click_at X Y: a real mouse click into the search dialog, at client coordinates in pixels.
click_at() { xdotool mousemove --window "$DIALOG" "$1" "$2" click 1; }

step "binary search from the caret at the top: the first match"
keys ctrl+Home
open_search
type_text "abc"
search keys alt+s
over_selection "X"
check "XabcABC"

step "the next search starts after the caret: the second match"
focus "$DIALOG"
search keys alt+s
over_selection "Y"
check "XYABC"

step "nothing more in binary comparison: the message, the selection stays"
focus "$DIALOG"
keys alt+s
not_found
over_selection "Z"
check "XYZABC"

step "テキスト検索 (Tab to the option group, Down) ignores letter case; 検索(&S) clicked with the mouse"
focus "$DIALOG"
keys Tab Down
# 検索(&S) lies at 4320, 120 twips, 1215 × 255: its middle is at 328, 16 pixels.
search click_at 328 16
over_selection "W"
check "XYZW"

step "先頭にある文字列のみ検索 (clicked): every search finds the first occurrence"
keys End
type_text " xyz"
focus "$DIALOG"
# The mouse clicked 検索(&S), which took the focus: click into the search box (1560, 120 twips).
click_at 190 17
keys ctrl+a
type_text "xyz"
# The check box lies at 1800, 600 twips; its box is at its left end, in the middle of its height.
click_at 127 48
search keys alt+s
over_selection "Q"
check "QW xyz"
focus "$DIALOG"
search keys alt+s
over_selection "R"
check "QW R"

step "キャンセル(&C) unloads the dialog; the next one starts with バイナリ検索 and an empty box"
focus "$DIALOG"
keys alt+c
wait_gone "$DIALOG"
focus "$MAIN"
keys End
type_text " qw"
keys ctrl+Home
open_search
type_text "qw"
search keys alt+s
over_selection "S"
check "QW R S"

step "検索(&S) with a selection refreshes the open dialog's box; nothing after it"
keys ctrl+Home shift+Right shift+Right
menu e s
focus "$DIALOG"
keys alt+s
not_found
over_selection "T"
check "T R S"

log "PASS"
