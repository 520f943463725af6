#!/bin/sh
# Round-trip benchmark: LibreOffice workbooks of 1,000, 10,000 and 65,000 rows x
# 10 text cells (10,000 / 100,000 / 650,000 cells) are exported by celltrove-cli,
# and the tagged document is imported into its workbook twice, then a translation
# of it (every cell text changed) twice. Each step prints its time, peak memory
# and the workbook's size after it; a second import of the same document must
# leave the size where the first left it.
# Usage: bench/roundtrip_bench.sh BUILD_DIR [GRID_DIR]
#   BUILD_DIR configured with -DCELLTROVE_BENCH=ON; GRID_DIR keeps the
#   LibreOffice workbooks gridROWS.xls between runs (made when missing).
set -eu
build=$(cd "${1:?build dir}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
grids=${2:-$work}
export LC_ALL=C.UTF-8 XDG_CONFIG_HOME="$work/config"

step() {  # step NAME DIR COMMAND...: time, peak memory, workbook size after
    name=$1 dir=$2
    shift 2
    # What the step before wrote goes to disk first: a step's own figures should
    # not carry the writing back of the previous step's files.
    sync
    figures=$(cd "$dir" && /usr/bin/time -f "%e s, CPU %U+%S s, peak %M KiB" "$@" 2>&1 >/dev/null | tail -1)
    printf "  %-14s %s, workbook %s bytes\n" "$name" "$figures" "$(stat -c %s "$dir/$book")"
}

for rows in 1000 10000 65000; do
    book="grid$rows.xls"
    [ -f "$grids/$book" ] || /usr/bin/python3 "$here/../tests/fixtures/export/make_fixtures.py" "$grids" "$rows" 10 "$book"
    mkdir "$work/$rows"
    cp "$grids/$book" "$work/$rows/"
    echo "== $rows x 10 cells, workbook $(stat -c %s "$work/$rows/$book") bytes"
    step export "$work/$rows" "$build/bin/celltrove-cli" export "$book"
    doc="Text_$book-1.rtf"
    echo "  (document $(stat -c %s "$work/$rows/$doc") bytes)"
    step import "$work/$rows" "$build/bin/celltrove-cli" import "$doc"
    step "second import" "$work/$rows" "$build/bin/celltrove-cli" import "$doc"
    # A translation: every cell text changed ("Spalte" stands in each of them,
    # in no marker), imported, then imported once more.
    sed 's/Spalte/Colonna/g' "$work/$rows/$doc" >"$work/$rows/translated.rtf"
    mv "$work/$rows/translated.rtf" "$work/$rows/$doc"
    step "translated" "$work/$rows" "$build/bin/celltrove-cli" import "$doc"
    step "again" "$work/$rows" "$build/bin/celltrove-cli" import "$doc"
done
