# Sourced by the demo, screenshot and benchmark scripts, inside orbisk-vlan:
# starts orbisk-devsim on the device hosts and stops it again.
#
#   start_demo_devices BUILD   three devices of different identities and modes
#   start_many_devices BUILD N N devices on the first device host, 198.18.0.150 and up
#   start_burst_devices BUILD N [ARGS...] N devices answering at once, 198.18.4.1 and up
#   stop_devices

DEVSIM_PIDS=""

# Replies come 10 to 30 ms after the request, as from devices on a real
# network (the tests have their devices answer at once).
devsim_on() { # NETNS ARGS...
    ns=$1
    shift
    ip netns exec "$ns" "$DEVSIM" --reply-delay 10 --jitter 20 "$@" 2>/dev/null &
    DEVSIM_PIDS="$DEVSIM_PIDS $!"
}

start_demo_devices() {
    DEVSIM="$1/tools/devsim/orbisk-devsim"
    devsim_on "$VLAN_DEV0" --hostname archive --firmware 4.2.1 --mac 02:4f:52:42:00:01 \
        --gateway 198.18.0.1 --netmask 255.255.255.0 --mode 0
    devsim_on "$VLAN_DEV1" --hostname media-nas --firmware 3.9.0 --mac 02:4f:52:42:00:02 \
        --gateway 198.18.0.1 --netmask 255.255.255.0 --mode 1
    devsim_on "$VLAN_DEV2" --hostname backup --firmware 4.0.7 --mac 02:4f:52:42:00:03 \
        --gateway 198.18.0.254 --netmask 255.255.0.0 --mode 0
    sleep 0.3
}

# Gives the first device host N /32 addresses from 198.18.0.0 + FIRST on,
# carrying into the next octet as the simulator does.
add_device_addresses() { # FIRST N
    if="$(ip -n "$VLAN_DEV0" -o -4 addr show | awk '$2 != "lo" { print $2; exit }')"
    i=0
    while [ "$i" -lt "$2" ]; do
        a=$(($1 + i))
        echo "addr replace 198.18.$((a / 256)).$((a % 256))/32 dev $if"
        i=$((i + 1))
    done | ip -n "$VLAN_DEV0" -batch -
}

start_many_devices() {
    DEVSIM="$1/tools/devsim/orbisk-devsim"
    n=$2
    # 198.18.0.150 and up, clear of the device hosts' own addresses.
    add_device_addresses 150 "$n"
    devsim_on "$VLAN_DEV0" --address 198.18.0.150 --count "$n" --hostname nas
    sleep 0.3
}

start_burst_devices() {
    DEVSIM="$1/tools/devsim/orbisk-devsim"
    n=$2
    shift 2
    add_device_addresses $((4 * 256 + 1)) "$n"
    ip netns exec "$VLAN_DEV0" "$DEVSIM" --address 198.18.4.1 --count "$n" "$@" 2>/dev/null &
    DEVSIM_PIDS="$DEVSIM_PIDS $!"
    sleep 0.5
}

stop_devices() {
    for pid in $DEVSIM_PIDS; do
        kill "$pid" 2>/dev/null || true
    done
    for pid in $DEVSIM_PIDS; do
        wait "$pid" 2>/dev/null || true
    done
    DEVSIM_PIDS=""
}
