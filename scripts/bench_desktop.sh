#!/bin/sh
# make bench: the desktop program's budgets, measured under Xvfb on the
# virtual LAN with orbisk-devsim, printed as the "Desktop program" section of
# docs/benchmarks.md. Needs root (network namespaces) and xvfb-run.
#
#   sh scripts/bench_desktop.sh [BUILD_DIR]    (RUNS=10 start-ups by default)
#
# - start-up: from just before the exec to the main window's first exposure,
#   measured by orbisk-uidriver (the program with a script in front of it);
# - idle memory: VmRSS of the real orbisk two seconds after its start;
# - scan: from the click on Scan to the button's return, with 0, 3 and 21
#   devices answering.
set -eu
BUILD=$(cd "${1:-build}" && pwd)
HERE=$(cd "$(dirname "$0")" && pwd)
RUNS=${RUNS:-10}

if [ -z "${VLAN_OP:-}" ]; then
    [ "$(id -u)" -eq 0 ] || { echo "bench: run as root (network namespaces)" >&2; exit 1; }
    command -v xvfb-run >/dev/null || { echo "bench: xvfb-run is missing (apt-get install xvfb xauth)" >&2; exit 1; }
    exec xvfb-run -a -s "-screen 0 1280x800x24" \
        "$BUILD/tests/support/orbisk-vlan" --devices 3 -- sh "$0" "$BUILD"
fi

. "$HERE/lan_devices.sh"
trap stop_devices EXIT
# The simulated devices stay out of the home directory's record.
export ORBISK_NO_STATE=1
DRIVER="$BUILD/tests/ui/orbisk-uidriver"

# "min median max" of the numbers on stdin.
stats() {
    sort -n | awk '{ v[NR] = $1 } END { m = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2;
        printf "%s %s %s\n", v[1], m, v[NR] }'
}

startup_once() {
    ip netns exec "$VLAN_OP" sh -c 'exec "$0" startup "$(date +%s%N)"' "$DRIVER" 2>/dev/null
}

startup_once >/dev/null # page cache and font cache warm, as on a desktop in use
i=0
: > /tmp/orbisk-bench-startup.$$
while [ "$i" -lt "$RUNS" ]; do
    startup_once >> /tmp/orbisk-bench-startup.$$
    i=$((i + 1))
done
set -- $(awk '/^startup_ms/ { print $2 }' /tmp/orbisk-bench-startup.$$ | stats)
START_MIN=$1 START_MED=$2 START_MAX=$3
set -- $(awk '/^qapplication_ms/ { print $2 }' /tmp/orbisk-bench-startup.$$ | stats)
APP_MED=$2
rm -f /tmp/orbisk-bench-startup.$$

# The real program, idle.
ip netns exec "$VLAN_OP" "$BUILD/ui/orbisk" 2>/dev/null &
pid=$!
sleep 2
IDLE_KB=$(awk '/^VmRSS/ { print $2 }' "/proc/$pid/status")
kill "$pid"
wait "$pid" 2>/dev/null || true

scans() { # COUNT
    ip netns exec "$VLAN_OP" "$DRIVER" scan "$1" 2>/dev/null
}
summary() { # driver output on stdin: "min median max" of the scans, their fewest rows, the memory after
    tee /tmp/orbisk-bench-scan.$$ >/dev/null
    s=$(awk '/^scan_ms/ { print $2 / 1000 }' /tmp/orbisk-bench-scan.$$ | stats)
    rows=$(awk '/^scan_ms/ { print $4 }' /tmp/orbisk-bench-scan.$$ | sort -n | head -n 1)
    rss=$(awk '/^rss_kb/ { print $2 }' /tmp/orbisk-bench-scan.$$)
    rm -f /tmp/orbisk-bench-scan.$$
    echo "$s $rows $rss"
}

set -- $(scans 2 | summary)
S0="$1 $2 $3" R0=$4
start_demo_devices "$BUILD"
set -- $(scans 2 | summary)
S3="$1 $2 $3" R3=$4
stop_devices
start_many_devices "$BUILD" 21
set -- $(scans 5 | summary)
S21="$1 $2 $3" R21=$4 RSS21=$5
stop_devices

