#!/usr/bin/env bash
# Installs into a scratch prefix and validates what a desktop and a package manager read,
# then builds the Debian package and runs the program from its unpacked files.
set -euo pipefail
build=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# The value of KEY in [GROUP] of a desktop-style file; empty when it is not there.
value_of() {
    awk -v group="[$2]" -v key="$3" '
        /^\[/ { inside = ($0 == group); next }
        inside && index($0, key "=") == 1 { print substr($0, length(key) + 2); exit }' "$1"
}

# desktop-file-validate knows only application entries: the file-manager menus get the
# format's own rules here, and what each menu needs to show and run the item.
check_key_file() {
    iconv -f UTF-8 -t UTF-8 "$1" >/dev/null || { echo "not UTF-8: $1"; return 1; }
    awk '
        /^(#.*)?$/ { next }
        /^\[[^][]+\]$/ { if (seen[$0]++) { print FILENAME ": group twice: " $0; bad = 1 } group = $0; next }
        group == "" { print FILENAME ": a line before the first group: " $0; bad = 1; next }
        !/^[A-Za-z0-9-]+(\[[A-Za-z0-9_@.-]+\])?=/ { print FILENAME ": not a key: " $0; bad = 1; next }
        { key = group substr($0, 1, index($0, "=") - 1); if (keys[key]++) { print FILENAME ": key twice: " $0; bad = 1 } }
        END { exit bad }' "$1"
}

check_menus() {
    local action=$1/share/file-manager/actions/karvel-rename.desktop
    local service=$1/share/kio/servicemenus/karvel-rename.desktop
    local label='Karvel で名前を変更' item key
    for file in "$action" "$service"; do
        [ -f "$file" ] || { echo "not installed: ${file#"$1"/}"; return 1; }
        check_key_file "$file" || return 1
    done
    [ "$(value_of "$action" 'Desktop Entry' Type)" = Action ] || { echo "$action: not an action"; return 1; }
    # libfm shows the tooltip in the item's place.
    for key in Name Tooltip; do
        [ "$(value_of "$action" 'Desktop Entry' $key)" = "$label" ] ||
            { echo "$action: $key is not the label"; return 1; }
    done
    local profiles
    profiles=$(value_of "$action" 'Desktop Entry' Profiles)
    [ -n "$profiles" ] || { echo "$action: no profile"; return 1; }
    for item in ${profiles//;/ }; do
        [ "$(value_of "$action" "X-Action-Profile $item" Exec)" = 'karvel %F' ] &&
            [ -n "$(value_of "$action" "X-Action-Profile $item" MimeTypes)" ] ||
            { echo "$action: profile $item runs no karvel %F for files"; return 1; }
    done
    # KIO leaves out a service menu it may not execute.
    [ -x "$service" ] || { echo "$service: not executable"; return 1; }
    [ "$(value_of "$service" 'Desktop Entry' Type)" = Service ] &&
        [[ ";$(value_of "$service" 'Desktop Entry' X-KDE-ServiceTypes);" == *";KonqPopupMenu/Plugin;"* ]] &&
        [ -n "$(value_of "$service" 'Desktop Entry' MimeType)" ] ||
        { echo "$service: not a service menu for files"; return 1; }
    local actions
    actions=$(value_of "$service" 'Desktop Entry' Actions)
    [ -n "$actions" ] || { echo "$service: no action"; return 1; }
    for item in ${actions//;/ }; do
        [ "$(value_of "$service" "Desktop Action $item" Name)" = "$label" ] &&
            [ "$(value_of "$service" "Desktop Action $item" Exec)" = 'karvel %F' ] ||
            { echo "$service: action $item is not the labelled karvel %F"; return 1; }
    done
}

cmake --install "$build" --prefix "$scratch/usr" >/dev/null
for file in bin/karvel lib/karvel/karvel-window share/applications/org.karvel.Karvel.desktop \
    share/metainfo/org.karvel.Karvel.metainfo.xml share/icons/hicolor/32x32/apps/karvel.png \
    share/icons/hicolor/scalable/apps/karvel.svg share/man/man1/karvel.1 share/karvel/help/index.html; do
    [ -f "$scratch/usr/$file" ] || { echo "not installed: $file"; exit 1; }
done
desktop-file-validate "$scratch/usr/share/applications/org.karvel.Karvel.desktop"
grep -qx 'Exec=karvel %F' "$scratch/usr/share/applications/org.karvel.Karvel.desktop"
check_menus "$scratch/usr"
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
check_menus "$scratch/root/usr"
[ -f "$scratch/root/usr/share/karvel/help/index.html" ] || { echo "not packaged: the help page"; exit 1; }
"$scratch/root/usr/bin/karvel" --version | grep -qx "karvel $2"
echo "install and package checked: $(basename "$package")"
