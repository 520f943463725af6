#!/bin/sh
# Import benchmark: LibreOffice workbooks of 1,000, 10,000 and 65,000 rows x 10
# text cells are exported by celltrove-cli; each document (10,000 / 100,000 /
# 650,000 markers) is imported back into its workbook, which is saved, timed
# with /usr/bin/time. import_bench then runs the same documents into an
# in-memory workbook, which shows the document side alone.
# Usage: bench/import_bench.sh BUILD_DIR [GRID_DIR]
#   BUILD_DIR configured with -DCELLTROVE_BENCH=ON; GRID_DIR keeps the
#   LibreOffice workbooks gridROWS.xls between runs (made when missing).
set -eu
build=${1:?build dir}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
grids=${2:-$work}
export LC_ALL=C.UTF-8 XDG_CONFIG_HOME="$work/config"

for rows in 1000 10000 65000; do
    book="grid$rows.xls"
    [ -f "$grids/$book" ] || /usr/bin/python3 "$here/../tests/fixtures/export/make_fixtures.py" "$grids" "$rows" 10 "$book"
    mkdir "$work/$rows"
    cp "$grids/$book" "$work/$rows/"
    (cd "$work/$rows" && "$build/bin/celltrove-cli" export "$book" >/dev/null)
    doc="Text_$book-1.rtf"
    echo "== $rows x 10 cells: $(du -k "$work/$rows/$doc" | cut -f1) KiB document"
    echo "celltrove-cli import (document and workbook save):"
    (cd "$work/$rows" && /usr/bin/time -f "  %e s elapsed, %U s user, %S s system, peak %M KiB" \
        "$build/bin/celltrove-cli" import "$doc" >/dev/null)
    grep "Zellen importiert" "$work/$rows/Celltrove4Excel-Import.log" | sed 's/^/  /'
    echo "import_bench (in-memory workbook):"
    "$build/bin/import_bench" run "$work/$rows/$doc" | sed 's/^/  /'
done
