#!/usr/bin/env bash
# Checks a built Debian package: its control fields and file list, its menu
# entry, and where the unpacked program keeps its settings. The program runs
# offscreen, driven by the switch-driver plugin, once from a writable copy of
# the unpacked tree and then from a read-only one with HOME and
# XDG_CONFIG_HOME in a temporary folder.
# Usage: tests/package/check_package.sh PACKAGE.deb PLUGIN-FOLDER
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
deb="$1"
plugins="$2"

fail() {
  echo "package check: $*" >&2
  exit 1
}

work="$(mktemp -d)"
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
chmod 755 "$work"

echo "== Control fields"
version="$(sed -n 's/^project(Talmeko VERSION \([0-9.]*\).*/\1/p' "$here/CMakeLists.txt")"
[ "$(dpkg-deb -f "$deb" Package)" = "talmeko" ] || fail "package name is $(dpkg-deb -f "$deb" Package)"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "version is $(dpkg-deb -f "$deb" Version), not $version"
[ "$(basename "$deb")" = "talmeko_${version}_$(dpkg --print-architecture).deb" ] || fail "file is named $(basename "$deb")"
depends="$(dpkg-deb -f "$deb" Depends)"
for needed in libqt6core6 libqt6gui6 libqt6widgets6 qt6-qpa-plugins fonts-liberation2 libc6; do
  grep -Eq "(^|, )$needed( |,|$)" <<<"$depends" || fail "Depends lacks $needed: $depends"
done

echo "== File list"
expected="./usr/bin/talmeko
./usr/bin/talmeko-convert
./usr/share/applications/talmeko.desktop
./usr/share/icons/hicolor/256x256/apps/talmeko.png
./usr/share/icons/hicolor/48x48/apps/talmeko.png
./usr/share/icons/hicolor/scalable/apps/talmeko.svg
./usr/share/man/man1/talmeko-convert.1.gz"
actual="$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }' | sort)"
[ "$actual" = "$expected" ] || fail "files differ:"$'\n'"$(diff <(echo "$expected") <(echo "$actual") || true)"

tree="$work/writable"
dpkg-deb -x "$deb" "$tree"
desktop-file-validate "$tree/usr/share/applications/talmeko.desktop" || fail "the menu entry is not valid"
for size in 48 256; do
  file -b "$tree/usr/share/icons/hicolor/${size}x$size/apps/talmeko.png" | grep -q "PNG image data, $size x $size" ||
    fail "the $size pixel icon is not a $size pixel PNG"
done
gzip -t "$tree/usr/share/man/man1/talmeko-convert.1.gz" || fail "the manual page is not compressed properly"
"$tree/usr/bin/talmeko-convert" dmc 310 | grep -q "^DMC	310	" || fail "the unpacked converter does not convert"

echo "== Settings of the unpacked program"
# A superuser may write to read-only folders, so the program then runs as an
# ordinary user, for whom the read-only copy really cannot be written.
runner=()
if [ "$(id -u)" -eq 0 ]; then runner=(setpriv --reuid=nobody --regid=nogroup --clear-groups); fi
give() { if [ "$(id -u)" -eq 0 ]; then chown -R nobody:nogroup "$@"; fi; }

cp -r "$plugins" "$work/plugins"
mkdir -p "$work/home" "$work/config" "$work/config-writable"
give "$tree" "$work/home" "$work/config" "$work/config-writable"
readonly_tree="$work/readonly"
cp -a "$tree" "$readonly_tree"
rm -f "$readonly_tree/usr/bin/talmeko.ini"
chmod -R a-w "$readonly_tree"

# Starts the program of a tree with a configuration folder; the optional
# third argument names the check box to click before it ends.
start() {
  env -i PATH=/usr/bin:/bin HOME="$work/home" XDG_CONFIG_HOME="$2" QT_QPA_PLATFORM=offscreen \
    QT_PLUGIN_PATH="$work/plugins" QT_QPA_GENERIC_PLUGINS="talmekoswitchdriver${3:+:$3}" \
    timeout 120 "${runner[@]}" "$1/usr/bin/talmeko" >"$work/output" 2>&1 ||
    fail "the program of $1 ended with status $?: $(cat "$work/output")"
}

defaults=$'[palette]\r\ngamma=1\r\nanchor=0\r\nmadeira=0\r\nkirov=0\r\n'
anchor_on=$'[palette]\r\ngamma=1\r\nanchor=1\r\nmadeira=0\r\nkirov=0\r\n'
settings() { if [ -f "$1" ]; then cat "$1"; echo .; else echo "none"; fi; }

start "$tree" "$work/config-writable"
[ "$(settings "$tree/usr/bin/talmeko.ini")" = "$defaults." ] || fail "a writable program folder did not get the settings"
[ ! -e "$work/config-writable/talmeko" ] || fail "a writable program folder still used the configuration folder"

start "$readonly_tree" "$work/config"
ini="$work/config/talmeko/talmeko.ini"
[ -f "$ini" ] || fail "the first start wrote no $ini"
cmp "$ini" "$tree/usr/bin/talmeko.ini" || fail "the first-start settings differ from those beside the program"

start "$readonly_tree" "$work/config" cbAnchor
[ "$(settings "$ini")" = "$anchor_on." ] || fail "the click on Anchor left $(settings "$ini")"
start "$readonly_tree" "$work/config"
[ "$(settings "$ini")" = "$anchor_on." ] || fail "the next start did not keep the Anchor column: $(settings "$ini")"
[ ! -e "$readonly_tree/usr/bin/talmeko.ini" ] || fail "the read-only program folder was written"
echo "package check passed"
