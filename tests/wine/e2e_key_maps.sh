#!/bin/bash
# The Key maps dialog: the tray menu's command 1303 opens it in front; a
# press of the remote then selects that button's row and reaches no
# program; an edit dropped with Close leaves the file as it was; the button
# given keys and a chord, and saved, changes its one line of the file and
# reaches the stand-in player as that chord at its next press.
#   e2e_key_maps.sh BUILD-DIR
# AF9015 stick, 32KEY layout: ok is KeyCode 18.
set -euo pipefail
. "$(dirname "$0")/e2e_lib.sh"
e2e_init "$1" key_maps 240
e2e_install
e2e_settings DBM=1 Default44keyIR=3 DefaultTVAPP=2 DefaultLaunchAp=0
e2e_user_file <<'EOF'
; the stand-in player
[Player]
Exe = player.exe
ok = appcommand VOLUME_UP
EOF
e2e_tuner plug af9015 >/dev/null
e2e_start_product
e2e_start_app player.exe

main="Remote Control"
dialog="Remote Control Key Maps"
# The controls' ids (shell/key_maps.h): the buttons' list, the kind, the
# hotkey control; Save is IDOK, Close IDCANCEL.
list_id=215
kind_id=217
chord_id=219
e2e_probe post "$main" - 273 1303 0 || e2e_fail "cannot reach the main window"
e2e_probe wait "$dialog" - 15000 || e2e_fail "command 1303 opened no Key maps window"
in_front() { e2e_probe foreground | grep -q "class=\"$dialog\""; }
e2e_wait 15 in_front || e2e_fail "the Key maps window is not in front"
title() { e2e_probe info "$dialog" - | tr -d '\r' | sed -n 's/.* text="\(.*\)"$/\1/p'; }
[ "$(title)" = "Key maps" ] || e2e_fail "the window's title is '$(title)'"

# A press while it is in front: the row, and nothing sent.
selected() { e2e_probe sendid "$dialog" - $list_id 4108 -1 2 | tr -d '\r'; }  # LVM_GETNEXTITEM
before=$(selected)
e2e_tuner press ok >/dev/null
e2e_wait 15 e2e_traced 'Press: ok: Key maps: ok selected' || e2e_fail "the press of ok selected no row"
[ "$(selected)" != "$before" ] && [ "$(selected)" != -1 ] ||
    e2e_fail "the selected row stayed $(selected)"
sleep 1
[ "$(e2e_log_count player 'kind=queue msg=793 ')" = 0 ] ||
    e2e_fail "the press reached the player while the Key maps window was in front"

file="$(e2e_appdata)/Remote Control/applications.ini"
cp "$file" "$E2E_WORK/before.ini"

# An edit dropped with Close (IDCANCEL, as Esc gives): the file untouched.
e2e_probe sendid "$dialog" - $kind_id 334 6 0 >/dev/null || e2e_fail "no kind box"  # CB_SETCURSEL none
e2e_probe post "$dialog" - 273 $(((1 << 16) | kind_id)) 0                           # CBN_SELCHANGE
e2e_wait 15 eval '[ "$(title)" = "Key maps *" ]' || e2e_fail "no unsaved mark: '$(title)'"
e2e_probe post "$dialog" - 273 2 0 || e2e_fail "cannot close the window"
e2e_probe waitgone "$dialog" - 10000 || e2e_fail "Close left the window open"
cmp -s "$file" "$E2E_WORK/before.ini" || e2e_fail "Close changed the file: $(cat "$file")"
e2e_probe post "$main" - 273 1303 0 || e2e_fail "cannot reach the main window"
e2e_probe wait "$dialog" - 15000 || e2e_fail "command 1303 opened no Key maps window again"
e2e_wait 15 in_front || e2e_fail "the Key maps window is not in front again"
e2e_tuner press ok >/dev/null
e2e_wait 15 eval '[ "$(e2e_trace_count "Press: ok: Key maps: ok selected")" -ge 2 ]' ||
    e2e_fail "the second press of ok selected no row"

# ok's action: keys, Ctrl+Alt+K pressed in the hotkey control; then Save.
e2e_probe sendid "$dialog" - $kind_id 334 0 0 >/dev/null || e2e_fail "no kind box"  # CB_SETCURSEL keys
e2e_probe post "$dialog" - 273 $(((1 << 16) | kind_id)) 0                           # CBN_SELCHANGE
e2e_probe sendid "$dialog" - $chord_id 1025 $(((6 << 8) | 0x4B)) 0 >/dev/null ||     # HKM_SETHOTKEY
    e2e_fail "no hotkey control"
e2e_probe post "$dialog" - 273 $(((0x300 << 16) | chord_id)) 0                      # EN_CHANGE
e2e_wait 15 eval '[ "$(title)" = "Key maps *" ]' || e2e_fail "no unsaved mark: '$(title)'"
e2e_probe post "$dialog" - 273 1 0                                                  # Save
e2e_wait 15 eval '[ "$(title)" = "Key maps" ]' || e2e_fail "not saved: '$(title)'"
# Save rewrote ok's line and nothing else.
edits=$(diff "$E2E_WORK/before.ini" "$file" | grep '^[<>]' | tr -d '\r' || true)
[ "$edits" = "< ok = appcommand VOLUME_UP"$'\n'"> ok = keys Ctrl+Alt+K" ] ||
    e2e_fail "Save changed more than ok's line: $edits"
e2e_probe find "$dialog" - >/dev/null || e2e_fail "Save closed the window"

# The player in front: ok is the new chord.
e2e_probe activate StandinPlayer_Class - || true
front() { e2e_probe foreground | grep -q 'class="StandinPlayer_Class"'; }
e2e_wait 15 front || e2e_fail "the player is not in front"
chord() { e2e_chord player; }
e2e_tuner press ok >/dev/null
e2e_wait 15 eval '[ "$(chord)" = "17down1 18down1 75down1 75up1 18up1 17up1 " ]' ||
    e2e_fail "ok reached the player as '$(chord)', not Ctrl+Alt+K"

e2e_probe post "$dialog" - 273 2 0 || e2e_fail "cannot close the window"
e2e_probe waitgone "$dialog" - 10000 || e2e_fail "Close left the window open"
e2e_pass "Key maps: command 1303 opened it, a press selected ok's row, Ctrl+Alt+K saved and sent"
