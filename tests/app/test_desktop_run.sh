#!/bin/sh
# The built program on a virtual X display at real timing, driven by key presses: it writes
# its first-run settings, uploads from and downloads to the simulated radio on COM1, and
# exits with status 0. Usage: test_desktop_run.sh <varlo> <varlo-sim>
set -eu
program=$1
simulator=$2
folder=$(mktemp -d)
trap 'kill $radio 2>/dev/null || true; rm -rf "$folder"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

"$simulator" -d "$folder" -p 1 -e 1 -l "$folder/radio.log" >/dev/null 2>&1 &
radio=$!
tries=0
until [ -L "$folder/COM1" ]; do
    tries=$((tries + 1)); [ $tries -lt 100 ] || fail "no simulated radio"; sleep 0.1
done

cd "$folder"
"$program" &
varlo=$!
window=$(timeout 20 xdotool search --sync --onlyvisible --name 'VarloW' | head -n 1)
[ -n "$window" ] || fail "no window"
[ "$(stat -c %s Varlo)" -eq 2012 ] || fail "no first-run settings file"

# No window manager runs here: the window takes the focus itself.
press() { xdotool windowfocus --sync "$window"; xdotool key --delay 150 "$@"; }
received() { perl -ne 'print chr hex((split)[1])' radio.log | tr '\r' '|'; }
wait_for() {
    tries=0
    until received | grep -q "$1"; do
        tries=$((tries + 1)); [ $tries -lt 600 ] || fail "radio got '$(received)'"; sleep 0.1
    done
}

press alt+d u
wait_for '^|6N|$'
# The one-channel radio reads its sixth record; the upload ends with its notice.
sleep 6
press alt+d d
wait_for '^|6N||6Y\(34125\)\{6\}S|$'

# Exit is refused while the completion notice shows.
tries=0
while kill -0 $varlo 2>/dev/null; do
    tries=$((tries + 1)); [ $tries -lt 30 ] || fail "Exit never ended the program"
    press alt+f e 2>/dev/null || true
    sleep 1
done
wait $varlo || fail "exit status $?"
