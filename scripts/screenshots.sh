#!/bin/sh
# Takes the screenshots of docs/screenshots/ on a virtual X display. Needs the test
# build (make build-test) and the shared corpus beside the project for the workbooks.
set -eu
cd "$(dirname "$0")/.."
BUILD=build/test
CORPUS=../shared/corpus/xls
cmake --build "$BUILD" --target shell_screenshots language_files
xvfb-run -a -s "-screen 0 1280x800x24" \
    env QT_QPA_PLATFORM=xcb ASAN_OPTIONS=detect_leaks=0 \
    "$BUILD/tests/shell_screenshots" docs/screenshots "$BUILD/bin" \
    "$CORPUS/edr_Test10x10000.xls" "$CORPUS/edr_TestUnicodeChars.xls" "$CORPUS/cal_any_sheets.xls"
