#!/bin/sh
# Makes the Debian packages from an existing build directory and checks them
# as a distribution would: lintian (errors fail), the desktop entry with
# desktop-file-validate, the AppStream data with appstreamcli, and that
# orbisk-cli's package pulls in no Qt.
#   scripts/check_package.sh [BUILD_DIR]
set -eu
build=$(cd "${1:-build}" && pwd)
cd "$build"
rm -f ./*.deb
if ! cpack -G DEB >cpack.log 2>&1; then
    cat cpack.log
    exit 1
fi
status=0
fail() { echo "FAIL: $*" >&2; status=1; }

echo "== lintian"
# shellcheck disable=SC2046 # one word per package file
lintian --fail-on error --tag-display-limit 0 $(ls ./*.deb) || fail "lintian found errors"

for deb in ./*.deb; do
    echo "== $(basename "$deb")"
    dpkg-deb -f "$deb" Package Version Architecture Depends Recommends
done

unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
for deb in ./*.deb; do
    dpkg-deb -x "$deb" "$unpacked"
done

cli=$(ls ./orbisk-cli_*.deb)
if dpkg-deb -f "$cli" Depends | grep -qi qt; then
    fail "orbisk-cli depends on Qt: $(dpkg-deb -f "$cli" Depends)"
fi
for f in usr/bin/orbisk-cli usr/share/man/man1/orbisk-cli.1.gz usr/share/bash-completion/completions/orbisk-cli \
    usr/share/fish/vendor_completions.d/orbisk-cli.fish \
    usr/share/orbisk-cli/orbisk-inventory usr/share/orbisk-cli/orbisk-alerts.yml usr/share/doc/orbisk-cli/fleet.md \
    usr/libexec/orbisk/orbisk-devsim etc/ufw/applications.d/orbisk usr/lib/firewalld/services/orbisk.xml; do
    [ -e "$unpacked/$f" ] || fail "no /$f in the packages"
done

if ls ./orbisk_*.deb >/dev/null 2>&1; then
    echo "== desktop-file-validate"
    for f in "$unpacked"/usr/share/applications/*.desktop; do
        desktop-file-validate "$f" || fail "desktop-file-validate: $f"
    done
    echo "== appstreamcli validate"
    for f in "$unpacked"/usr/share/metainfo/*.xml; do
        appstreamcli validate --no-net "$f" || fail "appstreamcli validate: $f"
    done
fi
[ $status -eq 0 ] && echo "packages ok"
exit $status
