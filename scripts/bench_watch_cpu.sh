#!/bin/bash
# CPU time of orbisk-cli watch --textfile over a long watch, on the virtual
# LAN with three simulated devices: one scan per interval and nothing between.
#
#   scripts/bench_watch_cpu.sh BUILD [SECONDS] [INTERVAL]
set -eu
build=$(cd "$1" && pwd)
seconds=${2:-600}
interval=${3:-10}
exec "$build/tests/support/orbisk-vlan" --devices 3 -- bash -c '
    set -eu
    build=$1 seconds=$2 interval=$3
    out=$(mktemp -d)
    trap "rm -rf $out" EXIT
    sims=()
    for i in 0 1 2; do
        ns=VLAN_DEV$i
        ip netns exec "${!ns}" "$build/tools/devsim/orbisk-devsim" --hostname "nas$i" \
            --mac "02:00:00:00:01:0$i" > "$out/devsim$i.log" 2>&1 &
        sims+=($!)
    done
    sleep 1
    ip netns exec "$VLAN_OP" env ORBISK_NO_STATE=1 "$build/tools/cli/orbisk-cli" watch \
        --interval "$interval" --textfile "$out/orbisk.prom" > "$out/events.log" 2>&1 &
    watch=$!
    sleep "$seconds"
    # utime and stime, fields 14 and 15 of /proc/PID/stat, in clock ticks.
    read -r utime stime < <(sed "s/.*) //" /proc/$watch/stat | cut -d" " -f12,13)
    rounds=$(sed -n "s/^orbisk_watch_rounds_total //p" "$out/orbisk.prom")
    kill -TERM "$watch"; wait "$watch" || true
    for pid in "${sims[@]}"; do kill -TERM "$pid"; done
    wait || true
    ticks=$(getconf CLK_TCK)
    awk -v u="$utime" -v s="$stime" -v t="$ticks" -v r="$rounds" -v n="$seconds" -v i="$interval" \
        "BEGIN { printf \"watch --interval %s for %s s, 3 devices: %s rounds, CPU user %.2f s + system %.2f s = %.2f s (%.1f ms a round)\\n\", i, n, r, u / t, s / t, (u + s) / t, 1000 * (u + s) / t / r }"
    grep -c appeared "$out/events.log" | sed "s/^/appeared events: /"
' bench "$build" "$seconds" "$interval"
