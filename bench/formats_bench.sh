#!/bin/sh
# Export formats benchmark: times celltrove-cli export in every format on
# LibreOffice workbooks of 10,000 x 10 and 65,000 x 10 cells (whole process,
# wall time and peak memory), and ssconvert converting the larger one to CSV and
# to HTML in the same run.
# Usage: bench/formats_bench.sh BUILD_DIR (a Release build with celltrove-cli)
set -eu
build=${1:?build dir}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

for rows in 10000 65000; do
    /usr/bin/python3 "$here/../tests/fixtures/export/make_fixtures.py" "$work" "$rows" 10 "grid$rows.xls"
done

for rows in 10000 65000; do
    echo "== celltrove-cli export, grid$rows.xls"
    for format in rtf tables doc txt unicode html; do
        dir="$work/$format$rows"
        mkdir "$dir"
        cp "$work/grid$rows.xls" "$dir/"
        printf '%-8s ' "$format"
        /usr/bin/time -f "%e s, peak %M KiB" "$build/bin/celltrove-cli" export --format "$format" \
            "$dir/grid$rows.xls" 2>&1 >/dev/null | tail -1
        rm -rf "$dir"
    done
done

echo "== ssconvert grid65000.xls to csv"
/usr/bin/time -f "%e s, peak %M KiB" ssconvert "$work/grid65000.xls" "$work/ss.csv" 2>&1 | tail -1
echo "== ssconvert grid65000.xls to html (Gnumeric_html:html40)"
/usr/bin/time -f "%e s, peak %M KiB" ssconvert --export-type=Gnumeric_html:html40 "$work/grid65000.xls" \
    "$work/ss.html" 2>&1 | tail -1
