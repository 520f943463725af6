#!/bin/sh
# XLIFF benchmark: the 65,000 x 10 LibreOffice workbook (650,000 text cells)
# exported as tagged RTF and as XLIFF, and each imported back, in one run
# (whole celltrove-cli process: wall time, CPU and peak memory). The XLIFF is
# imported twice: with every target changed (every cell written, as the RTF
# import writes every cell) and unchanged (read and compared, nothing written).
# Usage: bench/xliff_bench.sh BUILD_DIR [GRID_DIR]
#   BUILD_DIR: a Release build with celltrove-cli; GRID_DIR keeps grid65000.xls.
set -eu
build=$(cd "${1:?build dir}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
grids=$(cd "${2:-$work}" && pwd)
export LC_ALL=C.UTF-8 XDG_CONFIG_HOME="$work/config"
book=grid65000.xls
[ -f "$grids/$book" ] || /usr/bin/python3 "$here/../tests/fixtures/export/make_fixtures.py" "$grids" 65000 10 "$book"

timed() {
    label=$1
    shift
    printf '%-34s ' "$label"
    /usr/bin/time -f "%e s elapsed, %U s user, %S s system, peak %M KiB" "$@" 2>&1 >/dev/null | tail -1
}

for way in rtf xliff xliff-same; do
    mkdir "$work/$way"
    cp "$grids/$book" "$work/$way/"
done
cd "$work/rtf"
timed "export --format rtf" "$build/bin/celltrove-cli" export --format rtf "$book"
cd "$work/xliff"
timed "export --format xliff" "$build/bin/celltrove-cli" export --format xliff "$book"
cp "Text_$book.xlf" "$work/xliff-same/"
echo "  $(du -k "$work/rtf/Text_$book-1.rtf" | cut -f1) KiB RTF, $(du -k "Text_$book.xlf" | cut -f1) KiB XLIFF"
/usr/bin/python3 "$here/../tests/export/xliff_translate.py" "Text_$book.xlf" "Text_$book.xlf"

cd "$work/rtf"
timed "import RTF (every cell written)" "$build/bin/celltrove-cli" import "Text_$book-1.rtf"
cd "$work/xliff"
timed "import XLIFF (every target new)" "$build/bin/celltrove-cli" import "Text_$book.xlf"
grep "Zellen importiert" Celltrove4Excel-Import.log | sed 's/^/  /'
cd "$work/xliff-same"
timed "import XLIFF (targets unchanged)" "$build/bin/celltrove-cli" import "Text_$book.xlf"
grep "Unverändert" Celltrove4Excel-Import.log | sed 's/^/  /'
