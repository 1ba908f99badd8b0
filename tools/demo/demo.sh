#!/bin/bash
# Interactive demo of RemoteControl.exe under Wine: the program runs with a
# virtual AF9015 tuner stick plugged in and the Pallamo stand-in open, and a
# prompt takes remote buttons and shows each press's outcome, as the program
# itself writes it to its debug trace ("Press: ..." lines, DBM 1).
#
#   demo.sh BUILD-DIR        (scripts/run calls it; E2E_SHOW=1 shows the Wine
#                             desktop on your X display instead of a virtual one)
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
. "$here/../../tests/wine/e2e_lib.sh"

build=$1
# The demo ends by itself after four hours, like every scenario after its limit.
e2e_init "$build" demo 14400
echo "Preparing: Wine prefix, virtual desktop, RemoteControl.exe and the stand-ins..."
e2e_install
e2e_settings DBM=1 Default44keyIR=3 DefaultTVAPP=2 DefaultLaunchAp=1
# The stand-in player is a program of the user's own: the remote drives it
# through its section of applications.ini.
e2e_user_file <<'EOF'
; Your own applications, one section per program (see the README).
[Player]
Exe = player.exe              ; the program in front
play = keys Space
stop = keys S
ok = keys Enter
back = keys Backspace
fullscreen = keys F
up = keys Up
down = keys Down
left = keys Left
right = keys Right
volup = appcommand VOLUME_UP
voldown = appcommand VOLUME_DOWN
mute = appcommand VOLUME_MUTE
Repeat = volup voldown        ; these act on every frame while held
EOF
mkdir -p "$WINEPREFIX/drive_c/virtual_tuner"
echo 32key >"$WINEPREFIX/drive_c/virtual_tuner/layout"
e2e_tuner plug af9015 >/dev/null
e2e_start_app Quillet.exe
e2e_start_product

# Stand-ins by the name a person types.
declare -A APP_EXE=([pallamo]=Quillet.exe [totalmedia]=TotalMedia.exe [powercinema]=PowerCinema.exe
    [lumetra]=MainPanel.exe [lumetracenter]=MainCenter.exe [player]=player.exe)
declare -A APP_LABEL=([Quillet]="Pallamo" [TotalMedia]="TotalMedia" [PowerCinema]="PowerCinema"
    [MainPanel]="Lumetra panel" [MainCenter]="Lumetra Center" [ehshell]="Media Center"
    [player]="Player")
declare -A SEEN=()
PRESSES_SEEN=0
# What the stand-ins received is shown on request ("messages"): 0 not at all,
# 1 without the messages that come from focus changes, 2 everything.
MESSAGES=0
FOCUS_MESSAGES='6|7|8|28|70|71|134|641|642'

