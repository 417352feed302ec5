#!/bin/sh
# Runs a Windows program of the cross build under Wine, with Qt's DLLs and the compiler's
# run-time DLLs on its path. CTest runs each Windows test through it with --qtest: a QtTest
# program's log does not reach standard output under Wine, so it goes to a file and is printed.
# Usage: scripts/wine-exec.sh [--qtest] PROGRAM.exe [ARG...]
#   ($QUORVALE_WINDOWS_QT: the Windows Qt)
set -eu
windows_path() { printf 'Z:%s' "$1" | tr / '\\'; }
runtime=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-file-name=libstdc++-6.dll)")
pthread=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-file-name=libwinpthread-1.dll)")
WINEPATH="$(windows_path "$QUORVALE_WINDOWS_QT/bin");$(windows_path "$runtime");$(windows_path "$pthread")"
export WINEPATH
[ "${1:-}" = --qtest ] || exec wine "$@"

shift
log=$(mktemp)
trap 'rm -f "$log"' EXIT
status=0
wine "$@" -o "$(windows_path "$log"),txt" || status=$?
cat "$log"
exit "$status"
