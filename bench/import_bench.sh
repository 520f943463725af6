#!/bin/sh
# Import benchmark: tagged documents of 1,000, 10,000 and 65,000 rows x 10
# cells (10,000 / 100,000 / 650,000 markers), each imported in its own process.
# Usage: bench/import_bench.sh BUILD_DIR (configured with -DCELLTROVE_BENCH=ON)
set -eu
build=${1:?build dir}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

for rows in 1000 10000 65000; do
    "$build/bin/import_bench" make "$rows" "$work/Text_Mappe.xls-1.rtf"
    echo "== $rows x 10 cells"
    "$build/bin/import_bench" run "$work/Text_Mappe.xls-1.rtf"
done
