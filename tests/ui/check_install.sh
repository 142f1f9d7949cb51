#!/bin/sh
# Installs the build into a scratch root and checks what a desktop needs: the
# programs, the menu entry and its icons, the manual pages, the shell
# completions, the firewall profiles.
#   check_install.sh BUILD_DIR
set -eu
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
# DESTDIR, not --prefix: ufw's profile goes to /etc whatever the prefix.
DESTDIR="$root" cmake --install "$1" --prefix /usr >/dev/null
usr="$root/usr"

fail() { echo "FAIL: $*" >&2; exit 1; }
for p in bin/orbisk bin/orbisk-cli libexec/orbisk/orbisk-devsim; do
    [ -x "$usr/$p" ] || fail "$p not installed"
done
[ ! -e "$usr/bin/orbisk-devsim" ] || fail "the simulator is on the PATH"
desktop="$usr/share/applications/org.orbisk.Orbisk.desktop"
[ -f "$desktop" ] || fail "no share/applications/org.orbisk.Orbisk.desktop"
for line in "Type=Application" "Name=Orbisk" "Exec=orbisk" "Icon=orbisk" "Terminal=false"; do
    grep -qx "$line" "$desktop" || fail "desktop entry lacks $line"
done
for size in 16 22 24 32 48 64 128 256; do
    icon="$usr/share/icons/hicolor/${size}x${size}/apps/orbisk.png"
    [ -f "$icon" ] || fail "no ${size}x${size} icon"
    # PNG signature, then the IHDR chunk's width and height (bytes 16 to 23).
    [ "$(od -An -tx1 -N8 "$icon" | tr -d ' \n')" = 89504e470d0a1a0a ] || fail "icon is no PNG"
    hex=$(printf '%08x' "$size")
    [ "$(od -An -tx1 -j16 -N8 "$icon" | tr -d ' \n')" = "$hex$hex" ] || fail "icon is not ${size}x${size}"
done
[ -f "$usr/share/icons/hicolor/scalable/apps/orbisk.svg" ] || fail "no scalable icon"
for page in orbisk orbisk-cli orbisk-devsim; do
    [ -f "$usr/share/man/man1/$page.1.gz" ] || fail "no manual page $page(1)"
done
# The completions are made at build time from orbisk-cli's option tables.
grep -q "complete -F _orbisk_cli orbisk-cli" "$usr/share/bash-completion/completions/orbisk-cli" \
    || fail "no bash completion of orbisk-cli"
grep -q "complete -c orbisk-cli" "$usr/share/fish/vendor_completions.d/orbisk-cli.fish" \
    || fail "no fish completion of orbisk-cli"
[ -f "$root/etc/ufw/applications.d/orbisk" ] || fail "no ufw profile"
[ -f "$usr/lib/firewalld/services/orbisk.xml" ] || fail "no firewalld service"
echo "install layout ok"
