#!/bin/bash
# How fast orbisk-cli scan lists many devices that answer at once.
#
#   scripts/bench_cli.sh [BUILD_DIR] [RUNS]      (as root; BUILD_DIR default: build)
#
# Builds a virtual LAN (network namespaces, 198.18.0.0/15, nothing leaves the
# machine), plays 1, 100 and 1000 devices with orbisk-devsim on one host, all
# answering in one burst, and scans from another host RUNS times (default 5)
# each. Prints a Markdown table: devices found of N (worst run), the time from
# the request to the last reply's arrival and to its row being listed
# (median), the longest wait of a reply before it was listed (worst), and the
# CPU time of the orbisk-cli process (median).
set -euo pipefail

if [[ "${1:-}" == "--inside" ]]; then
    # Running under orbisk-vlan: VLAN_OP and VLAN_DEV0 name the two hosts.
    shift
    build=$1 runs=$2 scratch=$3
    sizes=(1 100 1000)
    # Device i is 198.18.4.0 + 1 + i, as /32 addresses on the device host.
    batch=""
    for ((i = 0; i < 1000; i++)); do
        n=$((4 * 256 + 1 + i))
        batch+="addr add 198.18.$((n / 256)).$((n % 256))/32 dev eth0"$'\n'
    done
    printf '%s' "$batch" | ip -n "$VLAN_DEV0" -batch -

    median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
    echo "| devices | found (worst of $runs) | request to last reply, ms | request to last listed, ms | longest reply-to-listed wait, ms | CPU time, ms |"
    echo "|---:|---:|---:|---:|---:|---:|"
    for n in "${sizes[@]}"; do
        ip netns exec "$VLAN_DEV0" "$build/tools/devsim/orbisk-devsim" --address 198.18.4.1 --count "$n" \
            > "$scratch/devsim.log" 2>&1 &
        sim=$!
        for ((w = 0; w < 200; w++)); do
            grep -q "listening" "$scratch/devsim.log" && break
            sleep 0.05
        done
        : > "$scratch/stats"
        for ((r = 0; r < runs; r++)); do
            ip netns exec "$VLAN_OP" "$build/tools/cli/orbisk-cli" scan --csv --stats --timeout 1000 \
                > "$scratch/out.csv" 2> "$scratch/err" || true
            rows=$(($(wc -l < "$scratch/out.csv") - 1))
            grep '^stats:' "$scratch/err" | sed "s/^stats:/rows=$rows/" >> "$scratch/stats"
        done
        kill "$sim" 2> /dev/null || true
        wait "$sim" 2> /dev/null || true
        field() { sed -n "s/.*$1=\([0-9.]*\).*/\1/p" "$scratch/stats"; }
        found=$(field rows | sort -n | head -1)
        reply=$(field last_reply_ms | median)
        listed=$(field last_listed_ms | median)
        lag=$(field max_listing_lag_ms | sort -n | tail -1)
        cpu=$(paste <(field cpu_user_ms) <(field cpu_sys_ms) | awk '{ print $1 + $2 }' | median)
        echo "| $n | $found of $n | $reply | $listed | $lag | $cpu |"
    done
    exit 0
fi

build=$(cd "${1:-build}" && pwd)
runs=${2:-5}
for program in tools/cli/orbisk-cli tools/devsim/orbisk-devsim tests/support/orbisk-vlan; do
    if [[ ! -x "$build/$program" ]]; then
        echo "bench_cli.sh: $build/$program is missing; build the project first" >&2
        exit 1
    fi
done
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
"$build/tests/support/orbisk-vlan" --devices 1 -- "$(cd "$(dirname "$0")" && pwd)/bench_cli.sh" --inside "$build" "$runs" "$scratch"
