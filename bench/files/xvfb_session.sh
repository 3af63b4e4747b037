# Sourced by the whole-process benchmarks: a private Xvfb and a fresh Orvane profile under $work
# (which the caller made and removes), DISPLAY set for them; stop_xvfb ends it.
xvfb=
stop_xvfb() { if [[ -n $xvfb ]]; then kill "$xvfb" 2> /dev/null || true; fi; }
command -v Xvfb > /dev/null && command -v xdotool > /dev/null || { echo "needs Xvfb and xdotool"; exit 77; }
exec 3> "$work/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 2> /dev/null &
xvfb=$!
for _ in $(seq 100); do [[ -s $work/display ]] && break; sleep 0.05; done
export DISPLAY=:$(cat "$work/display") QT_QPA_PLATFORM=xcb
export XDG_RUNTIME_DIR="$work/run" XDG_CONFIG_HOME="$work/config" XDG_STATE_HOME="$work/state"
mkdir -m 0700 -p "$XDG_RUNTIME_DIR" "$XDG_CONFIG_HOME" "$XDG_STATE_HOME"
