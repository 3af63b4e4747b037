#!/usr/bin/env bash
# Screenshots of the main window with its menus open, of the search dialog and of the save
# prompt, kept in the build tree, and a check that their Japanese captions are drawn with real
# glyphs rather than tofu. The check is first shown to fail on the same program started with a
# font configuration that has no Japanese font.
# Usage: tst_glyphs.sh PATH_TO_ORVANE
HERE=$(cd "$(dirname "$0")" && pwd)
source "$HERE/lib.sh"
ORVANE=${1:?usage: $0 PATH_TO_ORVANE}
require_tools fc-list fc-match

desktop_init glyphs
# The menu bar and the Edit menu hold nine captions that start with different characters
# (ファイル 編集 文字列一括変換 ヘルプ, 切り取り コピー 貼り付け 検索 選択文字列変換; 元に戻す is
# highlighted), and the shortcut texts start with "Ctrl"; tofu makes the captions start alike.
MENU_STARTS=7
# The dialog's captions start with 検索, バイ, テキ and 先頭.
DIALOG_STARTS=4

# popup_geometry: X Y W H of the one mapped window of orvane besides the main window and $1.
popup_geometry() {
    local id
    for id in $(visible_windows); do
        [ "$id" = "$MAIN" ] || [ "$id" = "${1:-}" ] && continue
        geometry "$id"; return 0
    done
    fail "no popup window"
}

# shoot_menus PREFIX: screenshots of the main window, of its Edit menu and of that menu's
# submenu; the crops that the glyph check reads are the menu bar's caption row and the inside of
# the Edit menu (without its frame, whose sides would join all rows into one).
shoot_menus() {
    focus "$MAIN"
    screenshot "$1-main-window"
    menu e
    popup_geometry
    local px=$X py=$Y pw=$W ph=$H
    screenshot "$1-edit-menu"
    geometry "$MAIN"
    crop "$1-main-window" "$X" "$Y" "$W" $((py - Y - 2)) "$WORK/$1-menubar.pgm"
    crop "$1-edit-menu" $((px + 3)) $((py + 3)) $((pw - 6)) $((ph - 6)) "$WORK/$1-editmenu.pgm"
    keys r
    wait_for "the submenu 選択文字列変換" popup_count_above 2
    screenshot "$1-convert-submenu"
    keys Escape Escape Escape
    wait_for "the menus to close" only_main_window
}
# shoot_dialog PREFIX: a screenshot of the search dialog, and crops of its captions taken from
# its layout (twips / 15), without the radio and check indicators and the frame: 検索する文字列,
# バイナリ検索 and テキスト検索, 先頭にある文字列のみ検索.
shoot_dialog() {
    focus "$MAIN"
    menu e s
    local dialog
    dialog=$(wait_window 検索) || exit 1
    geometry "$dialog"
    screenshot "$1-search-dialog"
    crop "$1-search-dialog" $((X + 4)) $((Y + 6)) 96 24 "$WORK/$1-dialog-label.pgm"
    crop "$1-search-dialog" $((X + 33)) $((Y + 42)) 78 44 "$WORK/$1-dialog-options.pgm"
    crop "$1-search-dialog" $((X + 136)) $((Y + 38)) 150 22 "$WORK/$1-dialog-check.pgm"
    focus "$dialog"
    keys alt+c
    wait_gone "$dialog"
    focus "$MAIN"
}
only_main_window() { [ "$(visible_windows | wc -l)" -eq 1 ]; }

step "without a Japanese font the check sees tofu"
mkdir -p "$WORK/fonts-cache"
cat >"$WORK/no-japanese.conf" <<EOF
<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<fontconfig>
  <dir>/usr/share/fonts/truetype/dejavu</dir>
  <cachedir>$WORK/fonts-cache</cachedir>
</fontconfig>
EOF
export FONTCONFIG_FILE=$WORK/no-japanese.conf
if [ -n "$(fc-list :lang=ja)" ] || [ -z "$(fc-list)" ]; then
    echo "SKIP: cannot set up a font configuration without Japanese (DejaVu missing?)"; exit $SKIP
fi
start_orvane
shoot_menus tofu
if python3 "$HERE/glyph_check.py" --min-distinct $MENU_STARTS "$WORK/tofu-menubar.pgm" "$WORK/tofu-editmenu.pgm"; then
    fail "the glyph check passes menus drawn without a Japanese font"
fi
shoot_dialog tofu
if python3 "$HERE/glyph_check.py" --min-distinct $DIALOG_STARTS "$WORK"/tofu-dialog-*.pgm; then
    fail "the glyph check passes a search dialog drawn without a Japanese font"
fi
menu f x
wait_exit
unset FONTCONFIG_FILE

step "a Japanese font is installed and is what fontconfig picks for Japanese"
[ -n "$(fc-list :lang=ja)" ] || fail "no font with Japanese glyphs is installed (fonts-ipafont-gothic)"
log "Japanese font: $(fc-match :lang=ja)"
fc-match --format '%{lang}' :lang=ja | tr '|' '\n' | grep -qx ja || fail "fc-match :lang=ja gives a font without Japanese"

step "the menu bar and the Edit menu"
start_orvane
shoot_menus orvane
expect_glyphs $MENU_STARTS "the menu bar and the Edit menu" "$WORK/orvane-menubar.pgm" "$WORK/orvane-editmenu.pgm"

step "the search dialog"
shoot_dialog orvane
expect_glyphs $DIALOG_STARTS "the search dialog" "$WORK"/orvane-dialog-*.pgm

step "the save prompt"
focus "$MAIN"
type_text "x"
menu f x
box=$(prompt) || exit 1
screenshot save-prompt
focus "$box"
keys n
wait_exit

log "PASS (screenshots in $SCREENSHOTS)"
