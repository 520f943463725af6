#!/bin/sh
# Writes and reads .doc files of both export forms at a quarter and at full size
# (65,000 x 10 table form, 650,000-paragraph list form), each step in its own
# process, and times LibreOffice converting the same RTF to .doc (stopped after
# LO_LIMIT seconds, 900 unless set: its table import slows down with size).
#   bench/doc_format_bench.sh build/bench [folder] [cases...]
set -e
BIN="$1/bin/doc_format_bench"
DIR="${2:-$(mktemp -d)}"
shift 2 || shift $#
CASES="${*:-table:16250 table:65000 list:162500 list:650000}"
LIMIT="${LO_LIMIT:-900}"
PROFILE="$DIR/lo-profile"
mkdir -p "$DIR/lo-out"
for case in $CASES; do
    set -- $(echo "$case" | tr ':' ' ')
    out="$DIR/$1-$2"
    "$BIN" write "$1" "$2" "$out"
    /usr/bin/time -f "  (read process: %e s, %M KB peak)" "$BIN" read "$out.doc"
    /usr/bin/time -o "$DIR/soffice-time" -f "soffice --convert-to doc $1 $2: %e s, %M KB peak (exit %x)" \
        timeout "$LIMIT" soffice --headless "-env:UserInstallation=file://$PROFILE" --convert-to doc \
        --outdir "$DIR/lo-out" "$out.rtf" >/dev/null 2>&1 || echo "  soffice stopped after $LIMIT s"
    cat "$DIR/soffice-time"
done
