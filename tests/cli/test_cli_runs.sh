#!/bin/sh
# The built tool against the simulated radio on COM1 at the designed timing: a verified write
# with a backup and a trace, SIGINT during the channel steps, a port that will not open and a
# file with an invalid line. Usage: test_cli_runs.sh <varlo-cli> <varlo-sim>
set -eu
cli=$(realpath "$1") sim=$(realpath "$2") folder=$(mktemp -d)
trap 'kill $radio 2>/dev/null || true; rm -rf "$folder"' EXIT
cd "$folder"
fail() { echo "FAIL: $*" >&2; exit 1; }
received() { perl -ne 'print chr hex((split)[1])' radio.log | tr '\r' '|'; }
# Waits until the radio has received $1 bytes in all, ten times a second for at most $2 s.
await_bytes() { n=$(($2 * 10)); until [ "$(wc -l < radio.log)" -ge "$1" ]; do
    n=$((n - 1)); [ $n -gt 0 ] || fail "the radio got only '$(received)'"; sleep 0.1; done; }

"$sim" -d "$folder" -p 1 -e 1 -l radio.log >/dev/null 2>&1 &
radio=$!; n=100; until [ -L COM1 ]; do n=$((n - 1)); [ $n -gt 0 ] || fail "no simulated radio"; sleep 0.1; done
touch radio.log

printf '119.100\r\n120.950\r\n124.375\r\n126.700\r\n131.025\r\n135.850\r\n' > new.vl
"$cli" -p 1 -t 6 write new.vl --verify --backup old.vl --trace trace.txt > out.txt || fail "write: exit $?"
[ "$(cat out.txt)" = "6 channels match" ] || fail "verify said '$(cat out.txt)'"
[ "$(received)" = '|6Y191002095024375267003102535850S||6N|' ] || fail "the radio got '$(received)'"
printf '118.600\r\n121.500\r\n122.475\r\n123.450\r\n129.975\r\n134.125\r\n' | cmp -s - old.vl ||
    fail "the backup holds '$(cat old.vl)'"
sent=$(sed -n 's/^ *[0-9]*\.[0-9]\{3\} > //p' trace.txt | tr -d '\n')
[ "$sent" = '\r6Y191002095024375267003102535850S\r\r6N\r' ] || fail "the trace shows '$sent' sent"

# A background job of a script starts with SIGINT ignored; the tool handles it all the same.
"$cli" -p 1 write new.vl 2> interrupted.txt &
tool=$!; await_bytes 45 20; kill -INT $tool
status=0; wait $tool || status=$?
[ $status -eq 130 ] || fail "SIGINT: exit $status"
grep -q 'power it off and on' interrupted.txt || fail "SIGINT said '$(cat interrupted.txt)'"
"$cli" -p 1 read - > /dev/null || fail "read after SIGINT: exit $?"

ln -s "$folder/missing" COM9
status=0; "$cli" -p 9 read x.vl 2> port.txt || status=$?
[ $status -eq 3 ] && grep -q '^COM9: Invalid COM Port: ' port.txt || fail "missing port: exit $status, '$(cat port.txt)'"

before=$(wc -l < radio.log)
printf '118.000\r\n118.025\r\n139.000\r\n118.050\r\n118.075\r\n118.100\r\n' > bad.vl
status=0; "$cli" -p 1 write bad.vl 2> bad.txt || status=$?
[ $status -eq 2 ] && grep -q '^bad.vl:3: "139.000"' bad.txt || fail "invalid line: exit $status, '$(cat bad.txt)'"
[ "$(wc -l < radio.log)" -eq "$before" ] || fail "the radio got bytes for an invalid file"
echo PASS
