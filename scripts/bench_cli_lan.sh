# Sourced by bench_cli.sh and bench_cli_loss.sh (bash): what both do before,
# inside and around orbisk-vlan.
#
#   bench_check_build NAME BUILD     the programs are built (NAME for the message)
#   bench_device_addresses SIZES     addresses for the largest N on the device host
#   bench_start_devsim BUILD LOG ARGS...   orbisk-devsim on the device host, until it listens
#   bench_stop_devsim
#   median                           of the numbers on standard input

bench_check_build() { # NAME BUILD
    for program in tools/cli/orbisk-cli tools/devsim/orbisk-devsim tests/support/orbisk-vlan; do
        if [[ ! -x "$2/$program" ]]; then
            echo "$1: $2/$program is missing; build the project first" >&2
            exit 1
        fi
    done
}

# Running under orbisk-vlan: VLAN_OP and VLAN_DEV0 name the two hosts.
bench_device_addresses() { # SIZES
    local largest=0 n i batch=""
    for n in $1; do ((n > largest)) && largest=$n; done
    # Device i is 198.18.4.0 + 1 + i, as /32 addresses on the device host.
    for ((i = 0; i < largest; i++)); do
        n=$((4 * 256 + 1 + i))
        batch+="addr add 198.18.$((n / 256)).$((n % 256))/32 dev eth0"$'\n'
    done
    printf '%s' "$batch" | ip -n "$VLAN_DEV0" -batch -
}

bench_start_devsim() { # BUILD LOG ARGS...
    local build=$1 log=$2 w
    shift 2
    ip netns exec "$VLAN_DEV0" "$build/tools/devsim/orbisk-devsim" --address 198.18.4.1 "$@" > "$log" 2>&1 &
    sim=$!
    for ((w = 0; w < 400; w++)); do
        grep -q "listening" "$log" && break
        sleep 0.05
    done
}

bench_stop_devsim() {
    kill "$sim" 2> /dev/null || true
    wait "$sim" 2> /dev/null || true
}

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
