#!/bin/sh
# Installs every Debian package that building, running and testing Celltrove
# need. Does nothing when they are all present, so it can run before every build.
# With --fuzz, also clang and its libFuzzer runtime (make fuzz).
set -eu

BUILD_PKGS="cmake g++ make pkg-config qt6-base-dev qt6-5compat-dev libgsf-1-dev libgtest-dev libgmock-dev qt6-translations-l10n dpkg-dev"
TEST_PKGS="libreoffice-calc-nogui libreoffice-writer-nogui python3-uno gnumeric python3-xlrd antiword catdoc xvfb xauth desktop-file-utils appstream locales openbox translate-toolkit omegat libapache-poi-java openjdk-17-jdk-headless"

FUZZ_PKGS=""
[ "${1:-}" = "--fuzz" ] && FUZZ_PKGS="clang libclang-rt-14-dev"

missing=""
for pkg in $BUILD_PKGS $TEST_PKGS $FUZZ_PKGS; do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $pkg"
    fi
done

[ -z "$missing" ] && exit 0

echo "Installing:$missing"
if [ "$(id -u)" -eq 0 ]; then
    SUDO=""
else
    SUDO="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
# shellcheck disable=SC2086
$SUDO apt-get install -y -q --no-install-recommends $missing
