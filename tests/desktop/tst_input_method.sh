#!/usr/bin/env bash
# Japanese input through a real input method: fcitx5 with Mozc, reached by Qt's fcitx5 plugin,
# on a private Xvfb and D-Bus session. Romaji typed as X key events must arrive in the edit
# control as the committed kanji and kana, checked through the clipboard and in the saved file.
# The Mozc server quits when it runs as root, so as root the input-method stack and the editor
# run as the unprivileged user nobody.
# Usage: tst_input_method.sh PATH_TO_ORVANE
HERE=$(cd "$(dirname "$0")" && pwd)
source "$HERE/lib.sh"
ORVANE=${1:?usage: $0 PATH_TO_ORVANE}

require_tools fcitx5 dbus-daemon dbus-send setpriv
plugin=$(ls /usr/lib/*/qt6/plugins/platforminputcontexts/libfcitx5platforminputcontextplugin.so 2>/dev/null | head -1)
[ -n "$plugin" ] || { echo "SKIP: fcitx5-frontend-qt6 is not installed"; exit $SKIP; }
[ -f /usr/share/fcitx5/inputmethod/mozc.conf ] || { echo "SKIP: fcitx5-mozc is not installed"; exit $SKIP; }

desktop_init input_method

# Everything of the input-method session lives in $U, owned by the user who runs it.
U=$WORK/im
mkdir -p "$U/home" "$U/runtime" "$U/config/fcitx5" "$U/files"
chmod 0700 "$U/runtime"
cat >"$U/config/fcitx5/profile" <<'EOF'
[Groups/0]
Name=Default
Default Layout=us
DefaultIM=mozc

[Groups/0/Items/0]
Name=keyboard-us
Layout=

[Groups/0/Items/1]
Name=mozc
Layout=

[GroupOrder]
0=Default
EOF
# Mozc is on in every new input context, so the first key already composes.
cat >"$U/config/fcitx5/config" <<'EOF'
[Behavior]
ActiveByDefault=True
ShareInputState=All
EOF

as_user=()
if [ "$(id -u)" -eq 0 ]; then
    as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
    chmod 0711 "$WORK"
    chown -R nobody:nogroup "$U"
    # A build tree under a private home folder is out of nobody's reach: run a copy of the program.
    if ! "${as_user[@]}" test -x "$ORVANE"; then
        cp "$ORVANE" "$WORK/orvane-for-nobody"
        chmod 0755 "$WORK/orvane-for-nobody"
        ORVANE="$WORK/orvane-for-nobody"
    fi
    "${as_user[@]}" test -x "$ORVANE" || { echo "SKIP: nobody cannot run $ORVANE"; exit $SKIP; }
fi
session_env=(env -i "PATH=/usr/bin:/bin" "DISPLAY=$DISPLAY" "HOME=$U/home" "XDG_RUNTIME_DIR=$U/runtime"
    "XDG_CONFIG_HOME=$U/config" "DBUS_SESSION_BUS_ADDRESS=unix:path=$U/runtime/bus" "LANG=C.UTF-8"
    "ASAN_OPTIONS=$ASAN_OPTIONS")

# The Mozc server detaches from fcitx5 and outlives it: end it, and anything else that ran with
# this session's home, by PID.
end_session_leftovers() {
    local environ pid
    for environ in /proc/[0-9]*/environ; do
        pid=${environ#/proc/}; pid=${pid%/environ}
        { tr '\0' '\n' <"$environ"; } 2>/dev/null | grep -qxF "HOME=$U/home" && kill -KILL "$pid" 2>/dev/null
    done
}
CLEANUP_HOOK=end_session_leftovers

step "D-Bus session and fcitx5 with Mozc"
"${session_env[@]}" "${as_user[@]}" dbus-daemon --session --nofork --address="unix:path=$U/runtime/bus" \
    >"$WORK/dbus.log" 2>&1 &
PIDS+=($!)
wait_for "the D-Bus session" test -S "$U/runtime/bus"
"${session_env[@]}" "${as_user[@]}" fcitx5 \
    --disable=wayland,waylandim,kimpanel,notificationitem,clipboard,xim,ibusfrontend,fcitx4frontend \
    >"$WORK/fcitx5.log" 2>&1 &
PIDS+=($!)
fcitx_up() {
    "${session_env[@]}" "${as_user[@]}" dbus-send --session --print-reply --dest=org.freedesktop.DBus \
        / org.freedesktop.DBus.NameHasOwner string:org.fcitx.Fcitx5 | grep -q 'boolean true'
}
wait_for "fcitx5 on the session bus" fcitx_up

step "romaji into the editor: nihongo, Space, Return, then kana, Return"
LAUNCH=("${session_env[@]}" QT_QPA_PLATFORM=xcb QT_IM_MODULE=fcitx "${as_user[@]}")
start_orvane "$U/files"
# Keys typed before the editor's input context reaches fcitx5 would not be composed.
im_context_ready() {
    "${session_env[@]}" "${as_user[@]}" dbus-send --session --print-reply --dest=org.fcitx.Fcitx5 \
        /controller org.fcitx.Fcitx.Controller1.DebugInfo | tee "$WORK/fcitx-debug.txt" | grep -q 'program:orvane'
}
wait_for "the editor's input context in fcitx5" im_context_ready
type_text "nihongo"
keys space Return
type_text "kana"
keys Return
keys ctrl+Home shift+End ctrl+c
expect_clipboard "日本語かな"
screenshot input-method

step "the committed text is saved as code page 932"
keys End
# Ctrl+Space turns the input method off, so that the file name is typed as it stands.
keys ctrl+space
save_as j.txt
expect_saved "$U/files/j.txt" "日本語かな"

log "PASS"
