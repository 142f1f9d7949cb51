#!/bin/bash
# How fast orbisk-cli scan lists many devices that answer at once, beside a
# bare reference scanner in the same namespaces.
#
#   scripts/bench_cli.sh [BUILD_DIR] [RUNS] [SIZES]   (as root; defaults: build 3 "1000 4000 16000")
#
# Builds a virtual LAN (network namespaces, 198.18.0.0/15, nothing leaves the
# machine), plays N devices with orbisk-devsim on one host, all answering in
# one burst, and scans from another host RUNS times for each N, taking turns:
# the reference scanner, then orbisk-cli. Prints a Markdown table.
set -euo pipefail
. "$(dirname "$0")/bench_cli_lan.sh"

# The receive queue both scanners ask for (SO_RCVBUFFORCE); orbisk-cli's is
# kReceiveBufferBytes in tools/cli/cli_net.h.
queue_bytes=$((16 * 1024 * 1024))

# The reference: bind the tool port, send the request, note each new sender
# of a discovery reply in a hash set; stop after a second without replies.
reference='
import socket, sys, time
s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
s.setsockopt(socket.SOL_SOCKET, 33, int(sys.argv[1]))  # SO_RCVBUFFORCE
s.setsockopt(socket.SOL_SOCKET, socket.SO_BROADCAST, 1)
s.bind(("", 10001))
s.settimeout(1.0)
seen, last = set(), 0
start = time.monotonic_ns()
s.sendto(b"STSS\0", ("255.255.255.255", 10000))
try:
    while True:
        data, (sender, _) = s.recvfrom(100)
        if data[:1] == b"#" and sender not in seen:
            seen.add(sender)
            last = time.monotonic_ns()
except socket.timeout:
    pass
print("devices=%d last_seen_ms=%.3f" % (len(seen), (last - start) / 1e6))
'

if [[ "${1:-}" == "--inside" ]]; then
    shift
    build=$1 runs=$2 sizes=$3 scratch=$4
    bench_device_addresses "$sizes"

    range() { sort -n | awk 'NR == 1 { lo = $1 } { hi = $1 } END { printf "%s to %s", lo, hi }'; }
    echo "| devices | found: reference / orbisk-cli (worst of $runs) | reference: last sender seen, ms | orbisk-cli: last row listed, ms | ratio of medians | orbisk-cli: last reply arrived, ms | orbisk-cli scan CPU per device, us | orbisk-cli process CPU, ms |"
    echo "|---:|---:|---:|---:|---:|---:|---:|---:|"
    for n in $sizes; do
        bench_start_devsim "$build" "$scratch/devsim.log" --count "$n"
        : > "$scratch/stats"
        : > "$scratch/ref"
        for ((r = 0; r < runs; r++)); do
            ip netns exec "$VLAN_OP" python3 -c "$reference" "$queue_bytes" >> "$scratch/ref"
            ip netns exec "$VLAN_OP" env ORBISK_NO_STATE=1 "$build/tools/cli/orbisk-cli" scan --csv --stats --timeout 1000 \
                > "$scratch/out.csv" 2> "$scratch/err" || true
            rows=$(($(wc -l < "$scratch/out.csv") - 1))
            grep '^stats:' "$scratch/err" | sed "s/^stats:/rows=$rows/" >> "$scratch/stats"
        done
        bench_stop_devsim
        field() { sed -n "s/.*\<$1=\([0-9.]*\).*/\1/p" "$scratch/${2:-stats}"; }
        ref_found=$(field devices ref | sort -n | head -1)
        cli_found=$(field rows | sort -n | head -1)
        ref_ms=$(field last_seen_ms ref | median)
        cli_ms=$(field last_listed_ms | median)
        ratio=$(awk -v a="$cli_ms" -v b="$ref_ms" 'BEGIN { printf "%.2f", a / b }')
        arrival=$(field last_reply_ms | median)
        per_device=$(paste <(field scan_cpu_ms) <(field rows) | awk '{ printf "%.2f\n", $2 ? $1 * 1000 / $2 : 0 }' | median)
        cpu=$(paste <(field cpu_user_ms) <(field cpu_sys_ms) | awk '{ print $1 + $2 }' | median)
        echo "| $n | $ref_found / $cli_found | $ref_ms ($(field last_seen_ms ref | range)) |" \
            "$cli_ms ($(field last_listed_ms | range)) | $ratio | $arrival | $per_device | $cpu |"
    done
    exit 0
fi

build=$(cd "${1:-build}" && pwd)
runs=${2:-3}
sizes=${3:-1000 4000 16000}
bench_check_build bench_cli.sh "$build"
command -v python3 > /dev/null || { echo "bench_cli.sh: python3 runs the reference scanner; install it" >&2; exit 1; }
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
"$build/tests/support/orbisk-vlan" --devices 1 -- "$(cd "$(dirname "$0")" && pwd)/bench_cli.sh" --inside "$build" \
    "$runs" "$sizes" "$scratch"
