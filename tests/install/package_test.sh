#!/bin/sh
# Builds the Debian package of a build tree, unpacks it into a temporary root with
# dpkg -x and checks the installed files and programs there:
#   package_test.sh BUILD_DIR SOURCE_DIR
set -eu
BUILD=$1
SOURCE=$2
TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT
fail() {
    echo "FAILED: $*" >&2
    exit 1
}

cd "$BUILD"
cpack -G DEB -B "$TMP/pkg" >"$TMP/cpack.log" 2>&1 || { cat "$TMP/cpack.log"; fail "cpack"; }
DEB=$(ls "$TMP"/pkg/celltrove_*.deb)
dpkg-deb --field "$DEB" Depends | grep -q 'libqt6widgets6' || fail "no Qt in Depends: $(dpkg-deb --field "$DEB" Depends)"
dpkg-deb --field "$DEB" Depends | grep -q 'libgsf-1' || fail "no libgsf in Depends"
dpkg -x "$DEB" "$TMP/root"
USR=$TMP/root/usr
ID=org.celltrove.Celltrove
for f in bin/celltrove bin/celltrove-cli share/celltrove/lng/English.lng share/celltrove/lng/deutsch.lng \
    share/applications/$ID.desktop share/metainfo/$ID.metainfo.xml share/icons/hicolor/scalable/apps/$ID.svg \
    share/icons/hicolor/16x16/apps/$ID.png share/icons/hicolor/48x48/apps/$ID.png \
    share/icons/hicolor/256x256/apps/$ID.png share/man/man1/celltrove.1 share/man/man1/celltrove-cli.1; do
    [ -f "$USR/$f" ] || fail "not installed: $f"
done
desktop-file-validate "$USR/share/applications/$ID.desktop" || fail "desktop file"
appstreamcli validate --no-net "$USR/share/metainfo/$ID.metainfo.xml" >"$TMP/appstream.log" 2>&1 ||
    { cat "$TMP/appstream.log"; fail "metainfo"; }

# The installed command-line program, with its settings and language from a home of its own:
# English.lng must come from share/celltrove/lng.
export HOME="$TMP/home" XDG_CONFIG_HOME="$TMP/home/.config"
mkdir -p "$XDG_CONFIG_HOME/CellTroveExcel" "$TMP/work"
printf '[Tools]\nLanguage=English\n' >"$XDG_CONFIG_HOME/CellTroveExcel/CellTroveExcel.ini"
"$USR/bin/celltrove-cli" --version | grep -q '^Celltrove für Excel [0-9.]* Build [0-9]*$' || fail "--version"
cp "$SOURCE/tests/fixtures/export/export-basic.xls" "$TMP/work/"
"$USR/bin/celltrove-cli" export "$TMP/work/export-basic.xls" >"$TMP/export.out" 2>&1 ||
    { cat "$TMP/export.out"; fail "export"; }
[ -s "$TMP/work/Text_export-basic.xls-1.rtf" ] || fail "no exported document"
head -n 1 "$TMP/work/Celltrove4Excel-Export.log" | grep -q '^Celltrove for Excel - Build' ||
    fail "log not in English: $(head -n 1 "$TMP/work/Celltrove4Excel-Export.log")"

# The installed desktop program: still running after a few seconds means it came up.
set +e
QT_QPA_PLATFORM=offscreen timeout 4 "$USR/bin/celltrove" >"$TMP/gui.log" 2>&1
status=$?
set -e
[ "$status" -eq 124 ] || { cat "$TMP/gui.log"; fail "celltrove ended with status $status"; }
echo "package $(basename "$DEB") installs and runs"
