#!/bin/bash
# How many devices orbisk-cli scan lists on a lossy network, with one
# discovery request a scan (--repeat 1) and with the default repeated ones.
#
#   scripts/bench_cli_loss.sh [BUILD_DIR] [SCANS] [SIZES] [LOSSES] [REPEATS]
#       (as root; defaults: build 20 "12 100" "0 10 20" "1 3")
#
# Builds a virtual LAN (network namespaces, 198.18.0.0/15, nothing leaves the
# machine) and plays N devices with orbisk-devsim on one host, each dropping
# LOSS percent of the requests it hears and, apart from that, of the replies
# it sends (--loss, a fixed seed per run). Another host scans SCANS times with
# each request count of REPEATS (--repeat), taking turns, at the default
# timeout. Prints a Markdown table.
set -euo pipefail
. "$(dirname "$0")/bench_cli_lan.sh"

if [[ "${1:-}" == "--inside" ]]; then
    shift
    build=$1 scans=$2 sizes=$3 losses=$4 repeats=$5 scratch=$6
    bench_device_addresses "$sizes"

    echo "| devices | loss each way | requests a scan | device-scans found | scans that found every device | median time to the last row, ms | longest scan (first request to end), ms |"
    echo "|---:|---:|---|---:|---:|---:|---:|"
    for n in $sizes; do
        for loss in $losses; do
            # Replies 10 to 30 ms after the request, as from devices on a real network.
            bench_start_devsim "$build" "$scratch/devsim.log" --count "$n" \
                --reply-delay 10 --jitter 20 --loss "$loss" --seed "$((n * 1000 + loss))"
            for repeat in $repeats; do : > "$scratch/repeat$repeat"; done
            for ((r = 0; r < scans; r++)); do
                for repeat in $repeats; do
                    args=(scan --csv --stats --repeat "$repeat")
                    ip netns exec "$VLAN_OP" env ORBISK_NO_STATE=1 "$build/tools/cli/orbisk-cli" "${args[@]}" \
                        > "$scratch/out.csv" 2> "$scratch/err" || true
                    rows=$(($(wc -l < "$scratch/out.csv") - 1))
                    field() { sed -n "s/.*\<$1=\([0-9.]*\).*/\1/p" "$scratch/err"; }
                    echo "$rows $(field last_listed_ms) $(field scan_ms)" >> "$scratch/repeat$repeat"
                done
            done
            bench_stop_devsim
            for repeat in $repeats; do
                label=$repeat
                [[ $repeat == 3 ]] && label="3 (default)"
                awk -v n="$n" -v loss="$loss" -v label="$label" '
                    { found += $1; all += ($1 == n) }
                    END { printf "| %d | %d%% | %s | %.1f%% (%d of %d) | %d of %d | ", n, loss, label,
                          100 * found / (n * NR), found, n * NR, all, NR }' "$scratch/repeat$repeat"
                printf '%s | %s |\n' "$(awk '{ print $2 }' "$scratch/repeat$repeat" | median)" \
                    "$(awk '{ print $3 }' "$scratch/repeat$repeat" | sort -n | tail -1)"
            done
        done
    done
    exit 0
fi

build=$(cd "${1:-build}" && pwd)
scans=${2:-20}
sizes=${3:-12 100}
losses=${4:-0 10 20}
repeats=${5:-1 3}
bench_check_build bench_cli_loss.sh "$build"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
"$build/tests/support/orbisk-vlan" --devices 1 -- "$(cd "$(dirname "$0")" && pwd)/bench_cli_loss.sh" --inside \
    "$build" "$scans" "$sizes" "$losses" "$repeats" "$scratch"
