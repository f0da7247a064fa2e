#!/bin/sh
# Installs every Debian package that the build, the program and the tests need.
# Does nothing when all of them are already present.
set -eu

# What the build and the program need (the desktop entry is validated when `make run` installs it).
PROGRAM_PACKAGES="cmake make g++ qt6-base-dev qt6-translations-l10n libsqlite3-dev fonts-liberation2 \
libcups2-dev \
qt6-charts-dev qt6-pdf-dev libqpdf-dev libqt6opengl6-dev pxlib-dev libofx-dev libsodium-dev desktop-file-utils appstream"
# What the tests and benchmarks need; the end-to-end suite (tests/e2e) drives the program in
# Xvfb with openbox through xdotool and xclip, reads windows with x11-utils and tables with sqlite3,
# listens to it as a screen reader does through AT-SPI on a D-Bus session bus of its own, and
# shows it in the desktop's dark GTK theme.
TEST_PACKAGES="xvfb xauth xdotool imagemagick poppler-utils cups printer-driver-cups-pdf \
libbenchmark-dev openbox xclip x11-utils sqlite3 python3 \
dbus-daemon at-spi2-core python3-pyatspi qt6-gtk-platformtheme"
PACKAGES="$PROGRAM_PACKAGES $TEST_PACKAGES"

missing=""
for p in $PACKAGES; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $p"
    fi
done
[ -z "$missing" ] && exit 0

echo "Paquets Debian à installer :$missing"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then
    # A Debian installed with a root password has no sudo: say what to do rather than fail.
    if ! command -v sudo >/dev/null; then
        cat >&2 <<TEXT
Ces paquets Debian manquent :$missing
sudo n'est pas installé : installez-les en root avec
    su -c ./scripts/setup.sh
puis relancez la commande sous votre nom.
TEXT
        exit 1
    fi
    SUDO="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update
# shellcheck disable=SC2086
$SUDO apt-get install -y --no-install-recommends $missing
