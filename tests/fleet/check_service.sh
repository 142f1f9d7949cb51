#!/bin/sh
# The packaged watch service: systemd-analyze verify says nothing, and
# systemd-analyze security --offline=true rates its exposure 3.0 or lower.
# ExecStart is pointed at the build's orbisk-cli, which verify looks for.
# Without systemd-analyze: skipped (status 77), or failed under CI=true.
#   check_service.sh UNIT ORBISK_CLI
set -u
if ! command -v systemd-analyze >/dev/null 2>&1; then
    echo "no systemd-analyze (apt-get install systemd)"
    [ "${CI:-}" = true ] && exit 1
    exit 77
fi
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
unit=$dir/orbisk-watch.service
sed "s#/usr/bin/orbisk-cli#$2#" "$1" > "$unit"
grep -q "^ExecStart=$2 watch " "$unit" || { echo "no ExecStart of orbisk-cli watch in $1"; exit 1; }
if ! out=$(systemd-analyze verify --man=no "$unit" 2>&1) || [ -n "$out" ]; then
    echo "systemd-analyze verify: $out"
    exit 1
fi
security=$(systemd-analyze security --offline=true --no-pager "$unit" 2>&1)
level=$(echo "$security" | sed -n 's/.*Overall exposure level for [^:]*: \([0-9.]*\).*/\1/p')
echo "exposure level: $level"
if [ -z "$level" ] || ! awk -v level="$level" 'BEGIN { exit !(level <= 3.0) }'; then
    echo "$security"
    exit 1
fi
