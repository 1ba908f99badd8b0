#!/bin/bash
# Saves PNG screenshots of RemoteControl.exe under Wine's virtual desktop
# (1024x768, where every dialog has its fixed place at 350, 300):
#   setting.png             the Setting dialog
#   about.png               the About dialog
#   shutdown.png            the Shut Down dialog, opened with the remote's 1-3 button
#   shutdown_cancelled.png  the desktop after another button has cancelled it
#   tray_menu.png           the tray icon's menu while the current application
#                           (the Pallamo stand-in) runs: its item is checked
#   desktop.png             the Pallamo stand-in after a few buttons
#   monitor.png             the button monitor (tray menu command 1301) with
#                           those presses
#   key_maps.png            the Key maps dialog (command 1303) on a file of
#                           two programs, with the row of the volup just pressed
#   osd.png                 the on-screen display over it ("Show buttons on
#                           screen" switched on from the tray menu's command)
#   installer_welcome.png   the build's installer: its welcome page,
#   installer_license.png   the licence,
#   installer_directory.png the folder,
#   installer_finish.png    and the last page, once it has replaced the
#                           running program
#   uninstaller.png         the uninstaller's first page ("Remove my settings")
# E2E_DPI sets the screen's DPI (default 96).
#   screenshots.sh BUILD-DIR OUT-DIR        (scripts/dialog_shots calls it)
set -euo pipefail
. "$(dirname "$0")/e2e_lib.sh"
build=$1
out=$(mkdir -p "$2" && cd "$2" && pwd)
e2e_init "$build" screenshots 240
e2e_install
e2e_settings DBM=1 Default44keyIR=3 DefaultTVAPP=2 DefaultLaunchAp=1
e2e_tuner plug af9015 >/dev/null
e2e_start_product

main="Remote Control"
dialog() {  # command title file
    e2e_probe post "$main" - 273 "$1" 0 || e2e_fail "cannot reach the main window"
    e2e_probe wait '#32770' "$2" 15000 || e2e_fail "the dialog \"$2\" did not open"
    sleep 1.5
    e2e_screenshot "$out/$3" || e2e_fail "screenshot $3 failed"
    e2e_probe post '#32770' "$2" 273 2 0
    e2e_probe waitgone '#32770' "$2" 15000 || e2e_fail "the dialog \"$2\" did not close"
}
dialog 32 "Remote Control - Setting" setting.png
dialog 30 "Remote Control - About" about.png

e2e_tuner press shutdown >/dev/null
e2e_probe wait '#32770' 'Remote Control - Shut Down' 15000 || e2e_fail "the Shut Down dialog did not open"
sleep 1.5
e2e_screenshot "$out/shutdown.png" || e2e_fail "screenshot shutdown.png failed"
e2e_tuner press ok >/dev/null
e2e_probe waitgone '#32770' 'Remote Control - Shut Down' 15000 || e2e_fail "the Shut Down dialog stayed open"
sleep 1
e2e_screenshot "$out/shutdown_cancelled.png" || e2e_fail "screenshot shutdown_cancelled.png failed"

