#!/bin/bash
# How many devices orbisk-cli scan lists on a lossy network, with one
# discovery request a scan (--repeat 1) and with the default repeated ones.
#
#   scripts/bench_cli_loss.sh [BUILD_DIR] [SCANS] [SIZES] [LOSSES]
#       (as root; defaults: build 20 "12 100" "0 10 20")
#
# Builds a virtual LAN (network namespaces, 198.18.0.0/15, nothing leaves the
# machine) and plays N devices with orbisk-devsim on one host, each dropping
# LOSS percent of the requests it hears and, apart from that, of the replies
# it sends (--loss, a fixed seed per run). Another host scans SCANS times with
# each request count, taking turns, at the default timeout. Prints a Markdown
# table.
set -euo pipefail

if [[ "${1:-}" == "--inside" ]]; then
    # Running under orbisk-vlan: VLAN_OP and VLAN_DEV0 name the two hosts.
    shift
    build=$1 scans=$2 sizes=$3 losses=$4 scratch=$5
    largest=0
    for n in $sizes; do ((n > largest)) && largest=$n; done
    # Device i is 198.18.4.0 + 1 + i, as /32 addresses on the device host.
    batch=""
    for ((i = 0; i < largest; i++)); do
        n=$((4 * 256 + 1 + i))
        batch+="addr add 198.18.$((n / 256)).$((n % 256))/32 dev eth0"$'\n'
    done
    printf '%s' "$batch" | ip -n "$VLAN_DEV0" -batch -

    median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
    echo "| devices | loss each way | requests a scan | device-scans found | scans that found every device | median time to the last row, ms | longest scan (first request to end), ms |"
    echo "|---:|---:|---|---:|---:|---:|---:|"
    for n in $sizes; do
        for loss in $losses; do
            # Replies 10 to 30 ms after the request, as from devices on a real network.
            ip netns exec "$VLAN_DEV0" "$build/tools/devsim/orbisk-devsim" --address 198.18.4.1 --count "$n" \
                --reply-delay 10 --jitter 20 --loss "$loss" --seed "$((n * 1000 + loss))" \
                > "$scratch/devsim.log" 2>&1 &
            sim=$!
            for ((w = 0; w < 400; w++)); do
                grep -q "listening" "$scratch/devsim.log" && break
                sleep 0.05
            done
            : > "$scratch/once"
            : > "$scratch/default"
            for ((r = 0; r < scans; r++)); do
                for mode in once default; do
                    args=(scan --csv --stats)
                    [[ $mode == once ]] && args+=(--repeat 1)
                    ip netns exec "$VLAN_OP" "$build/tools/cli/orbisk-cli" "${args[@]}" \
                        > "$scratch/out.csv" 2> "$scratch/err" || true
                    rows=$(($(wc -l < "$scratch/out.csv") - 1))
                    field() { sed -n "s/.*\<$1=\([0-9.]*\).*/\1/p" "$scratch/err"; }
                    echo "$rows $(field last_listed_ms) $(field scan_ms)" >> "$scratch/$mode"
                done
            done
            kill "$sim" 2> /dev/null || true
            wait "$sim" 2> /dev/null || true
            for mode in once default; do
                label=$([[ $mode == once ]] && echo "1 (--repeat 1)" || echo "3 (default)")
                awk -v n="$n" -v loss="$loss" -v label="$label" '
                    { found += $1; all += ($1 == n) }
                    END { printf "| %d | %d%% | %s | %.1f%% (%d of %d) | %d of %d | ", n, loss, label,
                          100 * found / (n * NR), found, n * NR, all, NR }' "$scratch/$mode"
                printf '%s | %s |\n' "$(awk '{ print $2 }' "$scratch/$mode" | median)" \
                    "$(awk '{ print $3 }' "$scratch/$mode" | sort -n | tail -1)"
            done
        done
    done
    exit 0
fi

build=$(cd "${1:-build}" && pwd)
scans=${2:-20}
sizes=${3:-12 100}
losses=${4:-0 10 20}
for program in tools/cli/orbisk-cli tools/devsim/orbisk-devsim tests/support/orbisk-vlan; do
    if [[ ! -x "$build/$program" ]]; then
        echo "bench_cli_loss.sh: $build/$program is missing; build the project first" >&2
        exit 1
    fi
done
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
"$build/tests/support/orbisk-vlan" --devices 1 -- "$(cd "$(dirname "$0")" && pwd)/bench_cli_loss.sh" --inside \
    "$build" "$scans" "$sizes" "$losses" "$scratch"
