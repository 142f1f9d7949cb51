#!/bin/sh
# Installs the build into a scratch prefix and checks what a desktop needs:
# the three programs, the menu entry and its 128x128 icon.
#   check_install.sh BUILD_DIR
set -eu
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$1" --prefix "$prefix" >/dev/null

fail() { echo "FAIL: $*" >&2; exit 1; }
for p in orbisk orbisk-cli orbisk-devsim; do
    [ -x "$prefix/bin/$p" ] || fail "bin/$p not installed"
done
desktop="$prefix/share/applications/orbisk.desktop"
[ -f "$desktop" ] || fail "no share/applications/orbisk.desktop"
for line in "Type=Application" "Name=Orbisk" "Exec=orbisk" "Icon=orbisk" "Terminal=false"; do
    grep -qx "$line" "$desktop" || fail "desktop entry lacks $line"
done
icon="$prefix/share/icons/hicolor/128x128/apps/orbisk.png"
[ -f "$icon" ] || fail "no 128x128 icon"
# PNG signature, then the IHDR chunk's width and height (bytes 16 to 23).
[ "$(od -An -tx1 -N8 "$icon" | tr -d ' \n')" = 89504e470d0a1a0a ] || fail "icon is no PNG"
[ "$(od -An -tx1 -j16 -N8 "$icon" | tr -d ' \n')" = 0000008000000080 ] || fail "icon is not 128x128"
echo "install layout ok"
