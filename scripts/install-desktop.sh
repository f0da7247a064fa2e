#!/bin/sh
# Puts the program installed in PROGRAM_DIR on the user's desktop: a menu entry that starts it
# in its program directory, its icon at every size of the icon theme, and its AppStream
# metainfo. Each file is checked with the desktop's own validators before it is installed.
# Usage: install-desktop.sh PROGRAM_DIR BUILD_DIR
set -eu
program_dir=$(cd "$1" && pwd)
build_dir=$2
source_dir=$(cd "$(dirname "$0")/.." && pwd)
id=fr.talo.Talo
data=${XDG_DATA_HOME:-$HOME/.local/share}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The desktop entry's Path and Exec take the folder as it is; only "%" needs escaping there.
escaped=$(printf '%s' "$program_dir" | sed 's/[\\&|]/\\&/g; s/%/%%/g')
sed -e "s|@PROGRAM_DIR@|$escaped|" -e "s|@PROGRAM@|$escaped/talo|" \
    "$source_dir/resources/desktop/$id.desktop.in" > "$work/$id.desktop"
desktop-file-validate "$work/$id.desktop"
# The metainfo is made by the build, which writes the program's version into it.
appstreamcli validate --no-net "$build_dir/$id.metainfo.xml"

"$build_dir/src/talo-icons" "$work/icons" "$id"
mkdir -p "$data/applications" "$data/metainfo" "$data/icons/hicolor/scalable/apps"
cp -r "$work/icons/." "$data/icons/hicolor/"
cp "$source_dir/resources/desktop/talo.svg" "$data/icons/hicolor/scalable/apps/$id.svg"
cp "$build_dir/$id.metainfo.xml" "$data/metainfo/"
install -m 644 "$work/$id.desktop" "$data/applications/$id.desktop"
# Menus notice the new entry at once where the tool is there.
command -v update-desktop-database >/dev/null && update-desktop-database -q "$data/applications" || true
echo "Talo 3.0 est dans le menu des applications ($data/applications/$id.desktop)."