# Bursts: N devices answering at once; one desktop scan and one orbisk-cli
# scan in the same run, both with an ordinary user's receive queue.
QUEUE=212992
burst() { # N -> "rows last_row_ms longest_hold_ms scan_s cli_rows cli_last_ms"
    start_burst_devices "$BUILD" "$1"
    d=$(ip netns exec "$VLAN_OP" env ORBISK_RECEIVE_QUEUE=$QUEUE "$DRIVER" scan 1 2>/dev/null | awk '/^scan_ms/ {
        printf "%d %.1f %.1f %.3f", $4, $6, $8, $2 / 1000 }')
    ip netns exec "$VLAN_OP" env ORBISK_RECEIVE_QUEUE=$QUEUE ORBISK_NO_STATE=1 "$BUILD/tools/cli/orbisk-cli" scan \
        --csv --stats > /tmp/orbisk-bench-cli.$$ 2> /tmp/orbisk-bench-cli-err.$$ || true
    c=$(($(wc -l < /tmp/orbisk-bench-cli.$$) - 1))
    cms=$(sed -n 's/.*last_listed_ms=\([0-9.]*\).*/\1/p' /tmp/orbisk-bench-cli-err.$$)
    rm -f /tmp/orbisk-bench-cli.$$ /tmp/orbisk-bench-cli-err.$$
    stop_devices
    echo "$d $c ${cms:-?}"
}
BURSTS=""
for n in ${BURST_SIZES:-1 100 1000 4000}; do
    BURSTS="$BURSTS
| $n | $(burst "$n" | awk -v n="$n" '{ printf "%d of %d | %s ms | %s ms | %s s | %d of %d | %s ms", $1, n, $2, $3, $4, $5, n, $6 }') |"
done

# A lossy segment, as Wi-Fi is for broadcast: 12 devices, a tenth of the
# requests and of the replies lost each way; the device-scans listed.
start_burst_devices "$BUILD" 12 --loss 10
LOSSY=$(scans "${LOSSY_SCANS:-20}" | awk '/^scan_ms/ { s += $4; n++ } END {
    printf "%d of %d (%.1f%%)", s, n * 12, n ? 100 * s / (n * 12) : 0 }')
stop_devices

fmt_s() { # "min median max" in seconds
    echo "$1" | awk '{ printf "%.3f s (%.3f to %.3f)", $2, $1, $3 }'
}
cpu=$(awk -F': ' '/^model name/ { print $2; exit }' /proc/cpuinfo)
load=$(cut -d' ' -f1 /proc/loadavg)
cat <<EOT
## Desktop program

Measured with \`sudo make bench\` (scripts/bench_desktop.sh) on $(date -u +%Y-%m-%d):
$(nproc) cores ($cpu, load average $load when it ended), Xvfb, the virtual
LAN of tests/support with orbisk-devsim answering, RelWithDebInfo build.
Medians, with the range.

| What | Result | Budget |
|---|---|---|
| Start-up: exec to the main window's first exposure ($RUNS runs) | $START_MED ms ($START_MIN to $START_MAX) | under 300 ms |
| of which: to the application object's start (Qt loaded and set up) | $APP_MED ms | |
| Resident memory, idle after start (orbisk) | $((IDLE_KB / 1024)) MiB ($IDLE_KB kB) | |
| Resident memory after five scans of 21 devices (orbisk-uidriver) | $((RSS21 / 1024)) MiB ($RSS21 kB) | |
| Scan, no device answering (fewest rows: $R0) | $(fmt_s "$S0") | 21 polls of up to 500 ms each |
| Scan, 3 devices answering (fewest rows: $R3) | $(fmt_s "$S3") | |
| Scan, 21 devices answering (fewest rows: $R21) | $(fmt_s "$S21") | |
| Device-scans listed, 12 devices, 10% loss each way (${LOSSY_SCANS:-20} scans) | $LOSSY | at least 98% |

Bursts: N devices answering every request at once (orbisk-devsim --count N),
one desktop scan (orbisk-uidriver) and one \`orbisk-cli scan\` in the same run,
both with an ordinary user's receive queue (ORBISK_RECEIVE_QUEUE=$QUEUE, as
SO_RCVBUF capped by net.core.rmem_max). Times from the click on Scan (the
first request); the longest hold is the longest the window's event loop was
held until the last row, measured by a 2 ms probe.

| devices | desktop: listed | desktop: last row | desktop: longest hold until then | desktop: scan | orbisk-cli: listed | orbisk-cli: last row |
|---:|---:|---:|---:|---:|---:|---:|$BURSTS

A scan polls 21 times on a 50 ms timer; each poll takes every reply
queued (at most about 30 ms of listing, the rest at the next tick), and a
poll that finds nothing waits up to 500 ms, or until the next of the three
requests is due. Once the replies to the requests are listed, the idle polls
keep the scan listening for several seconds, whatever the number of devices:
a scan lasts about 7 to 10 s. The first rows appear at the first tick, 50 ms
after the click; the replies themselves are taken off the socket as they
arrive, between the ticks.
EOT
