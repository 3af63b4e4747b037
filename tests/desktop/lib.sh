# Harness for the desktop tests: a private Xvfb, the real orvane binary, real key events through
# xdotool, and checks of the files it writes. Sourced by the tst_*.sh scenarios.
#
# Every wait polls a condition against a deadline; nothing relies on a bare sleep. Everything the
# harness starts is ended by PID in the EXIT trap, and every temporary file lives under $WORK.

set -uo pipefail

SKIP=77
DEADLINE=${ORVANE_DESKTOP_WAIT:-20}   # seconds for any one condition
SCREENSHOTS=${SCREENSHOTS:-}
STEP="start"

log() { printf '[%s] %s\n' "$(date +%T.%3N)" "$*" >&2; }
fail() {
    log "FAIL ($STEP): $*"
    if [ -n "${WORK:-}" ] && [ -n "${DISPLAY:-}" ] && command -v import >/dev/null; then
        mkdir -p "$SCREENSHOTS" 2>/dev/null && import -window root "$SCREENSHOTS/${TEST_NAME}-failure.png" 2>/dev/null &&
            log "screen at failure: $SCREENSHOTS/${TEST_NAME}-failure.png"
    fi
    if [ -f "${WORK:-/nonexistent}/orvane.log" ]; then
        log "orvane output:"; sed 's/^/    /' "$WORK/orvane.log"
    fi
    exit 1
}
step() { STEP="$*"; log "-- $*"; }

require_tools() {
    local t
    for t in "$@"; do
        command -v "$t" >/dev/null || { echo "SKIP: $t is not installed"; exit $SKIP; }
    done
}

