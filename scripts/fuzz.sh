#!/bin/sh
# Builds the libFuzzer programs of tests/fuzz with the release's clang in build-fuzz and
# runs each for FUZZ_SECONDS (default 60). Fails on any crash, sanitizer
# report, leak, slow input or out-of-memory; the input that did it is left in
# build-fuzz/artifacts/. New inputs found go to tests/fuzz/corpus-work/ (not
# kept in git); the seeds in tests/fuzz/corpus/ are only read.
#
#   scripts/fuzz.sh                      all targets
#   FUZZ_SECONDS=10 scripts/fuzz.sh device_table
set -eu
cd "$(dirname "$0")/.."

seconds=${FUZZ_SECONDS:-60}
build=${FUZZ_BUILD:-build-fuzz}
jobs=${JOBS:-2}
targets=${*:-reply_receiver device_table change_request}

cmake -S . -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DORBISK_FUZZ=ON -DORBISK_BUILD_TESTS=OFF -DORBISK_BUILD_UI=OFF >"$build.configure.log" 2>&1 \
    || { cat "$build.configure.log"; exit 1; }
rm -f "$build.configure.log"
programs=$(for t in $targets; do printf 'fuzz_%s ' "$t"; done)
# shellcheck disable=SC2086 # one word per program
cmake --build "$build" -j"$jobs" --target $programs

mkdir -p "$build/artifacts"
summary="$build/fuzz-summary.txt"
: >"$summary"
status=0
for t in $targets; do
    work="tests/fuzz/corpus-work/$t"
    log="$build/fuzz-$t.log"
    mkdir -p "$work"
    echo "fuzzing $t for ${seconds} s"
    # Leaks count as failures (detect_leaks); -rss_limit_mb makes an
    # out-of-memory one too; -timeout flags any single input that hangs.
    if ASAN_OPTIONS=detect_leaks=1:halt_on_error=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
        "$build/tests/fuzz/fuzz_$t" -max_total_time="$seconds" -rss_limit_mb=2048 -malloc_limit_mb=2048 \
            -timeout=25 -max_len=2048 -detect_leaks=1 -print_final_stats=1 \
            -artifact_prefix="$build/artifacts/$t-" "$work" "tests/fuzz/corpus/$t" >"$log" 2>&1 \
        && ! grep -qE 'ERROR: (AddressSanitizer|LeakSanitizer|UndefinedBehaviorSanitizer|libFuzzer)|runtime error:' "$log"
    then
        result=clean
    else
        result=FAILED
        status=1
        tail -n 40 "$log"
    fi
    execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
    units=$(find "$work" -type f | wc -l)
    cov=$(grep -oE 'cov: [0-9]+' "$log" | tail -n 1)
    printf '%-15s %-7s %10s executions in %s s (%s/s), %s, %s inputs in the working corpus\n' \
        "$t" "$result" "${execs:-?}" "$seconds" "${rate:-?}" "${cov:-cov: ?}" "$units" | tee -a "$summary"
done
exit $status
