#!/bin/sh
# `make run` without a display stops at once with the French explanation, before the set-up,
# the build or the install have done anything.
# Usage: make_run_without_display_test.sh SOURCE_DIR WORK_DIR
set -u
source_dir=$1
work=$2
rm -rf "$work"
mkdir -p "$work"
if env -u DISPLAY -u WAYLAND_DISPLAY make -s -C "$source_dir" run BUILD_DIR="$work/build" \
    PROGRAM_DIR="$work/Talo" >"$work/out.txt" 2>&1; then
    echo "make run succeeded without a display" >&2
    exit 1
fi
cat "$work/out.txt"
grep -q "aucun écran n'est disponible" "$work/out.txt" || { echo "no French message" >&2; exit 1; }
grep -q "Sans écran" "$work/out.txt" || { echo "the README's section is not named" >&2; exit 1; }
if [ -e "$work/build" ] || [ -e "$work/Talo" ]; then
    echo "something was built or installed" >&2
    exit 1
fi
