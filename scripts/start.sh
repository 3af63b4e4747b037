#!/usr/bin/env bash
# Installs what is missing, builds the editor and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DORVANE_BENCHMARKS=OFF >/dev/null
cmake --build build/release --target orvane
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "orvane: 画面（ディスプレイ）がありません。デスクトップのセッションから起動してください (no display: DISPLAY is not set)." >&2
  exit 1
fi
exec build/release/app/orvane
