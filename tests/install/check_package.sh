#!/usr/bin/env bash
# Makes the Debian package from the build tree, installs it with apt-get into a fresh Debian 12
# root (debootstrap, minbase, no recommends) and checks what a user gets there: the programs with
# all their libraries, the menu entry and icon, the manual pages, the font and Qt's Japanese texts,
# and a converter that runs; and that QScintilla's package stays out (the edit control is built
# in). Prints how long each step took.
# Usage: check_package.sh BUILD_DIR. Skips (77) without root, debootstrap or the Debian mirror.
# The mirror is $ORVANE_DEBIAN_MIRROR, else http://deb.debian.org/debian.
set -uo pipefail

build=$(cd "$1" && pwd)
mirror=${ORVANE_DEBIAN_MIRROR:-http://deb.debian.org/debian}
skip() { echo "SKIP: $*"; exit 77; }
[ "$(id -u)" -eq 0 ] || skip "installing into a chroot needs root"
for tool in debootstrap cpack dpkg-deb chroot wget; do
    command -v "$tool" >/dev/null || skip "$tool is not installed"
done
wget -q -T 20 -t 2 -O /dev/null "$mirror/dists/bookworm/Release" || skip "the Debian mirror $mirror is not reachable"

# Everything lives in one folder of the build tree. The untouched base system is kept as a tarball
# between runs (remove package-test/ for a new debootstrap); the root is unpacked fresh each time.
work=$build/package-test
root=$work/root
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
cleanup() {
    # Whatever is still mounted inside the root (ours or debootstrap's), deepest first.
    awk -v r="$root/" 'index($2, r) == 1 {print $2}' /proc/mounts | sort -r | while read -r m; do umount -l "$m"; done
    mountpoint -q "$root" 2>/dev/null && umount -l "$root"
    [ -d "$root" ] && rm -rf --one-file-system "$root"
}
trap cleanup EXIT
cleanup
mkdir -p "$work"
started=$SECONDS
step() { echo "== $* (at $((SECONDS - started)) s)"; }

step "cpack -G DEB"
rm -f "$work"/orvane_*.deb
(cd "$build" && cpack -G DEB -B "$work" >"$work/cpack.log" 2>&1) || { cat "$work/cpack.log"; fail "cpack"; exit 1; }
deb=$(ls "$work"/orvane_*_*.deb 2>/dev/null | head -1)
[ -f "$deb" ] || { fail "cpack made no orvane_*.deb"; exit 1; }
echo "package: ${deb##*/}, $(stat -c %s "$deb") bytes"

step "debootstrap --variant=minbase bookworm"
base=$work/bookworm-minbase.tar
# In memory where possible: removing a root of some 30,000 files from the disk takes half a minute.
mkdir -p "$root"
mount -t tmpfs -o size=4g,mode=0755 orvane-package-test "$root" 2>/dev/null
if [ -f "$base" ]; then
    tar -C "$root" --numeric-owner -xpf "$base" || { fail "unpacking $base"; exit 1; }
else
    debootstrap --variant=minbase bookworm "$root" "$mirror" >"$work/debootstrap.log" 2>&1 ||
        { tail -20 "$work/debootstrap.log"; fail "debootstrap"; exit 1; }
    tar -C "$root" --numeric-owner -cpf "$base.part" . && mv "$base.part" "$base"
fi

step "apt-get install ./${deb##*/}"
security=${mirror%/debian}/debian-security
cat >"$root/etc/apt/sources.list" <<SOURCES
deb $mirror bookworm main
deb $mirror bookworm-updates main
deb $security bookworm-security main
SOURCES
cp /etc/resolv.conf "$root/etc/resolv.conf" 2>/dev/null
mount -t proc proc "$root/proc"
cp "$deb" "$root/tmp/"
in_root() { chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin LC_ALL=C.UTF-8 DEBIAN_FRONTEND=noninteractive "$@"; }
in_root apt-get update -qq >"$work/apt.log" 2>&1 &&
    in_root apt-get install -y -qq --no-install-recommends "/tmp/${deb##*/}" >>"$work/apt.log" 2>&1 ||
    { tail -30 "$work/apt.log"; fail "apt-get install"; exit 1; }

step "checks"
for program in orvane orvane-conv; do
    in_root test -x "/usr/bin/$program" || { fail "/usr/bin/$program is not installed"; continue; }
    missing=$(in_root ldd "/usr/bin/$program" | grep 'not found')
    [ -z "$missing" ] || fail "$program lacks libraries: $missing"
done
# The edit control is built into the editor: the system's QScintilla must not come along.
qscintilla=$(in_root dpkg-query -W -f='${binary:Package} ${Status}\n' 'libqscintilla2*' 2>/dev/null | grep 'install ok installed')
[ -z "$qscintilla" ] || fail "QScintilla's package was pulled in: $qscintilla"
in_root ldd /usr/bin/orvane | grep -q qscintilla && fail "orvane still links a shared QScintilla"
in_root dpkg-query -W fonts-ipafont-gothic qt6-translations-l10n >/dev/null ||
    fail "the font or Qt's Japanese translations were not pulled in"
in_root test -f /usr/share/qt6/translations/qtbase_ja.qm || fail "qtbase_ja.qm is missing"
desktop=$root/usr/share/applications/orvane.desktop
if [ -f "$desktop" ]; then
    if command -v desktop-file-validate >/dev/null; then
        desktop-file-validate "$desktop" || fail "desktop-file-validate rejects the menu entry"
    fi
    icon=$(sed -n 's/^Icon=//p' "$desktop")
    in_root test -f "/usr/share/icons/hicolor/48x48/apps/$icon.png" || fail "the menu entry's icon $icon is missing"
else
    fail "/usr/share/applications/orvane.desktop is missing"
fi
for page in orvane orvane-conv; do
    in_root gzip -t "/usr/share/man/man1/$page.1.gz" || fail "the manual page $page(1) is missing"
done
in_root test -f /usr/share/doc/orvane/copyright || fail "/usr/share/doc/orvane/copyright is missing"
# No display in the root: the editor answers --version before it needs one, its libraries loaded.
in_root orvane --version || fail "orvane --version fails in the fresh root"
version=$(in_root orvane-conv --version) || fail "orvane-conv --version fails in the fresh root"
echo "orvane-conv --version: $version"
got=$(printf 'abc\r\n' | in_root orvane-conv upper | od -An -c | tr -s ' ')
[ "$got" = " A B C \r \n" ] || fail "orvane-conv upper gives \"$got\" in the fresh root"

step "done"
[ $failures -eq 0 ] || exit 1
echo "the package installs and works in a fresh Debian 12 root"
