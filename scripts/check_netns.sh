#!/bin/sh
# After a test run: removes the namespaces that test processes which are gone
# left behind (a test killed by a timeout cannot clean up after itself), says
# which of the run's were, and fails if any of the run's namespaces is still
# there. With a run id (ORBISK_VLAN_RUN of the run) only that run's namespaces
# count, so that another run beside it neither fails this one nor is touched;
# the sweep takes only namespaces whose process is gone (tests/support/virtual_lan.h).
#
#   scripts/check_netns.sh BUILD_DIR [RUN_ID]
set -u
sudo=$([ "$(id -u)" -eq 0 ] || echo sudo)
prefix="obk-${2:+$2-}"
ours() { $sudo ip netns list | grep "^$prefix" || true; }
before=$(ours)
[ -x "$1/tests/support/orbisk-vlan" ] && $sudo "$1/tests/support/orbisk-vlan" --sweep
left=$(ours)
if [ -n "$before" ]; then
    echo "namespaces left behind by the tests (swept):"
    echo "$before"
fi
if [ -n "$left" ]; then
    echo "namespaces still present:"
    echo "$left"
    exit 1
fi
