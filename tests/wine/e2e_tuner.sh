#!/bin/bash
# The virtual tuner stick on its own: plugging registers the stick's DirectShow
# filter where detection looks for it and unplugging removes it; each family's
# library delivers a press as one code and a held button as repeat frames,
# in the family's own format, and nothing while the stick is pulled.
#   e2e_tuner.sh BUILD-DIR
set -euo pipefail
. "$(dirname "$0")/e2e_lib.sh"
e2e_init "$1" tuner 180

check=$(e2e_stage_tool tuner_check.exe)
for tool in af15bdaex.dll af9100ex.dll RTL283XACCESS.dll; do e2e_stage_tool "$tool" >/dev/null; done

# read_codes FAMILY MS: runs tuner_check in the background; output in codes-FAMILY.txt
read_codes() {
    WINEDEBUG=-all "$RC_WINE_LOADER" "$check" "$1" "$2" </dev/null >"$E2E_WORK/codes-$1.txt" 2>/dev/null &
    reader=$!
}
frames() { grep -c "^frame .*scan=$2" "$E2E_WORK/codes-$1.txt" || true; }
started() { grep -q '^init=' "$E2E_WORK/codes-$1.txt" 2>/dev/null; }

for family in af9015 it9135 rtl2832u; do
    e2e_tuner plug "$family" >/dev/null
    name=$(e2e_tuner status | sed -n 's/^plugged: //p')
    [ "$name" = "$family" ] || e2e_fail "tuner status says '$name' after plugging $family"
    e2e_probe filters | tr -d "\r" >"$E2E_WORK/filters.txt" || e2e_fail "cannot list the tuner filters"
    case $family in
    af9015) want="AF9015 BDA Filter" ;;
    it9135) want="IT9135 BDA Filter" ;;
    rtl2832u) want="REALTEK 2832U Filter" ;;
    esac
    grep -qx "$want" "$E2E_WORK/filters.txt" ||
        e2e_fail "after plugging $family the BDA tuner category lists: $(tr '\n' ';' <"$E2E_WORK/filters.txt")"

    # Press "ok" of the 32KEY layout (KeyCode 18) once, then hold KeyCode 2 for 650 ms.
    ok_scan=$(printf '0x%02X' "$(e2e_tuner scan ok)")
    key2_scan=$(printf '0x%02X' "$(e2e_tuner scan 2)")
    read_codes "$family" 4500
    e2e_wait 30 started "$family" || e2e_fail "tuner_check did not start for $family"
    grep -q '^init=1' "$E2E_WORK/codes-$family.txt" || e2e_fail "$family bring-up failed while plugged"
    sleep 0.5
    e2e_tuner press ok >/dev/null
    sleep 0.8
    e2e_tuner hold 2 650 >/dev/null
    wait "$reader"
    [ "$(frames "$family" "$ok_scan")" = 1 ] ||
        e2e_fail "$family: a press of ok ($ok_scan) gave $(frames "$family" "$ok_scan") codes"
    n=$(frames "$family" "$key2_scan")
    # 650 ms of holding: frames at 0, 108, ..., 648 ms; a 65 ms poll may miss one.
    [ "$n" -ge 5 ] && [ "$n" -le 7 ] || e2e_fail "$family: holding 650 ms gave $n codes, not 5 to 7"
done

# Expected raw formats: AF9015 sends the scan code of its own table, IT9135 the
# KeyCode itself, RTL2832U the KeyCode with its bits reversed.
e2e_tuner plug af9015 >/dev/null
[ "$(e2e_tuner scan 67)" = 19 ] || e2e_fail "AF9015 scan of KeyCode 67 is not 0x13"
e2e_tuner plug rtl2832u >/dev/null
[ "$(e2e_tuner scan 1)" = 128 ] || e2e_fail "RTL2832U scan of KeyCode 1 is not 0x80"
[ "$(e2e_tuner scan 70)" = 255 ] || e2e_fail "RTL2832U scan of KeyCode 70 is not 0xFF"
e2e_tuner plug it9135 >/dev/null
[ "$(e2e_tuner scan 26)" = 26 ] || e2e_fail "IT9135 scan of KeyCode 26 is not 26"

# Pulled: no filter, no bring-up, no codes.
e2e_tuner unplug >/dev/null
e2e_probe filters | tr -d "\r" >"$E2E_WORK/filters.txt" || true
[ ! -s "$E2E_WORK/filters.txt" ] || e2e_fail "after unplugging the category lists: $(cat "$E2E_WORK/filters.txt")"
read_codes it9135 1500
e2e_wait 30 started it9135 || e2e_fail "tuner_check did not start"
e2e_tuner raw 5 >/dev/null
wait "$reader"
grep -q '^init=0' "$E2E_WORK/codes-it9135.txt" || e2e_fail "bring-up succeeded with no stick"
[ "$(frames it9135 0x05)" = 0 ] || e2e_fail "a code arrived with no stick"

e2e_pass "virtual tuner: plug, unplug, press and hold on all three families"
