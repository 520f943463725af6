#!/bin/sh
# Tool benchmark: joins 25, 50 and 100 tagged documents of 6,500 cells (650 x 10)
# and splits the result, then times the tagged export of the same number of
# cells (65,000 x 10) for comparison.
# Usage: bench/tool_bench.sh BUILD_DIR (configured with -DCELLTROVE_BENCH=ON)
set -eu
build=${1:?build dir}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

for rows in 650 65000; do
    /usr/bin/python3 "$here/../tests/fixtures/export/make_fixtures.py" "$work" "$rows" 10 "grid$rows.xls"
done
"$build/bin/celltrove-cli" export "$work/grid650.xls" >/dev/null

echo "== join and split (one process per line)"
for count in 25 50 100; do
    "$build/bin/tool_bench" "$work/Text_grid650.xls-1.rtf" "$count"
done

echo "== tagged export of 65,000 x 10 (bench, then the CLI's whole process with its CPU time)"
"$build/bin/export_bench" "$work/grid65000.xls"
mkdir "$work/cli"
cp "$work/grid65000.xls" "$work/cli/"
/usr/bin/time -f "%e s, cpu %U+%S s, peak %M KiB" "$build/bin/celltrove-cli" export "$work/cli/grid65000.xls" 2>&1 >/dev/null | tail -1
