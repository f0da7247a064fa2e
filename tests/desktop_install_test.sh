#!/bin/sh
# What `make run` puts on the desktop, installed into a data folder of the test's own: the
# files validated, the icons drawn, and the metainfo announcing the version the program says.
# Usage: desktop_install_test.sh WORK_DIR INSTALL_SCRIPT BUILD_DIR TALO
set -eu
work=$1
rm -rf "$work"
mkdir -p "$work"
XDG_DATA_HOME="$work/share" "$2" "$work" "$3"
test -f "$work/share/icons/hicolor/256x256/apps/fr.talo.Talo.png"
version=$(DISPLAY= WAYLAND_DISPLAY= "$4" --version | sed -n 's/^Talo //p')
test -n "$version"
if ! grep -q "<release version=\"$version\"" "$work/share/metainfo/fr.talo.Talo.metainfo.xml"; then
    echo "the metainfo does not announce version $version" >&2
    exit 1
fi
