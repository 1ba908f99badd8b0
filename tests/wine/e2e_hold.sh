#!/bin/bash
# A held button (repeat frames about every 108 ms) gives exactly one command;
# a new press after letting go gives the next one.
#   e2e_hold.sh BUILD-DIR
# AF9015 stick, 32KEY layout, Pallamo open; num1 (KeyCode 4) is command 10001.
#
# The program polls every 65 ms, so consecutive frames are read 65 or 130 ms
# apart, inside the repeat filter's 150 ms, and the hold gives one command.
# On a machine so busy that two frames were read more than 150 ms apart, the
# later frame is rightly a new press: such an attempt must give one command
# plus one per such gap (gaps within 5 ms of the limit may go either way),
# and the hold is tried again, up to three times, for an attempt without
# such gaps, which must give exactly one command.
set -euo pipefail
. "$(dirname "$0")/e2e_lib.sh"
e2e_init "$1" hold 180
e2e_install
e2e_settings DBM=1 Default44keyIR=3 DefaultTVAPP=2 DefaultLaunchAp=0
e2e_tuner plug af9015 >/dev/null
e2e_start_app Quillet.exe
e2e_start_product

count() { e2e_log_count Quillet 'kind=queue msg=3000 wparam=10001 '; }
calls_log=$WINEPREFIX/drive_c/virtual_tuner/calls.log
calls_lines() { wc -l <"$calls_log"; }
# The gaps, in ms, between the num1 frames read since line N of the calls log.
frame_gaps() {
    tail -n +"$(($1 + 1))" "$calls_log" | tr -d '\r' |
        awk '/ af9015 frame .*scan=0x1E/ { sub(/^t=/, "", $1); if (last) print $1 - last; last = $1 }'
}

attempt=1
clean=
while [ $attempt -le 3 ]; do
    before=$(count)
    mark=$(calls_lines)
    e2e_tuner hold num1 1500 >/dev/null
    e2e_wait 15 eval '[ "$(count)" -gt "$before" ]' || e2e_fail "the held button gave no command"
    sleep 3
    gaps=$(frame_gaps "$mark" | tr '\n' ' ')
    frames=$(($(wc -w <<<"$gaps") + 1))
    [ "$frames" -ge 5 ] || e2e_fail "only $frames repeat frames were read while the button was held"
    got=$(($(count) - before))
    low=1
    high=1
    for g in $gaps; do
        [ "$g" -gt 155 ] && low=$((low + 1))
        [ "$g" -gt 145 ] && high=$((high + 1))
    done
    if [ "$high" = 1 ]; then
        [ "$got" = 1 ] ||
            e2e_fail "holding num1 for 1.5 s ($frames frames, read $gaps ms apart) gave $got commands"
        clean=1
        break
    fi
    [ "$got" -ge "$low" ] && [ "$got" -le "$high" ] ||
        e2e_fail "holding num1 with frames read $gaps ms apart gave $got commands, not $low to $high"
    e2e_log "attempt $attempt: frames were read up to $(tr ' ' '\n' <<<"$gaps" | sort -n | tail -n1) ms apart" \
        "(a busy machine), $got commands as expected; trying again"
    attempt=$((attempt + 1))
    sleep 1
done
[ "$(e2e_trace_count 'bRepeatKey')" -ge 5 ] || e2e_fail "the repeat filter did not see the repeats"

before=$(count)
e2e_tuner press num1 >/dev/null
e2e_wait 15 eval '[ "$(count)" -gt "$before" ]' || e2e_fail "a new press after the hold gave no second command"
if [ -n "$clean" ]; then
    e2e_pass "held for 1.5 s ($frames frames, read $gaps ms apart): one command"
fi
e2e_pass "the machine was too busy for a hold with every frame read within 150 ms; the repeat" \
    "filter gave one command per gap above 150 ms, as it should"
