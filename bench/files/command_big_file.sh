#!/usr/bin/env bash
# Whole-process commands on a big file on Xvfb: `orvane COPY` opens a copy of FILE and one
# character is typed at the start. Then, by BENCH_COMMAND:
#   save (the default): 上書き保存 (Alt+F, S), measured until the file is replaced and until the
#     program is idle again; `cp` of the same file (and cp with the copy flushed to the disk, as the
#     save flushes its file) is timed in the same run, and the saved file is checked.
#   convert: 文字列一括変換 > カタカナ変換 (Alt+S, K) of the whole text, then 元に戻す (Ctrl+Z), each
#     measured until the program is idle again.
# Each: wall, CPU (user+sys) of the program, and its peak RSS during the command beside the RSS
# before it. Usage: bench/files/command_big_file.sh BUILD_DIR FILE... (the copies go beside FILE
# unless BENCH_DIR names another folder on the same disk)
set -euo pipefail
build=${1:?build directory}
shift
orvane="$build/app/orvane"
work=$(mktemp -d)
pid=
copy=
cleanup() {
  [[ -n $pid ]] && kill "$pid" 2> /dev/null
  stop_xvfb
  [[ -n $copy ]] && rm -f "$copy" "$copy.cp"
  rm -rf "$work"
}
trap cleanup EXIT
source "$(dirname "$0")/xvfb_session.sh"

ticks=$(getconf CLK_TCK)
now() { date +%s.%N; }
# The program's CPU seconds so far (user+sys).
cpu() { awk -v t="$ticks" '{ printf "%.2f", ($14 + $15) / t }' "/proc/$pid/stat"; }
rss_mb() { awk -v k="$1" '$1 == k":" { printf "%.0f", $2 / 1024 }' "/proc/$pid/status"; }
# Waits until the program has used no CPU for a second.
wait_idle() {
  local last=-1 c
  while true; do
    c=$(cpu)
    [[ $c == "$last" ]] && return
    last=$c
    sleep 1
  done
}
timed() {
  /usr/bin/time -f "%e %U %S %M" -o "$work/t" "$@"
  awk -v name="$label" '{ printf "%-34s wall %7.2f s  cpu %7.2f s  peak %7.0f MB\n", name, $1, $2 + $3, $4 / 1024 }' "$work/t"
}

for file in "$@"; do
  dir=${BENCH_DIR:-$(dirname "$file")}
  copy="$dir/orvane-save-bench-$$.txt"
  cp "$file" "$copy"
  sync "$copy"
  echo "$(basename "$file"): $(($(stat -c %s "$file") / 1000000)) MB, load average $(cut -d' ' -f1-3 /proc/loadavg)"
  if [[ ${BENCH_COMMAND:-save} == save ]]; then
    label="cp" timed cp "$copy" "$copy.cp"
    rm -f "$copy.cp"
    label="cp, then the copy flushed" timed sh -c 'cp "$1" "$2" && sync "$2"' sh "$copy" "$copy.cp"
    rm -f "$copy.cp"
  fi

  "$orvane" "$copy" &
  pid=$!
  window=
  for _ in $(seq 2000); do
    window=$(xdotool search --sync --onlyvisible --name '^Orvane$' 2> /dev/null | head -1) && [[ -n $window ]] && break
    sleep 0.01
  done
  wait_idle
  xdotool windowfocus --sync "$window" 2> /dev/null || true
  xdotool key --window "$window" x
  wait_idle
  if [[ ${BENCH_COMMAND:-save} == convert ]]; then
    # Times the keys given until the program is idle again.
    idle_after() {
      local name=$1
      shift
      before_rss=$(rss_mb VmRSS)
      echo 5 > "/proc/$pid/clear_refs"
      c0=$(cpu)
      t0=$(now)
      for key in "$@"; do
        xdotool key --window "$window" "$key"
        sleep 0.2
      done
      wait_idle
      awk -v a="$t0" -v b="$(now)" -v u="$c0" -v v="$(cpu)" -v r="$before_rss" -v p="$(rss_mb VmHWM)" -v k="$#" \
        -v name="$name" 'BEGIN { printf "%-34s wall %7.2f s  cpu %7.2f s  RSS before %6.0f MB  peak %6.0f MB\n", name, b - a - 1 - 0.2 * k, v - u, r, p }'
      echo "$(printf '%-34s' '') RSS after $(rss_mb VmRSS) MB"
    }
    idle_after "orvane カタカナ変換 (whole text)" alt+s k
    idle_after "orvane 元に戻す" ctrl+z
  else
    inode=$(stat -c %i "$copy")
    before_rss=$(rss_mb VmRSS)
    echo 5 > "/proc/$pid/clear_refs"
    c0=$(cpu)
    t0=$(now)
    xdotool key --window "$window" alt+f
    sleep 0.2
    xdotool key --window "$window" s
    while [[ $(stat -c %i "$copy" 2> /dev/null || echo "$inode") == "$inode" ]]; do sleep 0.02; done
    t1=$(now)
    c1=$(cpu)
    wait_idle
    t2=$(now)
    c2=$(cpu)
    peak=$(rss_mb VmHWM)
    awk -v a="$t0" -v b="$t1" -v c="$t2" -v u="$c0" -v v="$c1" -v w="$c2" -v r="$before_rss" -v p="$peak" 'BEGIN {
      printf "%-34s wall %7.2f s  cpu %7.2f s  (keys until the file is replaced, less the 0.2 s between the keys)\n", "orvane 上書き保存", b - a - 0.2, v - u
      printf "%-34s wall %7.2f s  cpu %7.2f s  (until idle, less the 1 s idle check)\n", "", c - a - 1.2, w - u
      printf "%-34s RSS before %6.0f MB  peak during %6.0f MB\n", "", r, p }'
    if [[ $(head -c 1 "$copy") != x ]] || ! tail -c +2 "$copy" | cmp -s - "$file"; then
      echo "the saved file is not x and then the original"
    fi
  fi
  kill "$pid"
  wait "$pid" 2> /dev/null || true
  pid=
  rm -f "$copy"
  copy=
done
