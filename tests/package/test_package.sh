#!/bin/sh
# Builds the Debian package of the build tree $1 and checks its files and dependencies.
set -eu
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
cpack --config "$1/CPackConfig.cmake" -B "$out" >"$out/cpack.log" 2>&1 || { cat "$out/cpack.log"; exit 1; }
deb=$(echo "$out"/varlo_*_*.deb)

# Every non-directory entry, exactly: nothing but the program's component goes in.
files=$(dpkg-deb -c "$deb" | awk '!/^d/ { $1 = $2 = $3 = $4 = $5 = ""; sub(/^ +/, ""); print }' | LC_ALL=C sort)
expected='./usr/bin/varlo -> ../lib/varlo/varlo
./usr/lib/varlo/Varlo.hlp
./usr/lib/varlo/varlo
./usr/share/applications/org.varlo.Varlo.desktop
./usr/share/icons/hicolor/scalable/apps/varlo.svg
./usr/share/metainfo/org.varlo.Varlo.metainfo.xml'
[ "$files" = "$expected" ] || { printf 'files:\n%s\n' "$files"; exit 1; }

# Qt libraries come from dpkg-shlibdeps; the fonts are added by hand.
depends=$(dpkg-deb -f "$deb" Depends)
for p in libqt6core6 libqt6widgets6 libqt6serialport6 fonts-liberation2; do
  echo "$depends" | grep -qwF "$p" || { echo "Depends lacks $p: $depends"; exit 1; }
done
