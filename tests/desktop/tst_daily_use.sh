#!/usr/bin/env bash
# Daily use on a real X server: a file opened as a file manager opens it, through the menu entry's
# Exec line; the selection offered to other programs as the primary selection, read by xclip, and
# pasted back with the middle button, undoably. Every outcome is checked in bytes.
# Usage: tst_daily_use.sh PATH_TO_ORVANE
HERE=$(cd "$(dirname "$0")" && pwd)
source "$HERE/lib.sh"
ORVANE=${1:?usage: $0 PATH_TO_ORVANE}
ENTRY=$HERE/../../app/orvane.desktop

desktop_init daily_use
F=$WORK/files
mkdir -p "$F/メモ 帳"
DOC="$F/メモ 帳/開く.txt"
cp932 "一行目ABC\r\n二行目" >"$DOC" || fail "cannot write $DOC"
printf '\r\n' >>"$DOC"

step "the menu entry's Exec line with %f replaced by the file, from the home folder"
exec_line=$(sed -n 's/^Exec=//p' "$ENTRY")
[ "$exec_line" = "orvane %f" ] || fail "Exec=$exec_line"
ARGS=("$DOC" "余分.txt")
start_orvane "$HOME"
grep -q '無視しました: 余分.txt' "$WORK/orvane.log" || fail "the extra argument was not named on stderr"

# primary: what the primary selection's owner offers, read from outside the editor.
primary() { timeout 5 xclip -o -selection primary 2>/dev/null; }
primary_is() { [ "$(primary | od -An -tx1)" = "$(printf "$1" | od -An -tx1)" ]; }
expect_primary() { wait_for "the primary selection to offer \"$1\"" primary_is "$1"; }

step "Ctrl+A offers the whole text opened from the file"
keys ctrl+a
expect_primary "一行目ABC\r\n二行目"

step "Shift+Right narrows what is offered (Ctrl+A leaves the caret at the start)"
keys shift+Right shift+Right
expect_primary "目ABC\r\n二行目"

step "an edit after the selection is gone leaves the offer as it was"
keys ctrl+End
type_text "!"
expect_primary "目ABC\r\n二行目"

step "the middle button pastes it at the end; Save keeps the file in place"
geometry "$MAIN"
xdotool mousemove --sync $((X + W - 40)) $((Y + H - 40)) click 2
save
expect_saved "$DOC" "一行目ABC\r\n二行目!目ABC\r\n二行目"

step "the paste is one undo step"
keys ctrl+z
save
expect_saved "$DOC" "一行目ABC\r\n二行目!"

step "Shift+click below the text selects from the caret to the end"
keys ctrl+Home
xdotool mousemove --sync $((X + W - 40)) $((Y + H - 40)) keydown shift click 1 keyup shift
expect_primary "一行目ABC\r\n二行目!"

step "Exit of the saved text asks nothing"
menu f x
wait_exit

log "PASS"
