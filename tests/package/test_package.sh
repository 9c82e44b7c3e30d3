#!/bin/sh
# Builds the Debian package of the build tree $1 (project version $2) and checks its files,
# its dependencies, its version and Debian's own rules.
set -eu
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
cpack --config "$1/CPackConfig.cmake" -B "$out" >"$out/cpack.log" 2>&1 || { cat "$out/cpack.log"; exit 1; }
deb=$(echo "$out"/varlo_*_*.deb)

# Every non-directory entry, exactly: nothing but the program's component goes in.
dpkg-deb -c "$deb" | awk '!/^d/ { $1 = $2 = $3 = $4 = $5 = ""; sub(/^ +/, ""); print }' | LC_ALL=C sort >"$out/files"
cat >"$out/expected" <<'END'
./usr/bin/varlo -> ../lib/varlo/varlo
./usr/bin/varlo-cli
./usr/lib/varlo/Varlo.hlp
./usr/lib/varlo/varlo
./usr/share/applications/org.varlo.Varlo.desktop
./usr/share/doc/varlo/changelog.gz
./usr/share/doc/varlo/copyright
./usr/share/icons/hicolor/scalable/apps/varlo.svg
./usr/share/man/man1/varlo-cli.1.gz
./usr/share/man/man1/varlo.1.gz
./usr/share/metainfo/org.varlo.Varlo.metainfo.xml
./usr/share/mime/packages/varlo.xml
END
diff -u "$out/expected" "$out/files" || { echo "the package's files differ from the expected ones (-)"; exit 1; }

# Qt libraries come from dpkg-shlibdeps; the fonts are added by hand.
depends=$(dpkg-deb -f "$deb" Depends)
for p in libqt6core6 libqt6widgets6 libqt6serialport6 fonts-liberation2; do
  echo "$depends" | grep -qwF "$p" || { echo "Depends lacks $p: $depends"; exit 1; }
done

# A native package: the project's version everywhere, with no Debian revision.
[ "$(dpkg-deb -f "$deb" Version)" = "$2" ] || { echo "package version is not $2"; exit 1; }
dpkg-deb -x "$deb" "$out/root"
has() { gzip -dcf "$out/root/usr/share/$1" | grep -qF "$2" || { echo "$1 lacks $2"; exit 1; }; }
has doc/varlo/changelog.gz "varlo ($2) "
has man/man1/varlo.1.gz "\"Varlo $2\""
has man/man1/varlo-cli.1.gz "\"Varlo $2\""
has metainfo/org.varlo.Varlo.metainfo.xml "<release version=\"$2\""

# The file manager opens channel files in Varlo: the MIME database built from the package's
# XML gives *.vl its type, and the menu entry declares that type and takes the file.
share="$out/root/usr/share"
update-mime-database "$share/mime" 2>/dev/null
grep -qxF 'application/x-varlo-channels:*.vl' "$share/mime/globs" || { echo "*.vl has no MIME type"; exit 1; }
desktop-file-validate "$share/applications/org.varlo.Varlo.desktop"
grep -qxF 'MimeType=application/x-varlo-channels;' "$share/applications/org.varlo.Varlo.desktop" ||
  { echo "the menu entry does not open channel files"; exit 1; }
grep -q '^Exec=.* %f$' "$share/applications/org.varlo.Varlo.desktop" || { echo "the menu entry takes no file"; exit 1; }

# Errors and warnings fail; informational tags do not.
lintian --allow-root --fail-on error,warning "$deb" >"$out/lintian.log" 2>&1 || { cat "$out/lintian.log"; exit 1; }
