#!/bin/sh
# Export benchmark: makes LibreOffice workbooks of 1,000 x 10, 10,000 x 10 and
# 65,000 x 10 cells, times our export on each, and compares the largest with
# ssconvert and soffice converting the same file to CSV.
# Usage: bench/export_bench.sh BUILD_DIR (configured with -DCELLTROVE_BENCH=ON)
set -eu
build=${1:?build dir}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

for rows in 1000 10000 65000; do
    /usr/bin/python3 "$here/../tests/fixtures/export/make_fixtures.py" "$work" "$rows" 10 "grid$rows.xls"
done

echo "== celltrove export"
"$build/bin/export_bench" "$work/grid1000.xls"
"$build/bin/export_bench" "$work/grid10000.xls"
"$build/bin/export_bench" "$work/grid65000.xls"

echo "== celltrove-cli export, whole process (three runs)"
mkdir "$work/cli"
cp "$work/grid65000.xls" "$work/cli/"
for run in 1 2 3; do
    rm -f "$work/cli/"*.rtf
    /usr/bin/time -f "%e s, peak %M KiB" "$build/bin/celltrove-cli" export "$work/cli/grid65000.xls" 2>&1 >/dev/null | tail -1
done

echo "== ssconvert to csv"
/usr/bin/time -f "%e s, peak %M KiB" ssconvert "$work/grid65000.xls" "$work/ss.csv" 2>&1 | tail -1

echo "== soffice --convert-to csv"
/usr/bin/time -f "%e s, peak %M KiB" soffice --headless -env:UserInstallation=file://$work/profile \
    --convert-to csv --outdir "$work/so" "$work/grid65000.xls" 2>&1 | tail -1
