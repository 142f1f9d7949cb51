#!/bin/sh
# make screenshots: the program on a virtual LAN with three simulated devices,
# under Xvfb, driven through a scan, the Setup IP dialog, the Authentication
# dialog's message, the device menu, the About box and the Remembered Devices
# window waking a device; the pictures go to docs/screenshots/, two of them
# (main_window_de.png, remembered_devices_de.png) from a German session.
# Needs root (network namespaces) and xvfb-run.
#
#   sh scripts/screenshots.sh [BUILD_DIR] [OUT_DIR]
set -eu
BUILD=$(cd "${1:-build}" && pwd)
OUT=${2:-docs/screenshots}
HERE=$(cd "$(dirname "$0")" && pwd)

if [ -z "${VLAN_OP:-}" ]; then
    [ "$(id -u)" -eq 0 ] || { echo "screenshots: run as root (network namespaces)" >&2; exit 1; }
    command -v xvfb-run >/dev/null || { echo "screenshots: xvfb-run is missing (apt-get install xvfb xauth)" >&2; exit 1; }
    # A window manager draws the title bars; the pictures work without one too.
    if ! command -v openbox >/dev/null && command -v apt-get >/dev/null; then
        DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends openbox x11-utils >/dev/null ||
            echo "screenshots: no openbox; the windows will have no title bars" >&2
    fi
    mkdir -p "$OUT"
    OUT=$(cd "$OUT" && pwd)
    exec xvfb-run -a -s "-screen 0 1280x800x24" \
        "$BUILD/tests/support/orbisk-vlan" --devices 3 -- sh "$0" "$BUILD" "$OUT"
fi

. "$HERE/lan_devices.sh"
WM_PID=""
cleanup() {
    stop_devices
    [ -z "$WM_PID" ] || kill "$WM_PID" 2>/dev/null || true
}
trap cleanup EXIT
# A window manager, when there is one, gives the windows their title bars.
if command -v openbox >/dev/null; then
    openbox >/dev/null 2>&1 &
    WM_PID=$!
    # Windows mapped before the manager runs would stay without a frame.
    i=0
    while [ "$i" -lt 50 ] && ! xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q window; do
        sleep 0.1
        i=$((i + 1))
    done
fi
start_demo_devices "$BUILD"
# The record of remembered devices in a scratch directory, never the home
# directory: one device the scans do not hear, asleep, remembered from before.
STATE=$(mktemp -d)
fresh_record() {
    rm -rf "$STATE/orbisk"
    mkdir -p "$STATE/orbisk"
    printf 'orbisk-devices 1\n02:4f:52:42:00:09\t198.18.0.40\tcold-store\t4.2.1\t255.255.255.0\t198.18.0.1\tstatic\teth0\t0\t%s\n' \
        "$(($(date +%s) - 86400 * 3))" >"$STATE/orbisk/devices"
}
fresh_record
ip netns exec "$VLAN_OP" env QT_QPA_PLATFORM=xcb LANGUAGE=en XDG_STATE_HOME="$STATE" \
    "$BUILD/tests/ui/orbisk-uidriver" screenshots "$OUT"
# The same session in German; its main window after the scan and its
# Remembered Devices window are the German pictures.
GERMAN=$(mktemp -d)
fresh_record
ip netns exec "$VLAN_OP" env QT_QPA_PLATFORM=xcb LANGUAGE=de XDG_STATE_HOME="$STATE" \
    "$BUILD/tests/ui/orbisk-uidriver" screenshots "$GERMAN"
cp "$GERMAN/main_window.png" "$OUT/main_window_de.png"
cp "$GERMAN/remembered_devices.png" "$OUT/remembered_devices_de.png"
rm -rf "$GERMAN" "$STATE"
