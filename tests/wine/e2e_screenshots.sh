#!/bin/bash
# The screenshot command (scripts/dialog_shots) produces its pictures: the
# Setting, About and Shut Down dialogs, the desktop once the dialog is
# cancelled, the tray menu, the desktop with a stand-in, and the installer's
# and the uninstaller's pages, as PNG files of the virtual desktop's size;
# those of a dialog, the menu or a window show more than an empty desktop.
#   e2e_screenshots.sh BUILD-DIR   (the pictures stay in BUILD-DIR/screenshots)
set -euo pipefail
build=$(cd "$1" && pwd)
out=$build/screenshots
rm -rf "$out"
bash "$(dirname "$0")/screenshots.sh" "$build" "$out"
fail() {
    echo "[e2e screenshots] FAIL: $*" >&2
    exit 1
}
names=(setting about shutdown shutdown_cancelled tray_menu desktop installer_welcome
    installer_license installer_directory installer_finish uninstaller)
for name in "${names[@]}"; do
    f=$out/$name.png
    [ -s "$f" ] || fail "$name.png was not produced"
    [ "$(head -c 8 "$f" | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] || fail "$name.png is not a PNG file"
    size=$(/usr/bin/identify -format '%wx%h' "$f")
    [ "$size" = 1024x768 ] || fail "$name.png is $size, not 1024x768"
    [ "$name" = shutdown_cancelled ] && continue
    colours=$(/usr/bin/identify -format '%k' "$f")
    [ "$colours" -ge 24 ] || fail "$name.png has only $colours colours: nothing but the desktop?"
done
echo "[e2e screenshots] PASS: ${#names[@]} screenshots in $out"
