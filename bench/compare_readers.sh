#!/bin/sh
# Reads one workbook with our engine and with the reference programs, printing
# wall time, CPU time and peak memory of each (GNU time: %e, %U+%S, %M).
#   bench/compare_readers.sh BUILD_DIR FILE.xls
set -eu
build=$1
file=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
measure() {
    label=$1
    shift
    /usr/bin/time -f "$label	%e s	%U+%S s	%M KB" "$@" >/dev/null 2>"$tmp/time" || true
    tail -n 1 "$tmp/time"
}
echo "reader	wall	CPU user+sys	peak RSS"
measure "celltrove (1 round)" "$build/bin/bench_read_workbook" "$file" 1
measure "xlrd, every cell" /usr/bin/python3 -c "
import sys, xlrd
b = xlrd.open_workbook(sys.argv[1])
n = 0
for s in b.sheets():
    for r in range(s.nrows):
        for c in range(s.ncols):
            v = s.cell_value(r, c); n += 1
" "$file"
measure "ssconvert to CSV" ssconvert --export-type=Gnumeric_stf:stf_csv "$file" "$tmp/out.csv"
measure "soffice to CSV" soffice --headless "-env:UserInstallation=file://$tmp/profile" --convert-to csv --outdir "$tmp" "$file"
