#!/bin/sh
# The built program on a virtual X display at real timing, driven by key presses: it writes
# its first-run settings, uploads from and downloads to the simulated radio on COM1 at the
# designed pace, verifies the radio against the table before and after a file from the backups
# folder changed it, and exits with status 0. Usage: test_desktop_run.sh <varlo> <varlo-sim>
set -eu
folder=$(mktemp -d)
trap 'kill $radio 2>/dev/null || true; rm -rf "$folder"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
# Runs the check until it holds, ten times a second, at most $1 times.
retry() { n=$1; shift; until "$@"; do n=$((n - 1)); [ $n -gt 0 ] || return 1; sleep 0.1; done; }
received() { perl -ne 'print chr hex((split)[1])' radio.log | tr '\r' '|'; }
radio_got() { received | grep -q "$1"; }
press() { xdotool windowfocus --sync "$window"; xdotool key --delay 150 "$@"; }
# Verify Radio, pressed again while the commands are still locked: its box, dismissed, must
# have said $1.
verify() {
    box=$(retry 5 sh -c "xdotool windowfocus --sync $window key --delay 150 Escape alt+d v &&
        timeout 4 xdotool search --sync --onlyvisible --name '^Varlo\$'" | head -n 1)
    grep -q "Verify Radio: $1" ui.log || fail "no box saying '$1': $(cat ui.log)"
    xdotool windowfocus --sync "$box" key Return
}

"$2" -d "$folder" -p 1 -e 1 -l "$folder/radio.log" >/dev/null 2>&1 &
radio=$!
retry 100 test -L "$folder/COM1" || fail "no simulated radio"
cd "$folder"
XDG_DATA_HOME="$folder/data" QT_LOGGING_RULES="varlo.ui.debug=true" "$1" 2>ui.log &
varlo=$!
# No window manager runs here: the window is given the focus before each key.
window=$(timeout 20 xdotool search --sync --onlyvisible --name 'VarloW' | head -n 1)
[ -n "$window" ] && [ "$(stat -c %s Varlo)" -eq 2012 ] || fail "no window or no first-run settings"

press alt+d u
retry 600 radio_got '^|6N|$' || fail "upload: radio got '$(received)'"
# The one-channel radio reads its sixth record; the upload ends with its notice.
sleep 6
press alt+d d
retry 600 radio_got '^|6N||6Y\(34125\)\{6\}S|$' || fail "download: radio got '$(received)'"
# The pace at the radio: no gap under 300 ms, and 33 pauses of 350 ms less 10 up to "S".
perl -ane 'push @t, $F[0] if $. > 4; END { $t[$_] - $t[$_ - 1] >= 300e6 or die "gap before byte $_\n" for 1 .. $#t;
    $t[33] - $t[0] >= 11540e6 or die "33 pauses took ", ($t[33] - $t[0]) / 1e6, " ms\n" }' radio.log
# Before "Y" the window kept the one channel the radio held.
[ "$(cat data/varlo/backups/*_COM1.vl)" = "$(printf '134.125\r')" ] || fail "backup: $(ls -R data)"
verify "The radio holds the channels of the table."
# A table with one row changed, from the backups folder: Open Backup's dialog shows it.
printf '121.525\r\n' >data/varlo/backups/changed.vl
press alt+f b
dialog=$(timeout 20 xdotool search --sync --onlyvisible --name 'Enter filename to open' | head -n 1)
xdotool windowfocus --sync "$dialog" type changed.vl
xdotool windowfocus --sync "$dialog" key Return
verify "Channel 1: radio 134.125, table 121.525"
# Exit is refused while a transfer or its notice holds the window.
retry 30 sh -c "! kill -0 $varlo 2>/dev/null || { xdotool windowfocus --sync $window key --delay 150 alt+f e; sleep 0.9; false; }" ||
    fail "Exit never ended the program"
wait $varlo || fail "exit status $?"
