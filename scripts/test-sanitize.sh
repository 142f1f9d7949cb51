#!/bin/sh
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer (no
# recovery) in build-asan and runs the whole ctest suite there. Any report
# ends the process that made it with a failure, leaks included.
#
#   scripts/test-sanitize.sh [extra ctest arguments, e.g. -L fuzz]
set -eu
cd "$(dirname "$0")/.."

build=${ASAN_BUILD:-build-asan}
jobs=${JOBS:-2}
sudo=$([ "$(id -u)" -eq 0 ] || echo sudo)

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORBISK_SANITIZE=ON
cmake --build "$build" -j"$jobs"
# The node exporter and promtool the fleet tests run, beside this build too.
sh scripts/fetch_prometheus_tools.sh "$build/prometheus-tools"

# Known leaks of system libraries go in tests/lsan.supp, each with its reason.
lsan=""
[ -f tests/lsan.supp ] && lsan="suppressions=$(pwd)/tests/lsan.supp:print_suppressions=0"
root=$(pwd)
cd "$build"
status=0
run=r$(od -An -N4 -tx1 /dev/urandom | tr -d ' \n')
# shellcheck disable=SC2086 # sudo is empty or one word
$sudo env CI="${CI:-}" ORBISK_VLAN_RUN="$run" QT_QPA_PLATFORM=offscreen \
    ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:check_initialization_order=1:strict_init_order=1 \
    UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
    LSAN_OPTIONS="$lsan" \
    ctest -j"$jobs" --output-on-failure --timeout 600 "$@" || status=1
sh "$root/scripts/check_netns.sh" . "$run" || status=1
exit $status
