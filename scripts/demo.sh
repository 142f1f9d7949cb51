#!/bin/sh
# make demo: Orbisk on a virtual LAN of its own, beside three simulated NAS
# devices of different identities and modes, so that a scan, a web-page launch
# and an address change can be tried without owning a NAS. Nothing leaves the
# machine: the LAN lives in network namespaces, removed when Orbisk closes.
# Needs root (network namespaces) and a display.
#
#   sh scripts/demo.sh [BUILD_DIR]
set -eu
BUILD=$(cd "${1:-build}" && pwd)
HERE=$(cd "$(dirname "$0")" && pwd)

if [ -z "${VLAN_OP:-}" ]; then
    [ "$(id -u)" -eq 0 ] || { echo "demo: run as root, e.g. sudo make demo (network namespaces)" >&2; exit 1; }
    [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] || { echo "demo: no display (DISPLAY or WAYLAND_DISPLAY)" >&2; exit 1; }
    exec "$BUILD/tests/support/orbisk-vlan" --devices 3 -- sh "$0" "$BUILD"
fi

. "$HERE/lan_devices.sh"
WEB_PIDS=""
cleanup() {
    stop_devices
    for pid in $WEB_PIDS; do kill "$pid" 2>/dev/null || true; done
    [ -z "${WEB_DIR:-}" ] || rm -rf "$WEB_DIR"
    [ -z "${STATE_DIR:-}" ] || rm -rf "$STATE_DIR"
}
trap cleanup EXIT INT TERM
start_demo_devices "$BUILD"
# The demo's devices are remembered for the demo alone, not in the user's record.
STATE_DIR=$(mktemp -d)
export XDG_STATE_HOME="$STATE_DIR"
[ -z "${SUDO_USER:-}" ] || chown "$SUDO_USER" "$STATE_DIR"

# Each device's web page, so that a double-click shows something.
if command -v python3 >/dev/null; then
    WEB_DIR=$(mktemp -d)
    chmod 755 "$WEB_DIR"
    i=0
    for name in archive media-nas backup; do
        mkdir -p "$WEB_DIR/$i"
        printf '<!doctype html><title>%s</title><h1>%s</h1><p>The web page of a simulated NAS on the Orbisk demo LAN.</p>\n' \
            "$name" "$name" > "$WEB_DIR/$i/index.html"
        eval ns=\$VLAN_DEV$i
        ip netns exec "$ns" python3 -m http.server 80 --directory "$WEB_DIR/$i" >/dev/null 2>&1 &
        WEB_PIDS="$WEB_PIDS $!"
        i=$((i + 1))
    done
fi

cat <<EOT
Orbisk demo: three simulated devices on a virtual LAN (198.18.0.0/24).
  $VLAN_DEV0_ADDR  archive    static address
  $VLAN_DEV1_ADDR  media-nas  DHCP
  $VLAN_DEV2_ADDR  backup     static address, netmask 255.255.0.0
Press Scan (or Enter). Double-click a row for its web page (a browser that
was already running outside the demo cannot reach the demo LAN). Setup IP
changes a device's address: user admin, password admin. Quit ends the demo.
EOT

# The program itself needs no root; run it as the user who asked for the demo.
for v in DISPLAY WAYLAND_DISPLAY XAUTHORITY XDG_RUNTIME_DIR; do
    eval "[ -n \"\${$v:-}\" ] || unset $v"
done
if [ -n "${SUDO_USER:-}" ] && [ "$SUDO_USER" != root ]; then
    home=$(getent passwd "$SUDO_USER" | cut -d: -f6)
    export HOME="$home"
    export XAUTHORITY="${XAUTHORITY:-$home/.Xauthority}"
    export XDG_RUNTIME_DIR="/run/user/$(id -u "$SUDO_USER")"
    ip netns exec "$VLAN_OP" runuser -u "$SUDO_USER" -- "$BUILD/ui/orbisk" || true
else
    ip netns exec "$VLAN_OP" "$BUILD/ui/orbisk" || true
fi