# Pids started by the harness, ended in reverse order on exit.
PIDS=()
CLEANUP_HOOK=:
# forget_pid PID: after a wait reaped it, so that the trap never signals a reused PID.
forget_pid() {
    local kept=() pid
    for pid in "${PIDS[@]}"; do [ "$pid" = "$1" ] || kept+=("$pid"); done
    PIDS=("${kept[@]}")
}
cleanup() {
    local i pid
    for ((i = ${#PIDS[@]} - 1; i >= 0; i--)); do
        pid=${PIDS[i]}
        kill -TERM "$pid" 2>/dev/null
    done
    for pid in "${PIDS[@]}"; do
        for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.05; done
        kill -KILL "$pid" 2>/dev/null
        wait "$pid" 2>/dev/null
    done
    $CLEANUP_HOOK
    [ -n "${WORK:-}" ] && rm -rf "$WORK"
}

# desktop_init NAME: temporary folders, environment and a private X server.
desktop_init() {
    TEST_NAME=$1
    require_tools Xvfb xdotool xclip xwininfo import convert iconv cmp python3
    ORVANE=$(realpath "$ORVANE") && [ -x "$ORVANE" ] || { log "FAIL: no program $ORVANE"; exit 1; }
    WORK=$(mktemp -d "${TMPDIR:-/tmp}/orvane-desktop.XXXXXX") || exit 1
    trap cleanup EXIT
    trap 'exit 1' INT TERM HUP
    [ -n "$SCREENSHOTS" ] || SCREENSHOTS=$WORK/screenshots
    mkdir -p "$SCREENSHOTS" "$WORK/home" "$WORK/config" "$WORK/runtime" "$WORK/files"
    chmod 0700 "$WORK/runtime"
    export HOME=$WORK/home XDG_CONFIG_HOME=$WORK/config XDG_RUNTIME_DIR=$WORK/runtime
    export QT_QPA_PLATFORM=xcb
    export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0}
    unset WAYLAND_DISPLAY SESSION_MANAGER DBUS_SESSION_BUS_ADDRESS QT_IM_MODULE XMODIFIERS
    start_xvfb
}

start_xvfb() {
    local fifo=$WORK/displayfd number=""
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$fifo" >"$WORK/xvfb.log" 2>&1 &
    PIDS+=($!)
    # Xvfb writes its display number once it accepts connections.
    read -r -t "$DEADLINE" number <"$fifo" || fail "Xvfb did not start: $(cat "$WORK/xvfb.log")"
    export DISPLAY=:$number
    log "Xvfb on $DISPLAY"
}

# wait_for DESCRIPTION COMMAND...: polls COMMAND until it succeeds or the deadline passes.
wait_for() {
    local what=$1; shift
    local end=$((SECONDS + DEADLINE))
    until "$@" >/dev/null 2>&1; do
        [ $SECONDS -lt $end ] || fail "timed out waiting for $what"
        sleep 0.05
    done
}

# visible_windows: ids of the mapped windows of the running orvane.
visible_windows() { xdotool search --onlyvisible --pid "$ORVANE_PID" 2>/dev/null; }

# window_named TITLE [EXCEPT_ID]: first mapped window of orvane whose title is exactly TITLE.
window_named() {
    local id
    for id in $(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null); do
        [ "$id" = "${2:-}" ] && continue
        echo "$id"; return 0
    done
    return 1
}

# wait_window TITLE [EXCEPT_ID]: prints the id of the window once it is mapped.
# It runs in a command substitution, so call it as: id=$(wait_window ...) || exit 1
wait_window() {
    local end=$((SECONDS + DEADLINE)) id
    while :; do
        id=$(window_named "$@") && { echo "$id"; return 0; }
        [ $SECONDS -lt $end ] || fail "timed out waiting for a window \"$1\""
        sleep 0.05
    done
}

window_gone() { ! xdotool getwindowname "$1" >/dev/null 2>&1 || ! is_viewable "$1"; }
is_viewable() { xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsViewable'; }
wait_gone() { wait_for "window $1 to close" window_gone "$1"; }

# focus ID: gives the window the keyboard focus (there is no window manager to do it).
focus() {
    # windowactivate needs a window manager; without one, windowfocus does it.
    xdotool windowactivate --sync "$1" >/dev/null 2>&1 || true
    xdotool windowfocus --sync "$1" >/dev/null 2>&1
    wait_for "focus on window $1" focused_is "$1"
}
focused_is() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ]; }

# Real input events. Keys go to whatever window has the X focus.
keys() { xdotool key --clearmodifiers --delay 60 "$@"; }
type_text() { xdotool type --clearmodifiers --delay 40 -- "$1"; }

# menu TOPKEY ITEMKEY...: Alt+TOPKEY opens a menu on the menu bar; each further access key picks
# an item (or opens a submenu) once the popup for it is up. The caller waits for the outcome of
# the last key itself (a file written, a dialog mapped).
menu() {
    local before key n=$#
    before=$(visible_windows | wc -l)
    keys "alt+$1"
    wait_for "the menu of Alt+$1 to open" popup_count_above "$before"
    shift
    while [ $# -gt 0 ]; do
        key=$1; shift
        before=$(visible_windows | wc -l)
        keys "$key"
        # A key that opens a submenu maps one more popup.
        [ $# -gt 0 ] && wait_for "the submenu of $key to open" popup_count_above "$before"
    done
    return 0
}
popup_count_above() { [ "$(visible_windows | wc -l)" -gt "$1" ]; }

# start_orvane [FOLDER]: starts the editor with FOLDER (default $WORK/files) as its working folder,
# which is where its file dialogs open; sets ORVANE_PID and MAIN (the main window). LAUNCH, when
# set, is a command prefix that execs the editor (another user, another environment).
LAUNCH=()
ARGS=()   # arguments of the editor
# launch_orvane [FOLDER]: starts the editor and returns at once, waiting for no window.
launch_orvane() {
    local folder=${1:-$WORK/files}
    (cd "$folder" && exec "${LAUNCH[@]}" "$ORVANE" "${ARGS[@]}" >>"$WORK/orvane.log" 2>&1) &
    ORVANE_PID=$!
    PIDS+=("$ORVANE_PID")
}

start_orvane() {
    launch_orvane "$@"
    MAIN=$(wait_window Orvane) || exit 1
    focus "$MAIN"
    log "orvane pid $ORVANE_PID, main window $MAIN"
}

orvane_running() { kill -0 "$ORVANE_PID" 2>/dev/null; }
# wait_exit: waits until orvane has ended and checks that it ended with status 0.
wait_exit() {
    local end=$((SECONDS + DEADLINE))
    while orvane_running; do
        [ $SECONDS -lt $end ] || fail "orvane did not end"
        sleep 0.05
    done
    local status=0
    wait "$ORVANE_PID" || status=$?
    forget_pid "$ORVANE_PID"
    [ $status -eq 0 ] || fail "orvane ended with status $status"
}

# expect_file FILE EXPECTED_FILE: waits until FILE holds exactly the bytes of EXPECTED_FILE.
expect_file() {
    local end=$((SECONDS + DEADLINE))
    until [ -f "$1" ] && cmp -s "$1" "$2"; do
        if [ $SECONDS -ge $end ]; then
            log "expected bytes:"; od -An -tx1 -c "$2" | sed 's/^/    /'
            if [ -f "$1" ]; then log "actual bytes:"; od -An -tx1 -c "$1" | sed 's/^/    /'
            else log "no file $1"; fi
            fail "$1 does not hold the expected bytes"
        fi
        sleep 0.05
    done
}

# cp932 TEXT: TEXT (UTF-8, with \r\n escapes as printf takes them) as code page 932 bytes, to stdout.
cp932() { printf "$1" | iconv -f UTF-8 -t CP932; }

# expect_saved FILE TEXT: waits until FILE holds TEXT in code page 932 followed by one CR LF.
expect_saved() {
    cp932 "$2" >"$WORK/expected" || fail "cannot encode the expected text"
    printf '\r\n' >>"$WORK/expected"
    expect_file "$1" "$WORK/expected"
}

# clipboard: the text that the clipboard owner offers, read from outside the editor.
clipboard() { timeout 5 xclip -o -selection clipboard 2>/dev/null; }
expect_clipboard() {
    local end=$((SECONDS + DEADLINE)) got
    while :; do
        got=$(clipboard) && [ "$got" = "$1" ] && return 0
        [ $SECONDS -lt $end ] || fail "clipboard holds \"$got\", expected \"$1\""
        sleep 0.05
    done
}

# offer_clipboard TEXT: puts TEXT on the clipboard from another X client, as another program would.
offer_clipboard() {
    printf '%s' "$1" | xclip -quiet -selection clipboard -i >/dev/null 2>&1 &
    PIDS+=($!)
    wait_for "xclip to own the clipboard" clipboard_is "$1"
}
clipboard_is() { [ "$(clipboard)" = "$1" ]; }

# screenshot NAME: the whole screen, kept in the build tree.
screenshot() {
    import -window root "$SCREENSHOTS/$1.png" || fail "cannot take a screenshot"
    log "screenshot $SCREENSHOTS/$1.png"
}

# geometry ID: sets X Y W H of a window, in screen coordinates.
geometry() {
    local out
    out=$(xdotool getwindowgeometry --shell "$1") || fail "no geometry for window $1"
    X=$(sed -n 's/^X=//p' <<<"$out"); Y=$(sed -n 's/^Y=//p' <<<"$out")
    W=$(sed -n 's/^WIDTH=//p' <<<"$out"); H=$(sed -n 's/^HEIGHT=//p' <<<"$out")
}

# crop NAME X Y W H OUT: a region of screenshot NAME as a grey-scale plain PGM for glyph_check.py.
crop() {
    convert "$SCREENSHOTS/$1.png" -crop "${4}x${5}+${2}+${3}" +repage -colorspace Gray -compress none "$6" ||
        fail "cannot crop $1"
}

# expect_glyphs MIN_DISTINCT WHAT PGM...: the captions in the crops are drawn with real glyphs.
expect_glyphs() {
    local min=$1 what=$2; shift 2
    python3 "$HERE/glyph_check.py" --min-distinct "$min" "$@" || fail "$what is not drawn with real glyphs (tofu?)"
}

# Commands of the editor, through its menus.
save() { menu f s; }

# save_dialog: opens Save As from the File menu.
SAVE_TITLE=名前を付けて保存
save_dialog() { menu f a; }

# accept_name DIALOG NAME: types NAME (a bare name, or a full path) into the file dialog's name box
# and accepts it. A typed path can open the name box's completer popup, which takes Return for
# itself; when it is up, Escape closes only the popup.
accept_name() {
    local dialog=$1 name=$2 before tries=0
    focus "$dialog"
    type_text "$name"
    before=2   # the main window and the dialog
    while ! window_gone "$dialog"; do
        tries=$((tries + 1))
        [ $tries -le 5 ] || fail "the file dialog did not take \"$name\""
        if [ "$(visible_windows | wc -l)" -gt $before ]; then
            keys Escape
        else
            keys Return
        fi
        local end=$((SECONDS + 2))
        while ! window_gone "$dialog" && [ $SECONDS -lt $end ]; do sleep 0.05; done
    done
}

# save_as NAME: Save As from the menu into NAME; the main window has the focus again afterwards.
save_as() {
    local dialog
    save_dialog
    dialog=$(wait_window "$SAVE_TITLE") || exit 1
    accept_name "$dialog" "$1"
    focus "$MAIN"
}

# prompt: waits for the save prompt (a message box with the program's title, beside the main window).
# Call as: id=$(prompt) || exit 1
prompt() { wait_window Orvane "$MAIN"; }
