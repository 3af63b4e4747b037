#!/usr/bin/env bash
# Typing, the whole-text and selection conversions from the menus and their shortcut keys, Undo,
# Cut/Copy/Paste through the real X clipboard, Save As through the real file dialog, Save, and the
# save prompt of Exit, a UTF-8 file opened and saved as UTF-16 LE through the file-type list, on the
# real binary. Every outcome is checked in the saved file's bytes.
# Usage: tst_editing.sh PATH_TO_ORVANE
HERE=$(cd "$(dirname "$0")" && pwd)
source "$HERE/lib.sh"
ORVANE=${1:?usage: $0 PATH_TO_ORVANE}

desktop_init editing
F=$WORK/files
start_orvane

step "typing, then Save As with a bare name in the start folder"
type_text "Hello World"
save_as a.txt
expect_saved "$F/a.txt" "Hello World"

# Each check saves with 上書き保存 (Alt+F, S) and compares the file byte for byte.
check() { save; expect_saved "$F/a.txt" "$1"; }

step "whole text: 大文字変換 (Alt+S, U) and 小文字変換 (Alt+S, L)"
menu s u; check "HELLO WORLD"
menu s l; check "hello world"

step "selection shortcuts Ctrl+U, Ctrl+W, Ctrl+L, Undo Ctrl+Z, Ctrl+N"
keys End shift+Left shift+Left shift+Left shift+Left shift+Left ctrl+u
check "hello WORLD"
keys ctrl+Home shift+End ctrl+w
check "ｈｅｌｌｏ　ＷＯＲＬＤ"
keys ctrl+Home shift+End ctrl+l
check "ｈｅｌｌｏ　ｗｏｒｌｄ"
keys ctrl+z
check "ｈｅｌｌｏ　ＷＯＲＬＤ"
keys ctrl+Home shift+End ctrl+n
check "hello WORLD"

step "selection 全角変換 from the menu (Alt+E, R, W)"
keys ctrl+Home shift+Right shift+Right shift+Right shift+Right shift+Right
menu e r w
check "ｈｅｌｌｏ WORLD"

step "Ctrl+H without a selection erases nothing"
keys End ctrl+h
check "ｈｅｌｌｏ WORLD"

step "Ctrl+V pastes what another program put on the clipboard"
offer_clipboard "ひらがな"
keys End ctrl+v
check "ｈｅｌｌｏ WORLDひらがな"

step "kana shortcuts Ctrl+K, Ctrl+N, Ctrl+H on the selection"
keys shift+Left shift+Left shift+Left shift+Left ctrl+k
check "ｈｅｌｌｏ WORLDヒラガナ"
keys shift+Left shift+Left shift+Left shift+Left ctrl+n
check "ｈｅｌｌｏ WORLDﾋﾗｶﾞﾅ"
keys shift+Left shift+Left shift+Left shift+Left shift+Left ctrl+h
check "ｈｅｌｌｏ WORLDひらがな"

step "Ctrl+C copies the selection to the clipboard that other programs read"
keys ctrl+Home shift+End ctrl+c
expect_clipboard "ｈｅｌｌｏ WORLDひらがな"
check "ｈｅｌｌｏ WORLDひらがな"

step "Ctrl+X cuts, Ctrl+V pastes it elsewhere"
keys End shift+Left shift+Left shift+Left shift+Left ctrl+x
expect_clipboard "ひらがな"
check "ｈｅｌｌｏ WORLD"
keys ctrl+Home ctrl+v
check "ひらがなｈｅｌｌｏ WORLD"

step "whole-text カタカナ, 半角, ひらがな, 全角 from the menu bar"
menu s k; check "ヒラガナｈｅｌｌｏ WORLD"
menu s n; check "ﾋﾗｶﾞﾅhello WORLD"
menu s h; check "ひらがなhello WORLD"
menu s w; check "ひらがなｈｅｌｌｏ　ＷＯＲＬＤ"

step "元に戻す from the Edit menu (Alt+E, U) undoes the last conversion"
menu e u; check "ひらがなhello WORLD"

step "line ends: Enter gives CR LF in the file"
keys End Return
type_text "2"
check "ひらがなhello WORLD\r\n2"

step "Exit of a changed text: the prompt, キャンセル keeps the program running"
type_text "!"
menu f x
box=$(prompt) || exit 1
focus "$box"
keys Escape
wait_gone "$box"
orvane_running || fail "キャンセル ended the program"
focus "$MAIN"

step "Exit, はい(&Y): Save As with a full path typed into the name box, then the program ends"
menu f x
box=$(prompt) || exit 1
focus "$box"
keys alt+y
dialog=$(wait_window "$SAVE_TITLE") || exit 1
accept_name "$dialog" "$F/b.txt"
wait_exit
expect_saved "$F/b.txt" "ひらがなhello WORLD\r\n2!"
expect_saved "$F/a.txt" "ひらがなhello WORLD\r\n2"

step "Exit, いいえ(&N): the program ends and writes nothing"
start_orvane
type_text "discard"
menu f x
box=$(prompt) || exit 1
focus "$box"
keys n
wait_exit
[ "$(ls "$F")" = "$(printf 'a.txt\nb.txt')" ] || fail "files after いいえ: $(ls "$F")"
expect_saved "$F/b.txt" "ひらがなhello WORLD\r\n2!"

step "a UTF-8 file with LF line ends opened through the Open dialog, Enter typed, saved back in UTF-8 with LF"
printf '日本語 abc\n' >"$F/u8.txt"
start_orvane
menu f o
dialog=$(wait_window ファイルを開く) || exit 1
accept_name "$dialog" u8.txt
focus "$MAIN"
menu s w
keys ctrl+End Return
type_text "x"
save
printf '日本語　ａｂｃ\nx\n' >"$WORK/expected"
expect_file "$F/u8.txt" "$WORK/expected"

step "Save As UTF-16 LE, chosen in the file-type list by keyboard (UTF-8 preselected), line ends kept"
save_dialog
dialog=$(wait_window "$SAVE_TITLE") || exit 1
focus "$dialog"
keys Tab Down Down shift+Tab
accept_name "$dialog" u16.txt
{ printf '\xff\xfe'; printf '日本語　ａｂｃ\nx\n' | iconv -f UTF-8 -t UTF-16LE; } >"$WORK/expected"
expect_file "$F/u16.txt" "$WORK/expected"

step "Save As with 改行コード CR+LF (Windows), chosen by its access key"
focus "$MAIN"
save_dialog
dialog=$(wait_window "$SAVE_TITLE") || exit 1
focus "$dialog"
keys alt+l Down shift+Tab shift+Tab
accept_name "$dialog" crlf.txt
{ printf '\xff\xfe'; printf '日本語　ａｂｃ\r\nx\r\n' | iconv -f UTF-8 -t UTF-16LE; } >"$WORK/expected"
expect_file "$F/crlf.txt" "$WORK/expected"
focus "$MAIN"
menu f x
wait_exit

step "Exit of an unchanged text asks nothing"
start_orvane
menu f x
wait_exit

log "PASS"
