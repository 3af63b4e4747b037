#!/usr/bin/env bash
# Whole-process throughput of orvane-conv on about 100 MB of Japanese code page 932 text, to
# /dev/null and through a pipe, beside nkf and iconv measured in the same run (each skipped when
# missing). Usage: bench/batch/whole_process.sh BUILD_DIR [FILE]
set -euo pipefail
build=${1:?build directory}
conv="$build/batch/orvane-conv"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
file=${2:-}
if [[ -z $file ]]; then
  file="$work/corpus.txt"
  line='吾輩は猫である。名前はまだ無い。会議は午前１０時から第３会議室で行います。「今日はいい天気ですね」と彼女は言った。ﾃﾞｰﾀの入力には半角ｶﾀｶﾅを使わないでください。'
  for _ in $(seq 64); do printf '%s\r\n' "$line"; done > "$work/lines.txt"
  : > "$work/block.txt"
  for _ in $(seq 256); do cat "$work/lines.txt" >> "$work/block.txt"; done
  "$conv" --from utf-8 "$work/block.txt" > "$work/block932.txt"
  while (( $(stat -c %s "$file" 2>/dev/null || echo 0) < 100000000 )); do cat "$work/block932.txt" >> "$file"; done
fi
size=$(stat -c %s "$file")
cat "$file" > /dev/null # into the page cache

# The best of three runs of a shell command, in MB/s.
measure() {
  local best=
  for _ in 1 2 3; do
    local start end
    start=$(date +%s.%N)
    bash -c "$1" > /dev/null 2>&1
    end=$(date +%s.%N)
    best=$(echo "$end - $start" | bc -l | awk -v b="$best" '{ if (b == "" || $1 < b) print $1; else print b }')
  done
  printf '%-48s %8.0f MB/s\n' "$2" "$(echo "$size / 1000000 / $best" | bc -l)"
}

echo "input: $size bytes"
for target in /dev/null pipe; do
  if [[ $target == pipe ]]; then out='| cat > /dev/null'; else out='> /dev/null'; fi
  measure "'$conv' wide '$file' $out" "orvane-conv wide, to $target"
  measure "'$conv' --to utf-8 '$file' $out" "orvane-conv --to utf-8, to $target"
  measure "'$conv' hiragana narrow '$file' $out" "orvane-conv hiragana narrow, to $target"
  if command -v nkf > /dev/null; then
    measure "nkf -S -s '$file' $out" "nkf -S -s (half-width kana to full), to $target"
    measure "nkf -S -w '$file' $out" "nkf -S -w (to UTF-8), to $target"
  fi
  if command -v iconv > /dev/null; then
    measure "iconv -f CP932 -t UTF-8 '$file' $out" "iconv -f CP932 -t UTF-8, to $target"
  fi
done
