#!/bin/sh
# Varlo beside a simulated six-channel radio: varlo-sim linked as COM1 in a fresh temporary
# folder, the program started there on its default port 1. The radio stops when the program
# exits. Usage: tools/demo.sh [build folder]
set -eu

build=$(cd "${1:-build}" && pwd)
channels=118.600,121.500,122.475,123.450,129.975,134.125
folder=$(mktemp -d "${TMPDIR:-/tmp}/varlo-demo.XXXXXX")
simulator=

stop_radio() {
    if [ -n "$simulator" ]; then
        kill "$simulator" 2>/dev/null || true
        wait "$simulator" 2>/dev/null || true
    fi
    # Only what the demo made goes; anything the user saved there stays.
    rm -f "$folder/Varlo" "$folder/varlo-sim.out"
    if rmdir "$folder" 2>/dev/null; then
        echo "demo: radio stopped, $folder removed"
    else
        echo "demo: radio stopped; your files are kept in $folder"
    fi
}
trap stop_radio EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

"$build/varlo-sim" -d "$folder" -p 1 -c "$channels" >"$folder/varlo-sim.out" 2>&1 &
simulator=$!

# The simulator links COM1 once its line is open.
tries=0
until [ -L "$folder/COM1" ]; do
    tries=$((tries + 1))
    if [ "$tries" -gt 50 ] || ! kill -0 "$simulator" 2>/dev/null; then
        echo "demo: the simulated radio did not start:" >&2
        cat "$folder/varlo-sim.out" >&2
        exit 1
    fi
    sleep 0.1
done

cat <<EOF
demo: a simulated six-channel radio answers on COM1 in $folder
      holding $channels.
      Choose "6 Channels TxRx", then Upload (From Radio) to read its channels, edit a
      frequency, and Download (To Radio) to write the table back. Close Varlo to end.
EOF
cd "$folder"
"$build/varlo"
