#!/bin/sh
# Runs clang-tidy with the repository's .clang-tidy over the program's and the tests' sources,
# as the build tree given (default build/) compiles them, and over the fuzz targets when
# build-fuzz/ has been configured. Fails on any finding.
set -eu
cd "$(dirname "$0")/.."
BUILD="${1:-build}"
log="$(mktemp)"
trap 'rm -f "$log"' EXIT
status=0
run-clang-tidy -quiet -p "$BUILD" -j "$(nproc 2>/dev/null || echo 2)" \
    "^$(pwd)/(src|tests)/.*\.cpp\$" >"$log" 2>&1 || status=$?
if [ -f build-fuzz/compile_commands.json ]; then
    run-clang-tidy -quiet -p build-fuzz -j "$(nproc 2>/dev/null || echo 2)" \
        "^$(pwd)/fuzz/.*\.cpp\$" >>"$log" 2>&1 || status=$?
fi
# Only the findings: clang-tidy's own counts and command lines are noise.
grep -v -E '^[0-9]+ warnings? (and [0-9]+ errors? )?generated\.$|^Suppressed [0-9]+ warnings|^Use -header-filter|^clang-tidy-[0-9]+ |^Running clang-tidy' "$log" || true
[ "$status" -eq 0 ] && echo "clang-tidy: clean"
exit "$status"
