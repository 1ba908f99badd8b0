#!/bin/bash
# A button on each of the three chip-library families reaches a stand-in TV
# application as the right posted message or keystroke chord.
#   e2e_families.sh BUILD-DIR [--cdecl] [af9015|it9135|rtl2832u...]
#
#   With --cdecl the stand-in libraries are the ones built with cdecl entry
#   points (bin/cdecl/): the program must work with either calling convention,
#   in every build type.
#
#   AF9015, 32KEY layout, Pallamo open: the num1 button (KeyCode 4) is posted
#     to the "Tessaryn" window as message 3000 with command 10001.
#   IT9135, 32KEY layout, TotalMedia open: KeyCode 22 reaches TotalMedia as
#     Ctrl+Shift+P, keys down in order and up in reverse, each injected with
#     the extended-key flag while TotalMedia has the focus.
#   RTL2832U (its "DVB-T Dongle" name), 44KEY layout, Lumetra Center open:
#     KeyCode 2 is posted to the "Lumetra Center" window as message 4024 with
#     command 10003.
set -euo pipefail
. "$(dirname "$0")/e2e_lib.sh"
build=$1
shift
suffix=
if [ "${1:-}" = --cdecl ]; then
    export E2E_LIBS=cdecl
    suffix=-cdecl
    shift
fi
families=("$@")
[ ${#families[@]} -gt 0 ] || families=(af9015 it9135 rtl2832u)

scenario() {
    local family=$1
    e2e_init "$build" "families-$family$suffix" 180
    e2e_install
    case $family in
    af9015)
        e2e_settings DBM=1 Default44keyIR=3 DefaultTVAPP=9 DefaultLaunchAp=0
        e2e_tuner plug af9015 >/dev/null
        e2e_start_app Quillet.exe
        e2e_start_product
        e2e_tuner_called 'af15_init -> 1' || e2e_fail "the AF9015 stick was not brought up"
        e2e_tuner press num1 >/dev/null
        e2e_wait 15 e2e_logged Quillet 'win=main kind=queue msg=3000 wparam=10001 lparam=0x00000000' ||
            e2e_fail "AF9015 num1: Pallamo did not receive message 3000 with command 10001"
        [ "$(e2e_log_count Quillet 'kind=queue msg=3000 ')" = 1 ] ||
            e2e_fail "AF9015 num1: Pallamo received $(e2e_log_count Quillet 'kind=queue msg=3000 ') messages 3000"
        ;;
    it9135)
        e2e_settings DBM=1 Default44keyIR=3 DefaultTVAPP=5 DefaultLaunchAp=0
        e2e_tuner plug it9135 >/dev/null
        e2e_start_app TotalMedia.exe
        e2e_start_product
        e2e_tuner_called 'af9100_initIRDev -> 1' || e2e_fail "the IT9135 stick was not brought up"
        e2e_tuner press 22 >/dev/null
        local want="17down1 16down1 80down1 80up1 16up1 17up1 "
        e2e_wait 15 eval '[ "$(e2e_chord TotalMedia)" = "$want" ]' ||
            e2e_fail "IT9135 KeyCode 22: TotalMedia saw '$(e2e_chord TotalMedia)', not Ctrl+Shift+P ($want)"
        e2e_logged TotalMedia 'kind=key vk=80 dir=down msg=256 flags=0x11 injected=1 extended=1 fg=1' ||
            e2e_fail "IT9135 KeyCode 22: P was not injected with the extended-key flag"
        e2e_logged TotalMedia 'kind=queue msg=256 wparam=80 ' ||
            e2e_fail "IT9135 KeyCode 22: no WM_KEYDOWN P reached TotalMedia's window"
        ;;
    rtl2832u)
        e2e_settings DBM=1 Default44keyIR=0 DefaultTVAPP=9 DefaultLaunchAp=0
        e2e_tuner plug rtl2832u "DVB-T Dongle" >/dev/null
        e2e_start_app MainCenter.exe
        e2e_start_product
        e2e_tuner_called 'RTK_InitialAPModeIRParameter -> 1' ||
            e2e_fail "the RTL2832U stick was not brought up"
        e2e_tuner press 2 >/dev/null
        e2e_wait 15 e2e_logged MainCenter 'win=main kind=queue msg=4024 wparam=10003 lparam=0x00000000' ||
            e2e_fail "RTL2832U KeyCode 2: Lumetra Center did not receive message 4024 with command 10003"
        ;;
    *)
        rc_die "unknown family $family"
        ;;
    esac
    e2e_pass "$family${E2E_LIBS:+ ($E2E_LIBS entry points)}"
}

# The keyboard hook's view of injected keys: "VKdirFG " per event.
# Each family in a fresh prefix of its own (a subshell per scenario).
for family in "${families[@]}"; do
    (scenario "$family")
done
