#!/usr/bin/env bash
# Installs the build into a temporary DESTDIR and checks that a desktop finds the editor there:
# the programs in bin, a valid menu entry that names them and the icon, the icon in the hicolor
# theme (48x48 at least, which the theme requires), and a valid AppStream description that
# launches that menu entry. Usage: check_install.sh BUILD_DIR PREFIX
set -uo pipefail

build=$1
prefix=$2
for tool in desktop-file-validate appstreamcli; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done

work=$(mktemp -d "${TMPDIR:-/tmp}/orvane-install.XXXXXX") || exit 1
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

DESTDIR=$work/dest cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 ||
    { cat "$work/install.log"; echo "FAIL: cmake --install"; exit 1; }
root=$work/dest$prefix
echo "installed:"; (cd "$work/dest" && find . -type f | sort | sed 's/^\./    /')

for program in orvane orvane-conv; do
    [ -x "$root/bin/$program" ] || fail "bin/$program is missing or not executable"
done

for page in orvane orvane-conv; do
    gzip -t "$root/share/man/man1/$page.1.gz" 2>/dev/null || fail "the manual page $page(1) is missing"
done

# The installed converter runs on its own, outside the build tree.
if [ -x "$root/bin/orvane-conv" ]; then
    got=$(printf 'abc\r\n' | "$root/bin/orvane-conv" upper | od -An -c | tr -s ' ')
    [ "$got" = " A B C \r \n" ] || fail "the installed orvane-conv upper gives \"$got\""
fi

desktop=$root/share/applications/orvane.desktop
metainfo=$root/share/metainfo/io.orvane.Orvane.metainfo.xml

if [ -f "$desktop" ]; then
    desktop-file-validate "$desktop" || fail "desktop-file-validate rejects orvane.desktop"
    key() { sed -n "s/^$1=//p" "$desktop" | head -1; }
    exec_program=$(key Exec | awk '{print $1}')
    [ -x "$root/bin/$exec_program" ] || fail "Exec=$exec_program names no installed program"
    icon=$(key Icon)
    [ -n "$icon" ] || fail "orvane.desktop names no icon"
    [ -f "$root/share/icons/hicolor/48x48/apps/$icon.png" ] ||
        fail "no 48x48 icon $icon.png in the hicolor theme"
    for png in "$root"/share/icons/hicolor/*x*/apps/"$icon".png; do
        [ -f "$png" ] || continue
        size=${png%/apps/*}; size=${size##*/}
        if command -v identify >/dev/null; then
            actual=$(identify -format '%wx%h' "$png") || fail "$png is no image"
            [ "$actual" = "$size" ] || fail "$png is $actual, not $size"
        fi
    done
    svg=$root/share/icons/hicolor/scalable/apps/$icon.svg
    if [ -f "$svg" ] && command -v rsvg-convert >/dev/null; then
        rsvg-convert -w 48 -h 48 "$svg" >"$work/svg.png" || fail "$svg does not render"
    fi
else
    fail "share/applications/orvane.desktop is missing"
fi

if [ -f "$metainfo" ]; then
    appstreamcli validate --no-net --explain "$metainfo" || fail "appstreamcli rejects the metainfo file"
    launchable=$(sed -n 's:.*<launchable type="desktop-id">\(.*\)</launchable>.*:\1:p' "$metainfo")
    [ -f "$root/share/applications/$launchable" ] || fail "the metainfo launches $launchable, which is not installed"
    for binary in $(sed -n 's:.*<binary>\(.*\)</binary>.*:\1:p' "$metainfo"); do
        [ -x "$root/bin/$binary" ] || fail "the metainfo provides $binary, which is not installed"
    done
else
    fail "share/metainfo/io.orvane.Orvane.metainfo.xml is missing"
fi

[ $failures -eq 0 ] || exit 1
echo "install layout and metadata are valid"