# The menu opens where the pointer is: over the notification area, as after a
# click on the icon.
e2e_start_app Quillet.exe
e2e_probe setcursor $((${E2E_SIZE%x*} - 24)) $((${E2E_SIZE#*x} - 12)) || true
e2e_probe post "$main" - 1001 10 516 || e2e_fail "cannot reach the main window"
e2e_probe wait '#32768' - 15000 || e2e_fail "the tray menu did not open"
# Away from the icon, whose tooltip would cover the menu.
e2e_probe setcursor 100 100 || true
sleep 1.5
e2e_screenshot "$out/tray_menu.png" || e2e_fail "screenshot tray_menu.png failed"
e2e_probe keys 27 || true
e2e_probe waitgone '#32768' - 5000 || true

for b in num1 up ok; do
    e2e_tuner press "$b" >/dev/null
    sleep 0.8
done
sleep 1
e2e_screenshot "$out/desktop.png" || e2e_fail "screenshot desktop.png failed"

e2e_probe post "$main" - 273 1301 0 || e2e_fail "cannot reach the main window"
e2e_probe wait "Remote Control Monitor" - 15000 || e2e_fail "the button monitor did not open"
sleep 1.5
e2e_screenshot "$out/monitor.png" || e2e_fail "screenshot monitor.png failed"
e2e_probe post "Remote Control Monitor" - 16 0 0 || true
e2e_probe waitgone "Remote Control Monitor" - 15000 || e2e_fail "the button monitor did not close"
e2e_user_file <<'EOF'
; Remote Control's applications
[VLC]
Exe = vlc.exe
play = keys Space        ; play / pause
volup = keys Ctrl+Up
voldown = keys Ctrl+Down
Repeat = volup voldown
[Viewer]
Class = ViewerFrame
ok = appcommand MEDIA_PLAY_PAUSE
EOF
e2e_probe post "$main" - 273 1303 0 || e2e_fail "cannot reach the main window"
e2e_probe wait "Remote Control Key Maps" - 15000 || e2e_fail "the Key maps dialog did not open"
sleep 1
e2e_tuner press volup >/dev/null
sleep 1.5
e2e_screenshot "$out/key_maps.png" || e2e_fail "screenshot key_maps.png failed"
e2e_probe post "Remote Control Key Maps" - 273 2 0 || true
e2e_probe waitgone "Remote Control Key Maps" - 15000 || e2e_fail "the Key maps dialog did not close"
e2e_probe post "$main" - 273 1302 0 || e2e_fail "cannot reach the main window"
sleep 0.5
e2e_tuner press volup >/dev/null
e2e_wait 10 e2e_probe visible "Remote Control OSD" - || e2e_fail "the on-screen display did not show"
sleep 0.3
e2e_screenshot "$out/osd.png" || e2e_fail "screenshot osd.png failed"

# The installer, over the running program (installed where the installer
# installs it), then the uninstaller. Every page after the first has the same
# title; the clicks are posted (WM_COMMAND 1 is Next, 2 Cancel).
setup=$(cd "$E2E_BUILD" && ls RemoteControl-*-setup.exe 2>/dev/null | head -n1)
[ -n "$setup" ] || e2e_fail "no installer in $E2E_BUILD (is makensis installed?)"
cp "$E2E_BUILD/$setup" "$WINEPREFIX/drive_c/rc_tools/"
page() {  # title file [next]
    sleep 1.5
    e2e_screenshot "$out/$2" || e2e_fail "screenshot $2 failed"
    [ -z "${3:-}" ] || e2e_probe post '#32770' - 273 1 0 || e2e_fail "cannot click Next on $2"
}
e2e_in_desktop setup "$(e2e_winpath "rc_tools/$setup")"
e2e_probe wait '#32770' 'Remote Control Setup' 30000 || e2e_fail "the installer did not open"
page "" installer_welcome.png next
page "" installer_license.png next
page "" installer_directory.png next
e2e_wait 60 test -f "$WINEPREFIX/drive_c/$E2E_PRODUCT_DIR/uninstall.exe" ||
    e2e_fail "the installer did not install"
e2e_probe waitgone "$main" - 15000 || e2e_fail "the installer did not end the running program"
page "" installer_finish.png
# Finish, with "Start Remote Control now" ticked.
e2e_probe post '#32770' - 273 1 0 || true
e2e_probe waitgone '#32770' - 15000 || e2e_fail "the installer did not close"
e2e_probe wait "$main" - 30000 || e2e_fail "the finish page did not start the program"

e2e_in_desktop uninstall "$(e2e_winpath "$E2E_PRODUCT_DIR/uninstall.exe")"
e2e_probe wait '#32770' - 30000 || e2e_fail "the uninstaller did not open"
page "" uninstaller.png
e2e_probe post '#32770' - 273 2 0 || true
e2e_probe waitgone '#32770' - 15000 || e2e_fail "the uninstaller did not close"
e2e_log "screenshots in $out: $(cd "$out" && ls ./*.png | tr '\n' ' ')"
e2e_pass "screenshots"
