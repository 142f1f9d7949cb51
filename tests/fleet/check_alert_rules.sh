#!/bin/sh
# promtool check rules, then promtool test rules. Without promtool the test
# is skipped (status 77), or fails under CI=true.
#   check_alert_rules.sh PROMTOOL RULES TESTS
set -u
if [ ! -x "$1" ]; then
    echo "no $1: run scripts/fetch_prometheus_tools.sh (make prometheus-tools)"
    [ "${CI:-}" = true ] && exit 1
    exit 77
fi
"$1" check rules "$2" && "$1" test rules "$3"
