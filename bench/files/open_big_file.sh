#!/usr/bin/env bash
# Whole-process Open of a big file on Xvfb: `orvane FILE` from its start until the window has
# answered 終了 (Alt+F, X) sent as soon as it is mapped, so the keys wait for the loaded document.
# Wall, CPU (user+sys) and peak RSS of each run, beside vim reading the same file (when present).
# Usage: bench/files/open_big_file.sh BUILD_DIR FILE... (BENCH_VIM=no leaves vim out)
set -euo pipefail
build=${1:?build directory}
shift
orvane="$build/app/orvane"
work=$(mktemp -d)
cleanup() { stop_xvfb; rm -rf "$work"; }
trap cleanup EXIT
source "$(dirname "$0")/xvfb_session.sh"

# One line: wall seconds, CPU seconds, peak RSS in MB of the command run by /usr/bin/time.
report() {
  awk -F': ' '/Elapsed \(wall/ { n = split($2, t, ":"); w = 0; for (i = 1; i <= n; i++) w = w * 60 + t[i] }
              /User time/ { c += $2 } /System time/ { c += $2 }
              /Maximum resident/ { r = $2 / 1024 }
              END { printf "%-34s wall %7.2f s  cpu %7.2f s  peak %7.0f MB\n", name, w, c, r }' name="$1" "$2"
}

for file in "$@"; do
  size=$(stat -c %s "$file")
  cat "$file" > /dev/null
  echo "$(basename "$file"): $((size / 1000000)) MB"
  /usr/bin/time -v -o "$work/time" ${ORVANE_WRAP:-} "$orvane" "$file" &
  pid=$!
  window=
  for _ in $(seq 2000); do
    window=$(xdotool search --sync --onlyvisible --name Orvane 2> /dev/null | head -1) && [[ -n $window ]] && break
    sleep 0.01
  done
  xdotool windowfocus --sync "$window" 2> /dev/null || true
  xdotool key --window "$window" alt+f 2> /dev/null || true
  sleep 0.2
  xdotool key --window "$window" x 2> /dev/null || true
  wait "$pid" || true
  report "orvane (open, answer 終了)" "$work/time"
  if [[ ${BENCH_VIM:-yes} == yes ]] && command -v vim > /dev/null; then
    /usr/bin/time -v -o "$work/time" vim -u NONE -es -c 'normal G' -c 'q!' "$file" || true
    report "vim -u NONE -es 'normal G'" "$work/time"
  fi
done
