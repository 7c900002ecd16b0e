#!/usr/bin/env bash
# Installs into a scratch prefix and validates what a desktop and a package manager read,
# then builds the Debian package and runs the program from its unpacked files.
set -euo pipefail
build=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

cmake --install "$build" --prefix "$scratch/usr" >/dev/null
for file in bin/karvel lib/karvel/karvel-window share/applications/org.karvel.Karvel.desktop \
    share/metainfo/org.karvel.Karvel.metainfo.xml share/icons/hicolor/32x32/apps/karvel.png \
    share/icons/hicolor/scalable/apps/karvel.svg share/man/man1/karvel.1; do
    [ -f "$scratch/usr/$file" ] || { echo "not installed: $file"; exit 1; }
done
desktop-file-validate "$scratch/usr/share/applications/org.karvel.Karvel.desktop"
grep -qx 'Exec=karvel %F' "$scratch/usr/share/applications/org.karvel.Karvel.desktop"
appstreamcli validate --no-net --pedantic "$scratch/usr/share/metainfo/org.karvel.Karvel.metainfo.xml"
warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$scratch/usr/share/man/man1/karvel.1" 2>&1 >/dev/null)
[ -z "$warnings" ] || { echo "$warnings"; exit 1; }
"$scratch/usr/bin/karvel" --version | grep -qx "karvel $2"
# The command itself loads no GUI library: batch mode and --version start at once.
if ldd "$scratch/usr/bin/karvel" | grep -q libQt6; then echo "karvel links Qt"; exit 1; fi

(cd "$build" && cpack -G DEB -B "$scratch/package" >/dev/null)
package=$(ls "$scratch"/package/karvel_*.deb)
depends=$(dpkg-deb --field "$package" Depends)
for needed in libqt6widgets6 qt6-qpa-plugins qt6-translations-l10n; do
    grep -q "$needed" <<<"$depends" || { echo "not a dependency: $needed"; exit 1; }
done
dpkg -x "$package" "$scratch/root"
"$scratch/root/usr/bin/karvel" --version | grep -qx "karvel $2"
echo "install and package checked: $(basename "$package")"
