#!/bin/sh
# Installs every Debian package that the build, the program and the tests need.
# Does nothing when all of them are already present.
set -eu

PACKAGES="cmake make g++ qt6-base-dev qt6-translations-l10n libsqlite3-dev fonts-liberation2 \
xvfb xauth xdotool imagemagick poppler-utils cups printer-driver-cups-pdf libbenchmark-dev libcups2-dev"

missing=""
for p in $PACKAGES; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $p"
    fi
done
[ -z "$missing" ] && exit 0

echo "Installing:$missing"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then
    SUDO="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update
# shellcheck disable=SC2086
$SUDO apt-get install -y --no-install-recommends $missing
