#!/usr/bin/env bash
# The sanitizer and fuzzing stage of the test run:
#   asan  the whole native test suite under AddressSanitizer + UndefinedBehaviorSanitizer (build-asan)
#   tsan  the threaded tests (worker runs, busy counter, concurrent polls and commands, the
#         simulator's connection threads) under ThreadSanitizer (build-tsan)
#   fuzz  each libFuzzer target over its committed corpus, then fuzzing for a bounded time
#         (build-fuzz, clang)
# Usage: tools/test-sanitizers.sh [asan] [tsan] [fuzz]     (no argument: all three)
# QUIRN_FUZZ_SECONDS is each fuzz target's fuzzing time in seconds (default 20).
# The builds are CMakePresets.json's asan, tsan and fuzz. The ASan build is unoptimised: the suite
# waits on sockets far more than it computes, and it builds faster. It has GCC's
# -Wmaybe-uninitialized off, which misfires inside <regex> when AddressSanitizer instruments it.
set -euo pipefail
. "$(dirname "$0")/lib.sh"
cd "$QUIRN_ROOT"

stages=("$@")
[ ${#stages[@]} -gt 0 ] || stages=(asan tsan fuzz)
fuzz_seconds=${QUIRN_FUZZ_SECONDS:-20}
fuzz_targets=(fuzz_page fuzz_euc fuzz_scanner_chunks fuzz_scanner_reference fuzz_base64_password fuzz_profile fuzz_http_response)

quirn_need native sanitizers

# Any finding stops the program with a report instead of letting it run on.
export ASAN_OPTIONS=abort_on_error=1:detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1

run_asan() {
    echo "== sanitizers: AddressSanitizer + UndefinedBehaviorSanitizer, whole native suite"
    quirn_build asan build-asan
    quirn_ctest build-asan
}

run_tsan() {
    echo "== sanitizers: ThreadSanitizer, threaded tests"
    quirn_build tsan build-tsan unit_tests integration_tests hostile_tests
    # The unit tests hold the worker runs and the busy counter; the integration tests run the
    # simulator's threads beside the library's; the hostile suite adds concurrent exchanges
    # (its long single-threaded scenarios would only be slow here).
    build-tsan/tests/unit_tests
    build-tsan/tests/integration_tests
    build-tsan/tests/hostile/hostile_tests --gtest_filter='Concurrency*'
}

run_fuzz() {
    echo "== fuzzing: ${#fuzz_targets[@]} targets, ${fuzz_seconds} s each after their corpus"
    quirn_build fuzz build-fuzz "${fuzz_targets[@]}"
    local passed=0 failed=0
    for target in "${fuzz_targets[@]}"; do
        # New inputs go to a scratch folder; the committed corpus is only read.
        local scratch=build-fuzz/fuzz/scratch/$target
        local artifacts=build-fuzz/fuzz/artifacts/$target
        rm -rf "$scratch"
        mkdir -p "$scratch" "$artifacts"
        local log=build-fuzz/fuzz/$target.log
        if build-fuzz/fuzz/"$target" -max_total_time="$fuzz_seconds" -max_len=16384 -timeout=25 \
            -print_final_stats=1 -artifact_prefix="$artifacts/" "$scratch" "fuzz/corpus/$target" \
            >"$log" 2>&1; then
            echo "$target: $(grep -o 'stat::number_of_executed_units: [0-9]*' "$log" | cut -d' ' -f2) runs" \
                 "in ${fuzz_seconds} s, no finding"
            passed=$((passed + 1))
        else
            echo "$target: FINDING (input saved in $artifacts)"
            tail -n 40 "$log"
            failed=$((failed + 1))
        fi
    done
    echo "fuzz: $passed passed, $failed failed"
    [ "$failed" -eq 0 ]
}

for stage in "${stages[@]}"; do
    case "$stage" in
        asan) run_asan ;;
        tsan) run_tsan ;;
        fuzz) run_fuzz ;;
        *) echo "unknown stage: $stage (asan, tsan or fuzz)" >&2; exit 64 ;;
    esac
done
