#!/bin/sh
# Takes the pictures of docs/screenshots/ on a virtual X display with a window manager,
# in a German locale, in a demo home folder of its own: a private mount namespace puts
# an empty file system over /home, so the folder tree shows that home and nothing of
# this machine. Needs root (for the namespace and, once, the locale), the test build
# (make build-test) and the shared corpus beside the project.
set -eu
cd "$(dirname "$0")/.."
BUILD=build/test
CORPUS=../shared/corpus/xls

if ! locale -a | grep -qi '^de_DE\.utf-\?8$'; then
    localedef -i de_DE -f UTF-8 de_DE.UTF-8
fi
cmake --build "$BUILD" --target shell_screenshots language_files

HERE=$(pwd)
exec unshare --mount --propagation private sh -eu -c '
    mount -t tmpfs -o size=256m,mode=0755 demo /home
    mkdir -p /home/anna /home/.demo
    # The about box names the logged-on user: the demo translator, not this machine'"'"'s.
    sed "s/^[^:]*:\([^:]*:$(id -u):\)/anna:\1/" /etc/passwd >/home/.demo/passwd
    mount --bind /home/.demo/passwd /etc/passwd
    cd "$1"
    HOME=/home/anna LANG=de_DE.UTF-8 LC_ALL=de_DE.UTF-8 xvfb-run -a -s "-screen 0 1280x800x24" \
        sh -c "openbox & sleep 1; env QT_QPA_PLATFORM=xcb ASAN_OPTIONS=detect_leaks=0 \
            \"$2/tests/shell_screenshots\" docs/screenshots \"$2/bin\" /home/anna \
            \"$3/edr_Test10x10000.xls=Zubehörkatalog.xls\" \
            \"$3/edr_TestUnicodeChars.xls=Produktnamen international.xls\" \
            \"$3/cal_any_sheets.xls=Lieferbedingungen.xls\" \
            tests/fixtures/export/export-basic.xls=Preisliste\ Frühjahr.xls"
' screenshots "$HERE" "$BUILD" "$CORPUS"
