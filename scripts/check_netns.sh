#!/bin/sh
# After a test run: removes the namespaces that test processes which are gone
# left behind (a test killed by a timeout cannot clean up after itself), says
# which, and fails if any of the tests' namespaces is still there.
#
#   scripts/check_netns.sh BUILD_DIR
set -u
sudo=$([ "$(id -u)" -eq 0 ] || echo sudo)
before=$($sudo ip netns list | grep '^obk-' || true)
[ -x "$1/tests/support/orbisk-vlan" ] && $sudo "$1/tests/support/orbisk-vlan" --sweep
left=$($sudo ip netns list | grep '^obk-' || true)
if [ -n "$before" ]; then
    echo "namespaces left behind by the tests (swept):"
    echo "$before"
fi
if [ -n "$left" ]; then
    echo "namespaces still present:"
    echo "$left"
    exit 1
fi
