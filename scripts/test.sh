#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test headless (unit and widget tests
# offscreen, the desktop test on its own Xvfb), then builds and runs the same tests once more with
# AddressSanitizer and UndefinedBehaviorSanitizer, and runs each fuzz target for 20 seconds.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

jobs=$(nproc)
status=0

# The generated tables and the embedded library's own files keep their own layout; our code beside
# the library (third_party/qscintilla/orvane) is checked like the rest.
echo "== Layout of the hand-written sources (.clang-format)"
git ls-files '*.cpp' '*.h' ':!:third_party/qscintilla/src/**' ':!:third_party/qscintilla/scintilla/**' \
  ':!:**/cp932_tables.h' ':!:**/eucjp_tables.h' ':!:**/case_table.h' | xargs clang-format --dry-run --Werror || status=1

echo "== Release build, with benchmarks"
# Line tables (-g1) are all a failing test's stack needs, and they build and link much faster.
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g1 -DNDEBUG" >/dev/null
cmake --build build/release -j "$jobs"
ctest --test-dir build/release -j "$jobs" --output-on-failure || status=1

echo "== AddressSanitizer + UndefinedBehaviorSanitizer build"
cmake -S . -B build/sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DORVANE_SANITIZE=ON \
  -DORVANE_BENCHMARKS=OFF -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g1" >/dev/null
cmake --build build/sanitize -j "$jobs"
ctest --test-dir build/sanitize -j "$jobs" --output-on-failure || status=1

echo "== Fuzz targets, 20 seconds each"
scripts/fuzz.sh 20 || status=1

exit $status