banner() {
    cat <<EOF

================================================================================
 Remote Control demo
================================================================================
 RemoteControl.exe is running under Wine, inside a Wine virtual desktop
 (display $DISPLAY), with:
   - a virtual AF9015 tuner stick plugged in (its remote is the 32-key layout),
   - the Pallamo stand-in open (its window is titled "Tessaryn"); Pallamo is also
     the application the power key launches (DefaultTVAPP 2), and it is launched
     when the stick is plugged back in (DefaultLaunchAp 1).
 Type a remote button and see what became of the press:
   a KeyCode (a number 0-255), or a name: power ok up down left right back
   num0..num9 chup chdown volup voldown mute play stop record tv fullscreen
   shutdown (the 1-3 button); m-up m-down m-left m-right m-click m-rclick move
   and click the pointer when no application is open.
 Other commands:
   hold BUTTON MS     hold a button (repeat frames every 108 ms: one command)
   unplug / plug [af9015|it9135|rtl2832u]
                      pull the stick / plug one in (the watchdog looks every 3 s)
   open APP / close APP
                      start or close a stand-in: pallamo totalmedia powercinema
                      lumetra lumetracenter, or player: a media player of your
                      own, driven by its section of applications.ini (close the
                      TV applications first: they come before it)
   appfile            that file, %APPDATA%\Remote Control\applications.ini
   windows            the visible windows of the desktop
   shot [FILE.png]    save a screenshot of the desktop
   trace              the program's last trace lines (DBM 1; values in hexadecimal)
   buttons            the button names with their KeyCodes
   messages [on|all|off]
                      also show the messages and keystrokes the stand-ins
                      received (on: without those of focus changes)
   osd                switch "Show buttons on screen" (the tray menu's item) on or
                      off: each button then shows its line on the desktop, and
                      here as "on screen: ..."
   help, quit
 Example: "num1" sends Pallamo command 10001; "power" closes it, "power" again
 launches it with "remote"; "close pallamo" then "shutdown" opens the Shut Down
 dialog and "ok" cancels it (the demo never confirms a shutdown).
================================================================================
EOF
}

# Prints the program's new "Press: " trace lines: the button, who took it and
# what was sent, or why nothing was. The frames of a held button that give the
# same line are counted.
show_presses() {
    local lines n
    lines=$(grep -a 'OutputDebugStringA "<Remote Control>  Press: ' "$E2E_TRACE" 2>/dev/null |
        tail -n +"$((PRESSES_SEEN + 1))") || true
    [ -n "$lines" ] || return 0
    n=$(printf '%s\n' "$lines" | wc -l)
    PRESSES_SEEN=$((PRESSES_SEEN + n))
    # Wine writes the text as a C string: \" \\ and \xHH (UTF-8 bytes).
    printf '%s\n' "$lines" | tr -d '\r' |
        sed 's/.*OutputDebugStringA "<Remote Control>  Press: //; s/"$//; s/\\"/"/g' |
        while IFS= read -r l; do printf '%b\n' "$l"; done |
        uniq -c | while read -r n l; do
        if [ "$n" -gt 1 ]; then printf '  %s  (x%s)\n' "$l" "$n"; else printf '  %s\n' "$l"; fi
    done
}

# Prints the stand-ins' new log lines, for people: starts, closes and ends,
# and with "messages" on what they received.
show_new_events() {
    local f name label lines n
    for f in "$WINEPREFIX"/drive_c/standin_logs/*.log; do
        [ -f "$f" ] || continue
        name=$(basename "$f" .log)
        label=${APP_LABEL[$name]:-$name}
        n=$(wc -l <"$f")
        lines=$(tail -n +"$((${SEEN[$name]:-0} + 1))" "$f" | tr -d '\r')
        SEEN[$name]=$n
        [ -n "$lines" ] || continue
        printf '%s\n' "$lines" | awk -v app="$label" -v mode="$MESSAGES" -v focus="$FOCUS_MESSAGES" '
            function flush() {
                if (keys != "") printf "  %-15s keystrokes %s  [%s]\n", app, chord, keys
                keys = ""; chord = ""; ups = 0
            }
            mode == 0 && / kind=(key|queue|sent) / { next }
            mode == 1 && $0 ~ (" kind=(queue|sent) msg=(" focus ") ") { next }
            / kind=key / {
                if ($0 ~ / fg=1 /) {
                    w = $0; sub(/.*what=key /, "", w)
                    k = w; sub(/ (down|up)$/, "", k)
                    if (w ~ / down$/ && ups == 0) chord = chord (chord == "" ? "" : "+") k
                    if (w ~ / up$/) ups++
                    keys = keys (keys == "" ? "" : ", ") w
                }
                next
            }
            / kind=queue msg=(256|257|258|260|261|262) / && !/ lparam=0x01500001/ { next }
            / kind=ready / { next }
            {
                flush()
                w = $0; sub(/.*what=/, "", w)
                if ($0 ~ / kind=queue msg=256 .*lparam=0x01500001/) w = "posted " w
                printf "  %-15s %s\n", app, w
            }
            END { flush() }'
    done
}

show_windows() {
    e2e_probe list | tr -d '\r' | grep 'visible=1' | grep -v 'class="Shell_TrayWnd"' |
        sed 's/^[0-9a-fA-F]* visible=1 /  /' || true
}

dialogs() {
    e2e_probe list | tr -d '\r' | grep 'visible=1 class="#32770"' | sed 's/.*title=//' || true
}

cursor() { e2e_probe cursor | tr -d '\r' || true; }

# After a button: wait a moment, then report what happened.
# Whether the user's option ShowButtons is on.
osd_on() {
    e2e_wine reg query 'HKCU\Software\Orvalix Multimedia\Remote Control' /v ShowButtons 2>/dev/null |
        grep -q '0x1'
}

# The on-screen display's line, while it shows.
osd_line() {
    local info
    info=$(e2e_probe info "Remote Control OSD" - | tr -d '\r') || return 0
    grep -q 'visible=1' <<<"$info" && sed -n 's/.*text="\(.*\)"$/  on screen: \1/p' <<<"$info"
    return 0
}

toggle_osd() {
    e2e_probe post "Remote Control" - 273 1302 0 || {
        echo "  the program's window is not there"
        return
    }
    sleep 0.5
    if osd_on; then echo "  Show buttons on screen: on"; else echo "  Show buttons on screen: off"; fi
}

after_button() {
    local before_cursor=$1 before_dialogs=$2
    if osd_on; then
        sleep 0.4
        osd_line
        sleep 0.6
    else
        sleep 1.2
    fi
    show_presses
    show_new_events
    local now
    now=$(dialogs)
    if [ "$now" != "$before_dialogs" ] && [ -n "$now" ]; then
        echo "  dialog open: $now"
    elif [ "$now" != "$before_dialogs" ]; then
        echo "  dialog closed"
    fi
    local c
    c=$(cursor)
    [ "$c" != "$before_cursor" ] && echo "  pointer moved: $before_cursor -> $c"
    return 0
}

tuner_button() {  # press|hold BUTTON [MS]
    local out before_cursor before_dialogs
    before_cursor=$(cursor)
    before_dialogs=$(dialogs)
    if out=$(e2e_tuner "$@" 2>&1); then
        echo "  ($out)"
        after_button "$before_cursor" "$before_dialogs"
    else
        echo "  $out"
    fi
}

open_app() {
    local exe=${APP_EXE[${1:-}]:-}
    [ -n "$exe" ] || {
        echo "  open what? ${!APP_EXE[*]}"
        return
    }
    e2e_start_app "$exe"
    show_new_events
}

close_app() {
    local exe=${APP_EXE[${1:-}]:-}
    [ -n "$exe" ] || {
        echo "  close what? ${!APP_EXE[*]}"
        return
    }
    case $exe in
    Quillet.exe) e2e_probe post - Tessaryn 16 0 0 ;;
    TotalMedia.exe) e2e_probe post ARCSOFT_MEDIA_CENTER_FRAMEWNDCLASS - 16 0 0 ;;
    PowerCinema.exe) e2e_probe post - PowerCinema 16 0 0 ;;
    MainPanel.exe) e2e_probe post OrvalixMainPanel_Class Mirvo 16 0 0 ;;
    MainCenter.exe) e2e_probe post OrvalixMainPanel_Class "Lumetra Center" 16 0 0 ;;
    player.exe) e2e_probe post StandinPlayer_Class - 16 0 0 ;;
    esac || echo "  it is not open"
    sleep 0.8
    show_new_events
}

banner
show_new_events >/dev/null
echo "Ready. RemoteControl.exe is polling the stick every 65 ms."
while :; do
    show_new_events
    if ! IFS= read -r -e -p "remote> " line; then
        echo
        break
    fi
    read -r -a words <<<"$line"
    [ ${#words[@]} -gt 0 ] || continue
    cmd=${words[0],,}
    case $cmd in
    quit | exit | q) break ;;
    help | '?') banner ;;
    buttons) e2e_tuner buttons | sed 's/^/  /' ;;
    messages)
        case ${words[1]:-on} in
        on) MESSAGES=1 ;;
        all) MESSAGES=2 ;;
        off) MESSAGES=0 ;;
        *) echo "  messages on, all or off" ;;
        esac
        ;;
    osd) toggle_osd ;;
    appfile) tr -d '\r' <"$(e2e_appdata)/Remote Control/applications.ini" | sed 's/^/  /' ;;
    hold) tuner_button hold "${words[1]:-}" "${words[2]:-}" ;;
    press) tuner_button press "${words[1]:-}" ;;
    plug) e2e_tuner plug "${words[1]:-af9015}" | sed 's/^/  /' ;;
    unplug) e2e_tuner unplug | sed 's/^/  /' ;;
    open) open_app "${words[1]:-}" ;;
    close) close_app "${words[1]:-}" ;;
    windows) show_windows ;;
    shot)
        f=${words[1]:-$PWD/remote-control-demo.png}
        if e2e_screenshot "$f"; then echo "  saved $f"; else echo "  screenshot failed"; fi
        ;;
    trace)
        grep -a 'OutputDebugStringA' "$E2E_TRACE" | grep -av '<Remote Control>   "$' |
            grep -avE 'Chip_|Find 9015|Find 9030' |
            sed 's/.*OutputDebugStringA "<Remote Control>  /  /; s/"$//' | tail -n 25 || true
        ;;
    *) tuner_button press "$cmd" ;;
    esac
done
echo "Stopping RemoteControl.exe and Wine..."
exit 0
