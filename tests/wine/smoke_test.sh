#!/bin/bash
# Smoke test of the real RemoteControl.exe under Wine, in a fresh prefix on a
# private virtual display:
#   - the first start creates the settings key with DefaultTVAPP 9,
#     AlwaysRemoteOff 0 and DefaultLaunchAp 0, and nothing else;
#   - a hidden top-level window of class "Remote Control" exists and runs its
#     message loop;
#   - a second copy ends at once with code 0 and adds no window;
#   - WM_COMMAND 1201 (the menu's Exit) ends the process with code 0;
#   - with AlwaysRemoteOff 1 the process ends by itself with code 0 and
#     leaves no window behind;
#   - a vendor library planted in the current folder is never loaded (with no
#     stick, start-up calls af15_exit of a loaded af15bdaex.dll; the stand-in
#     logs it), while one beside the program is.
# Every wait is bounded; the prefix's processes and the display are ended on
# every path, and the prefix is removed when everything passed.
#   smoke_test.sh BUILD/wine_env.sh REMOTECONTROL.EXE WINTOOL.EXE
set -u
env_file=$1 exe=$2 tool=$3
. "$(dirname "$0")/e2e_lib.sh"
rc_wine_env "$(dirname "$env_file")"

name=smoke
display_state=$RC_WINE_DIR/$name.display
log=$RC_WINE_DIR/$name.log
key='HKLM\SOFTWARE\Orvalix Multimedia\Calderin'
class='Remote Control'
failures=0
app_pid=

cleanup() {
    if [ -n "$app_pid" ]; then
        kill "$app_pid" 2>/dev/null
    fi
    rc_wine_stop
    rc_xvfb_stop "$display_state"
}
trap cleanup EXIT

tool() { in_wine 60 "$tool" "$@"; }
# The value of a DWORD setting as reg prints it (0x9), empty when missing.
setting() {
    in_wine 60 reg query "$key" /v "$1" | tr -d '\r' |
        awk -v n="$1" '$1 == n && $2 == "REG_DWORD" { print $3 }'
}
setting_count() { in_wine 60 reg query "$key" | tr -d '\r' | grep -c 'REG_'; }

: >"$log"
rc_wine_prefix "$name" fresh || rc_die "cannot make the Wine prefix"
rc_xvfb_start "$display_state" || rc_die "no virtual display"
rc_wine_start

# --- First start ------------------------------------------------------------
if in_wine 60 reg query "$key" >/dev/null; then
    fail "the fresh prefix has no settings key"
else
    pass "the fresh prefix has no settings key"
fi

timeout -k 5 300 "$RC_WINE_LOADER" "$exe" </dev/null >>"$log" 2>&1 &
app_pid=$!

if tool wait "$class" 60000 && tool sync "$class" 60000; then
    pass "a window of class \"$class\" exists and its message loop runs"
else
    fail "a window of class \"$class\" exists and its message loop runs"
fi
expect "the window is hidden" "$(tool find "$class" | tr -d '\r' | sed -n 's/.*visible=//p')" 0
expect "one window of the class" "$(tool count "$class" | tr -d '\r')" 1
expect "first start: DefaultTVAPP" "$(setting DefaultTVAPP)" 0x9
expect "first start: AlwaysRemoteOff" "$(setting AlwaysRemoteOff)" 0x0
expect "first start: DefaultLaunchAp" "$(setting DefaultLaunchAp)" 0x0
expect "first start: no other value" "$(setting_count)" 3

# --- Second copy ------------------------------------------------------------
in_wine 60 "$exe" >>"$log"
expect "a second copy ends at once with code 0" $? 0
expect "the second copy adds no window" "$(tool count "$class" | tr -d '\r')" 1
if alive "$app_pid"; then
    pass "the first copy still runs"
else
    fail "the first copy still runs"
fi

# --- Exit command -------------------------------------------------------------
tool post "$class" 0x111 1201 0
expect "WM_COMMAND 1201 is posted" $? 0
wait_end "$app_pid" 60
expect "WM_COMMAND 1201 ends the process with code 0" $? 0
app_pid=
expect "no window is left after Exit" "$(tool count "$class" | tr -d '\r')" 0

# --- AlwaysRemoteOff ----------------------------------------------------------
in_wine 60 reg add "$key" /v AlwaysRemoteOff /t REG_DWORD /d 1 /f >/dev/null
in_wine 60 "$exe" >>"$log"
expect "with AlwaysRemoteOff 1 the process ends by itself with code 0" $? 0
expect "with AlwaysRemoteOff 1 no window is left" "$(tool count "$class" | tr -d '\r')" 0

# --- Vendor libraries only from the program's folder and the system's ----------
bin=$(dirname "$env_file")/bin
planted=$RC_WINE_DIR/$name.planted
calls=$WINEPREFIX/drive_c/virtual_tuner/calls.log
rm -rf "$planted"
mkdir -p "$planted/cwd" "$planted/app" "$(dirname "$calls")"
cp "$bin/af15bdaex.dll" "$bin/af9100ex.dll" "$planted/cwd/"
: >"$calls"
(cd "$planted/cwd" && in_wine 60 "$exe" >>"$log")
expect "a library planted in the current folder: the program still ends with code 0" $? 0
expect "a library planted in the current folder is not loaded" "$(grep -c af15_exit "$calls")" 0
cp "$exe" "$bin/af15bdaex.dll" "$planted/app/"
(cd "$planted/cwd" && in_wine 60 "$planted/app/$(basename "$exe")" >>"$log")
expect "a library beside the program is loaded" "$(grep -c af15_exit "$calls")" 1
rm -rf "$planted"

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed; the prefix stays in $WINEPREFIX, Wine's output in $log"
    exit 1
fi
cleanup
trap - EXIT
rm -rf "$WINEPREFIX"
echo "all checks passed"
