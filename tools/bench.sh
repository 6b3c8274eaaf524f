#!/usr/bin/env bash
# Builds the benchmarks (Release) and prints the figures docs/performance.md reports.
#   pages         page_bench: the page reader against libxml2 and memcpy; medians of repetitions
#   instructions  callgrind's instruction counts of the same work: repeatable however busy the
#                 machine is
#   poll          poll_bench: whole status polls against quirn-sim on loopback: median, 99th
#                 percentile, heap allocations per poll
#   syscalls      system calls per poll: perf's counter of this thread, strace's breakdown
#   soak          1,000 polls: memory, descriptors and heap blocks before and after
#   windows       the Windows program under Wine: wake-ups and CPU at rest, executable size,
#                 private memory after 100 polls (bench/windows_idle.sh; root, Wine, Xvfb)
# Usage: tools/bench.sh [STAGE...]        (no stage: all of them, about fifteen minutes)
# QUIRN_BENCH_BUILD and QUIRN_BENCH_WIN_BUILD name the build folders (default build-bench and
# build-bench-win). Extra page_bench options can be given in QUIRN_PAGE_BENCH_ARGS (e.g.
# --benchmark_filter=Interpret).
set -euo pipefail
. "$(dirname "$0")/lib.sh"
cd "$QUIRN_ROOT"

stages=("$@")
[ ${#stages[@]} -gt 0 ] || stages=(pages instructions poll syscalls soak windows)
build=${QUIRN_BENCH_BUILD:-build-bench}
win_build=${QUIRN_BENCH_WIN_BUILD:-build-bench-win}

quirn_need native benchmarks valgrind strace
quirn_build bench "$build" page_bench poll_bench quirn-sim >/dev/null
page_bench=$build/bench/page_bench
poll_bench=$build/bench/poll_bench

echo "== machine"
echo "cpu: $(lscpu | sed -n 's/^Model name: *//p'), $(nproc) cores;" \
    "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
echo "system: $(uname -sr); compiler: $(g++ --version | head -n 1)"

run_pages() {
    echo "== pages: the reader, libxml2 and memcpy on the same bytes"
    # shellcheck disable=SC2086  # the extra options are words on purpose
    "$page_bench" --benchmark_counters_tabular=true ${QUIRN_PAGE_BENCH_ARGS:-}
}

# Instructions callgrind counts for one run of WORK: the difference between COUNT runs and one
# run, over COUNT - 1, so the program's start and end drop out.
instructions_of() {
    local work=$1 count=$2 totals=()
    for n in 1 "$count"; do
        local out
        out=$(mktemp)
        valgrind --tool=callgrind --callgrind-out-file="$out" "$page_bench" --instructions \
            "$work" "$n" >/dev/null 2>&1
        totals+=("$(sed -n 's/^summary: //p' "$out")")
        rm -f "$out"
    done
    echo $(((totals[1] - totals[0]) / (count - 1)))
}

run_instructions() {
    echo "== instructions per run (callgrind)"
    local reader baseline copy
    for page in status large; do
        local count=201
        [ "$page" = large ] && count=11
        reader=$(instructions_of "interpret-$page" "$count")
        baseline=$(instructions_of "libxml2-$page" "$count")
        copy=$(instructions_of "memcpy-$page" "$count")
        awk -v page="$page" -v r="$reader" -v b="$baseline" -v c="$copy" 'BEGIN {
            printf "%-7s page: reader %10d, libxml2 %11d (%.1fx the reader), memcpy %7d" \
                   " (the reader %.0fx memcpy)\n", page, r, b, b / r, c, r / c }'
    done
    printf 'EucToUtf8, Japanese-heavy text (%s): %d instructions\n' \
        "$("$page_bench" --instructions euc-japanese 1 | sed 's/.*: //')" \
        "$(instructions_of euc-japanese 11)"
}

run_poll() {
    echo "== whole status polls against quirn-sim on loopback"
    "$poll_bench" --benchmark_counters_tabular=true
}

run_syscalls() {
    echo "== system calls per poll (the polling thread only)"
    local polls=200
    # perf counts the kernel's entries of this thread alone (--no-inherit), at little cost.
    local events=raw_syscalls:sys_enter,syscalls:sys_enter_recvfrom,syscalls:sys_enter_setsockopt
    if command -v perf >/dev/null 2>&1 &&
        perf stat -e "$events" --no-inherit true >/dev/null 2>&1; then
        local zero many
        zero=$(perf stat -x, -e "$events" --no-inherit "$poll_bench" --polls 0 2>&1 >/dev/null)
        many=$(perf stat -x, -e "$events" --no-inherit "$poll_bench" --polls "$polls" \
            2>&1 >/dev/null)
        printf '%s\n%s\n' "$zero" "$many" | awk -F, -v polls="$polls" '
            $3 != "" { if (!($3 in first)) first[$3] = $1; else last[$3] = $1 }
            END {
                all = last["raw_syscalls:sys_enter"] - first["raw_syscalls:sys_enter"]
                recv = last["syscalls:sys_enter_recvfrom"] - first["syscalls:sys_enter_recvfrom"]
                opt = last["syscalls:sys_enter_setsockopt"] - first["syscalls:sys_enter_setsockopt"]
                printf "perf: %.1f system calls per poll, of them %.1f recvfrom and %.1f setsockopt\n",
                    all / polls, recv / polls, opt / polls
            }'
    else
        echo "perf: not available here (it needs the kernel's tracepoints); strace only"
    fi
    # strace follows only the main thread without -f. Tracing slows every call, so a traced
    # poll lasts longer and its response deadline shortens the receive time-out more often
    # (setsockopt) than an untraced one's.
    local before after
    before=$(mktemp)
    after=$(mktemp)
    strace -c -o "$before" "$poll_bench" --polls 0 >/dev/null
    strace -c -o "$after" "$poll_bench" --polls "$polls" >/dev/null
    echo "strace, per poll:"
    awk -v polls="$polls" '
        FNR == NR && $NF ~ /^[a-z_0-9]+$/ && $4 ~ /^[0-9]+$/ { base[$NF] = $4; next }
        $NF ~ /^[a-z_0-9]+$/ && $4 ~ /^[0-9]+$/ && $NF != "total" {
            delta = ($4 - base[$NF]) / polls
            if (delta >= 0.05) printf "  %-12s %8.1f\n", $NF, delta
        }' "$before" "$after" | sort -k2 -rn
    rm -f "$before" "$after"
}

run_soak() {
    echo "== 1,000 polls: what stays behind"
    "$poll_bench" --soak 1000
}

run_windows() {
    echo "== the Windows program under Wine"
    if [ "$(id -u)" != 0 ]; then
        echo "skipped: the router's private network namespace needs root"
        return
    fi
    quirn_need windows window namespace
    quirn_build bench-win "$win_build" QuirnMobileTool >/dev/null
    bash bench/windows_idle.sh "$win_build" "$build"
}

for stage in "${stages[@]}"; do
    case "$stage" in
        pages) run_pages ;;
        instructions) run_instructions ;;
        poll) run_poll ;;
        syscalls) run_syscalls ;;
        soak) run_soak ;;
        windows) run_windows ;;
        *) echo "unknown stage: $stage (pages instructions poll syscalls soak windows)" >&2
           exit 64 ;;
    esac
done
