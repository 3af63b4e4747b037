#!/usr/bin/env bash
# The replace dialog on the real binary: Ctrl+R opens it filled from the selection, すべて置換 by its
# access key replaces every spelling of a word (half-width, full-width, hiragana) and a regular
# expression with groups across a line end; Ctrl+Z takes a すべて置換 back in one step. Each result is
# saved and compared byte for byte.
# Usage: tst_replace.sh PATH_TO_ORVANE
HERE=$(cd "$(dirname "$0")" && pwd)
source "$HERE/lib.sh"
ORVANE=${1:?usage: $0 PATH_TO_ORVANE}

desktop_init replace
F=$WORK/files
cp932 'カタカナ ｶﾀｶﾅ かたかな\r\nx1\r\ny2\r\n' >"$F/r.txt" || fail "cannot write the file"
ARGS=("$F/r.txt")
start_orvane
check() { focus "$MAIN"; save; expect_saved "$F/r.txt" "$1"; }
REPLACE_TITLE=置換

# open_replace: Ctrl+R in the main window; sets DIALOG and gives it the focus.
open_replace() {
    focus "$MAIN"
    keys ctrl+r
    DIALOG=$(wait_window "$REPLACE_TITLE") || exit 1
    focus "$DIALOG"
}

step "Ctrl+R with カタカナ selected, テキスト検索: every spelling becomes the replacement"
keys ctrl+Home shift+Right shift+Right shift+Right shift+Right
open_replace
keys alt+p
type_text "kana"
keys alt+a
check 'kana kana kana\r\nx1\r\ny2'
screenshot replace-all

step "正規表現 with groups across a line end"
open_replace
type_text '(\w)(\d)\n'
keys alt+p
type_text '$2$1;'
keys alt+x alt+a
check 'kana kana kana\r\n1x;y2'

step "Esc closes the dialog; Ctrl+Z takes the regular expression's すべて置換 back in one step"
focus "$DIALOG"
keys Escape
wait_gone "$DIALOG"
focus "$MAIN"
keys ctrl+z
check 'kana kana kana\r\nx1\r\ny2'

log "PASS"
