#!/bin/sh
# The node exporter and promtool for the tests, unpacked from Debian's
# packages into DIR rather than installed: installing them on a machine with
# systemd starts their services, listening on ports 9100 and 9090.
#
#   scripts/fetch_prometheus_tools.sh DIR
set -eu
dir=$1
[ -x "$dir/usr/bin/promtool" ] && [ -x "$dir/usr/bin/prometheus-node-exporter" ] && exit 0
sudo=$([ "$(id -u)" -eq 0 ] || echo sudo)
# As root, apt would hand the download to its own user, who cannot write here.
sandbox=$([ "$(id -u)" -eq 0 ] && echo "-o APT::Sandbox::User=root" || true)
debs=$(mktemp -d)
trap 'rm -rf "$debs"' EXIT
cd "$debs"
# promtool is a package of its own from Debian 13 on; before, prometheus had it.
packages() {
    if apt-cache show promtool >/dev/null 2>&1; then
        echo prometheus-node-exporter promtool
    else
        echo prometheus-node-exporter prometheus
    fi
}
# shellcheck disable=SC2086,SC2046 # sandbox is one option or none; the packages are words
if ! apt-get $sandbox download $(packages); then
    $sudo apt-get update
    apt-get $sandbox download $(packages)
fi
cd - >/dev/null
mkdir -p "$dir"
for deb in "$debs"/*.deb; do
    dpkg-deb -x "$deb" "$dir"
done
echo "Unpacked into $dir: $(ls "$dir/usr/bin" | tr '\n' ' ')"
