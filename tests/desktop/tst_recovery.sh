#!/usr/bin/env bash
# Unsaved text comes back after the program was killed: typed into an untitled document and into
# an opened Shift-JIS file, the program ended by SIGKILL and by SIGTERM, the next start answered
# はい (the text back, unsaved, the file on disk untouched) and いいえ (the journal gone).
# The same after the X server went away.
# Usage: tst_recovery.sh PATH_TO_ORVANE
HERE=$(cd "$(dirname "$0")" && pwd)
source "$HERE/lib.sh"
ORVANE=${1:?usage: $0 PATH_TO_ORVANE}

desktop_init recovery
XVFB_PID=${PIDS[0]}
F=$WORK/files
JOURNALS=$HOME/.local/state/orvane

# text_is TEXT: the whole text of the main window, read through the X clipboard.
text_is() {
    focus "$MAIN"
    keys ctrl+a ctrl+c
    expect_clipboard "$1"
    keys ctrl+End
}

# kill_orvane SIGNAL: ends the editor with SIGNAL and waits until it is gone.
kill_orvane() {
    kill "-$1" "$ORVANE_PID"
    wait "$ORVANE_PID" 2>/dev/null
    forget_pid "$ORVANE_PID"
}

journal_count() { find "$JOURNALS" -name '*.journal' 2>/dev/null | wc -l; }
journals_are() { [ "$(journal_count)" -eq "$1" ]; }

# restart_and_answer KEY: starts the editor, waits for the recovery question over its main window
# and answers it with KEY (alt+y はい, alt+n いいえ).
restart_and_answer() {
    # The question may take the focus at any moment after the main window maps: focus nothing
    # until both are up.
    launch_orvane
    local question
    # Both windows have the program's title: the question is the one that is not the main window.
    wait_for "the recovery question" two_windows
    MAIN=$(main_window)
    [ -n "$MAIN" ] || fail "no main window"
    question=$(window_named Orvane "$MAIN") || fail "no recovery question"
    screenshot "recovery-question"
    focus "$question"
    keys "$1"
    wait_gone "$question"
    focus "$MAIN"
}
two_windows() { [ "$(xdotool search --onlyvisible --name '^Orvane$' | wc -l)" -ge 2 ]; }
main_window() {
    local id w
    for id in $(xdotool search --onlyvisible --name '^Orvane$'); do
        w=$(xdotool getwindowgeometry --shell "$id" | sed -n 's/^WIDTH=//p')
        [ "$w" -ge 400 ] && xwininfo -id "$id" | grep -q 'Height: *[3-9][0-9][0-9]' && { echo "$id"; return; }
    done
    xdotool search --onlyvisible --name '^Orvane$' | head -n 1
}

step "untitled: typed and converted text, then SIGKILL"
start_orvane
type_text "typed before kill"
menu s w
text_is "ｔｙｐｅｄ　ｂｅｆｏｒｅ　ｋｉｌｌ"
type_text " end"
text_is "ｔｙｐｅｄ　ｂｅｆｏｒｅ　ｋｉｌｌ end"
kill_orvane KILL
journals_are 1 || fail "no journal after the kill"

step "restart, はい: the text is back, unsaved"
restart_and_answer alt+y
text_is "ｔｙｐｅｄ　ｂｅｆｏｒｅ　ｋｉｌｌ end"

step "the restored window goes on journaling: typing and a conversion, SIGKILL, はい"
type_text "!"
menu s u
text_is "ＴＹＰＥＤ　ＢＥＦＯＲＥ　ＫＩＬＬ END!"
kill_orvane KILL
restart_and_answer alt+y
text_is "ＴＹＰＥＤ　ＢＥＦＯＲＥ　ＫＩＬＬ END!"

step "Exit asks to save (Modified); いいえ ends and removes the journal"
menu f x
question=$(prompt) || exit 1
focus "$question"
keys alt+n
wait_exit
journals_are 0 || fail "the journal outlived a normal end"

step "an opened Shift-JIS file: typed text, then SIGTERM"
cp932 '一行目\r\n' >"$F/sjis.txt"
cp "$F/sjis.txt" "$WORK/sjis.orig"
ARGS=("$F/sjis.txt")
start_orvane
ARGS=()
text_is "一行目"
type_text "+abc"
text_is "一行目+abc"
kill_orvane TERM
journals_are 1 || fail "no journal after SIGTERM"

step "restart, はい: the text back, the file untouched, saved as Shift-JIS"
restart_and_answer alt+y
text_is "一行目+abc"
cmp -s "$F/sjis.txt" "$WORK/sjis.orig" || fail "the file changed on disk"
save
expect_saved "$F/sjis.txt" '一行目+abc'
wait_for "the journal to go after the save" journals_are 0

step "typed again, SIGKILL, restart, いいえ: the journal is gone, the file as saved"
type_text "zzz"
text_is "一行目+abczzz"
kill_orvane KILL
restart_and_answer alt+n
journals_are 0 || fail "いいえ left the journal"
type_text "q"
text_is "q"
expect_saved "$F/sjis.txt" '一行目+abc'
step "the X server goes away: the journal stays, and the next session offers it"
type_text "x"
text_is "qx"
kill -KILL "$XVFB_PID"
wait "$XVFB_PID" 2>/dev/null
forget_pid "$XVFB_PID"
wait_for "orvane to end with its X server" eval '! orvane_running'
wait "$ORVANE_PID" 2>/dev/null
forget_pid "$ORVANE_PID"
journals_are 1 || fail "no journal after the X server went away"
start_xvfb
restart_and_answer alt+y
text_is "qx"
log "PASS"
