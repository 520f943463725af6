#!/bin/sh
# Fuzz campaign: runs every libFuzzer target (or the ones named) for MINUTES of
# CPU time each under ASan+UBSan with a 1 GiB memory limit, then merges what
# added coverage into the committed seed folders tests/fuzz/corpus/<target>/
# (only new inputs are added; the seeds stay).
# Crashes, leaks, timeouts and out-of-memory inputs land as
# build/fuzz/campaign/<target>/crash-* (oom-*, timeout-*, leak-*).
# Usage: scripts/fuzz-campaign.sh [MINUTES] [TARGET...]   (after `make fuzz`)
# CPU time, not wall time, is measured, so a busy machine gives each target the
# same amount of fuzzing; JOBS=2 runs two targets at once.
set -eu
minutes=${1:-20}
[ $# -gt 0 ] && shift
root=$(cd "$(dirname "$0")/.." && pwd)
bin="$root/build/fuzz/tests/fuzz"
out="$root/build/fuzz/campaign"
shared="$root/../shared/corpus"
all="fuzz_ole2 fuzz_biff8 fuzz_formula fuzz_numfmt fuzz_rtf fuzz_doc fuzz_xliff fuzz_language fuzz_import"
targets=${*:-$all}
jobs=${JOBS:-1}
seed_bytes=${SEED_BYTES:-16384}
seed_total=${SEED_TOTAL:-1048576}
seed_files=${SEED_FILES:-256}
hz=$(getconf CLK_TCK)
export ASAN_OPTIONS="allocator_may_return_null=1:detect_leaks=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
# The test suite's leak suppressions: what system libraries keep or leak themselves.
export LSAN_OPTIONS="suppressions=$root/tests/lsan.supp:print_suppressions=0"

seeds() {  # the seed folders of a target (as its replay test has them)
    name=${1#fuzz_}
    echo "$root/tests/fuzz/corpus/$name"
    case $name in
        ole2) echo "$shared/xls $shared/doc" ;;
        biff8) echo "$shared/xls" ;;
        rtf) echo "$shared/rtf $root/tests/fixtures/rtf" ;;
        doc) echo "$shared/doc" ;;
        language) echo "$root/data/lng" ;;
    esac
}

cpu_ticks() {  # user+system clock ticks of a process and its ended jobs so far
    awk '{ print $14 + $15 + $16 + $17 }' "/proc/$1/stat" 2>/dev/null || echo 0
}

campaign() {
    target=$1
    dir="$out/$target"
    mkdir -p "$dir/work"
    echo 0 >"$dir/cpu"
    folders=""
    for f in $(seeds "$target"); do [ -d "$f" ] && folders="$folders $f"; done
    # Fork mode: fuzzing goes on in a fresh job after a finding, so one run
    # collects them all. Wall time is only a backstop; the watchdog below ends
    # the run gracefully (SIGUSR1) when its CPU time is spent.
    "$bin/$target" -fork=1 -ignore_crashes=1 -ignore_ooms=1 -ignore_timeouts=1 \
        -rss_limit_mb=1024 -malloc_limit_mb=1024 -timeout=120 \
        -max_total_time=$((minutes * 60 * 6)) \
        -artifact_prefix="$dir/" "$dir/work" $folders >"$dir/fuzz.log" 2>&1 &
    pid=$!
    limit=$((minutes * 60 * hz))
    while kill -0 "$pid" 2>/dev/null; do
        ticks=$(cpu_ticks "$pid")
        [ "$ticks" -gt 0 ] && echo "$ticks" >"$dir/cpu"
        [ "$ticks" -ge "$limit" ] && { kill -USR1 "$pid" 2>/dev/null || true; }
        sleep 5
    done
    wait "$pid" || true
    # Minimise: add to the committed seeds only what adds coverage to them
    # and to the shared corpus, which stays outside the project.
    base="$dir/base"
    rm -rf "$base" && mkdir -p "$base"
    for f in $folders; do cp -r "$f/." "$base/" 2>/dev/null || true; done
    ls "$base" >"$dir/base.list"
    "$bin/$target" -merge=1 -rss_limit_mb=1024 -malloc_limit_mb=1024 -timeout=120 \
        "$base" "$dir/work" >"$dir/merge.log" 2>&1 || true
    # Committed seeds stay small: the smallest new inputs first, each at most
    # SEED_BYTES, at most SEED_FILES of them and SEED_TOTAL bytes in all; the
    # rest stays in $base.
    added=0 total=0 left=0
    for f in $(ls -rS "$base"); do
        grep -qxF "$f" "$dir/base.list" && continue
        size=$(stat -c %s "$base/$f")
        if [ "$size" -gt "$seed_bytes" ] || [ $((total + size)) -gt "$seed_total" ] ||
            [ "$added" -ge "$seed_files" ]; then
            left=$((left + 1))
            continue
        fi
        cp "$base/$f" "$root/tests/fuzz/corpus/${target#fuzz_}/"
        added=$((added + 1)) total=$((total + size))
    done
    printf '%-14s %s CPU s; %s new seeds (%s bytes), %s too big to commit; %s findings\n    %s\n' "$target" \
        "$(($(cat "$dir/cpu") / hz))" "$added" "$total" "$left" \
        "$(ls "$dir" | grep -cE '^(crash|leak|oom|timeout|slow-unit)-' || true)" \
        "$(grep -E '^#[0-9]+: cov:' "$dir/fuzz.log" | tail -1)"
}

mkdir -p "$out"
running=0
for t in $targets; do
    [ -x "$bin/$t" ] || { echo "$t: not built (make fuzz)" >&2; exit 2; }
    campaign "$t" &
    running=$((running + 1))
    if [ "$running" -ge "$jobs" ]; then wait; running=0; fi
done
wait
