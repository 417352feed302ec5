#!/bin/sh
# Runs each fuzz target for FUZZ_SECONDS (default 60), one after the other, starting from the
# seed corpus in fuzz/corpus/<target>/. New inputs go to build-fuzz/corpus/, crashes to
# build-fuzz/artifacts/; the seeds in the repository are only read.
# Usage: scripts/run-fuzzers.sh [target...]   (targets without the _fuzzer suffix)
set -eu
cd "$(dirname "$0")/.."

SECONDS_EACH="${FUZZ_SECONDS:-60}"
BUILD=build-fuzz
TARGETS="${*:-ascii_to_hex hex_to_ascii code_table key_filter code_page}"

mkdir -p "$BUILD/artifacts"
failed=""
for t in $TARGETS; do
    mkdir -p "$BUILD/corpus/$t"
    echo "== $t: $SECONDS_EACH s"
    if ! "$BUILD/fuzz/${t}_fuzzer" -max_total_time="$SECONDS_EACH" -timeout=10 -rss_limit_mb=2048 \
        -max_len=4096 -print_final_stats=1 -artifact_prefix="$BUILD/artifacts/$t-" \
        "$BUILD/corpus/$t" "fuzz/corpus/$t" >"$BUILD/$t.log" 2>&1; then
        tail -n 40 "$BUILD/$t.log" >&2
        failed="$failed $t"
    fi
    grep -E '^stat::number_of_executed_runs|^Done' "$BUILD/$t.log" || true
done
if [ -n "$failed" ]; then
    echo "fuzz: failed:$failed (inputs in $BUILD/artifacts/)" >&2
    exit 1
fi
