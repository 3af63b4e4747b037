#!/usr/bin/env bash
# Makes the Debian package from the build tree and runs lintian on it: errors fail the test, the
# remaining warnings and notes are printed. Usage: check_lintian.sh BUILD_DIR
set -uo pipefail

build=$(cd "$1" && pwd)
for tool in lintian cpack; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
work=$(mktemp -d "${TMPDIR:-/tmp}/orvane-lintian.XXXXXX") || exit 1
trap 'rm -rf "$work"' EXIT

(cd "$build" && cpack -G DEB -B "$work" >"$work/cpack.log" 2>&1) || { cat "$work/cpack.log"; echo "FAIL: cpack"; exit 1; }
deb=$(ls "$work"/orvane_*_*.deb | head -1)
lintian --display-info --tag-display-limit 0 --fail-on error "$deb" 2>&1 | grep -v 'root privileges'
status=${PIPESTATUS[0]}
[ "$status" -eq 0 ] || { echo "FAIL: lintian reports errors on ${deb##*/}"; exit 1; }
echo "lintian reports no errors on ${deb##*/}"
