#!/usr/bin/env bash
# The Debian package as a stand PC gets it: built from this build folder by
# CPack into a folder of its own, its contents and control data, lintian
# (no error allowed), and the installed programs' command line and stand
# switch run from the unpacked tree.
#
#   tests/paket/test_paket.sh BUILDDIR
set -euo pipefail

build=$(cd "$1" && pwd)
arbeit=$(mktemp -d)
trap 'rm -rf "$arbeit"' EXIT
fehler=0
pruefen() { # text, then the command that must succeed
  local text=$1; shift
  if "$@"; then echo "PASS   : $text"; else echo "FAIL!  : $text"; fehler=1; fi
}

(cd "$arbeit" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$arbeit/aus" >"$arbeit/cpack.log" 2>&1) \
  || { cat "$arbeit/cpack.log"; exit 1; }
paket=$(ls "$arbeit"/aus/zanti_*.deb)
version=$(dpkg-deb -f "$paket" Version)
pruefen "Dateiname zanti_VERSION_ARCH.deb" \
  test "$(basename "$paket")" = "zanti_${version}_$(dpkg --print-architecture).deb"

dpkg-deb -c "$paket" | awk '{print $6}' | sed 's#^\./#/#' >"$arbeit/inhalt"
for datei in /usr/bin/Zanti /usr/bin/ZantiPC /usr/bin/zanti_abrechnung /usr/bin/zanti-virtueller-drucker \
    /usr/bin/zanti-stand /usr/share/doc/zanti/schema_v1.sql /usr/share/doc/zanti/schema_v2.sql \
    /usr/share/doc/zanti/kassenrolle.sql \
    /usr/libexec/zanti/virtueller_drucker /usr/lib/systemd/user/zanti-stand@.service \
    /usr/share/applications/zanti.desktop /usr/share/applications/zantipc.desktop \
    /usr/share/icons/hicolor/scalable/apps/zanti.svg /usr/share/doc/zanti/README.md \
    /usr/share/doc/zanti/copyright /usr/share/doc/zanti/changelog.gz /usr/share/man/man1/Zanti.1.gz; do
  pruefen "enthält $datei" grep -qx "$datei" "$arbeit/inhalt"
done
pruefen "nichts außerhalb von /usr" bash -c '! grep -v "^/usr/" "$1"' _ "$arbeit/inhalt"

# Found in the binaries, not kept by hand; the plug-ins are named.
abhaengig=$(dpkg-deb -f "$paket" Depends)
for p in libqt6widgets6 libqt6serialport6 libqt6network6 libqt6sql6-sqlite libqt6sql6-psql qt6-qpa-plugins; do
  pruefen "Depends nennt $p" grep -q "\b$p\b" <<<"$abhaengig"
done
# No maintainer scripts: removing the package cannot touch register data.
pruefen "keine Paketskripte" test "$(dpkg-deb --ctrl-tarfile "$paket" | tar -t | sort | tr '\n' ' ')" \
  = "./control ./md5sums "

lintian --no-tag-display-limit "$paket" >"$arbeit/lintian" 2>/dev/null || true
cat "$arbeit/lintian"
pruefen "lintian ohne Fehler" bash -c '! grep -q "^E:" "$1"' _ "$arbeit/lintian"

# The programs as installed, from the unpacked tree.
dpkg-deb -x "$paket" "$arbeit/wurzel"
bin=$arbeit/wurzel/usr/bin
pruefen "Desktop-Eintrag deutsch" grep -qx "Name=Zanti Kasse" "$arbeit/wurzel/usr/share/applications/zanti.desktop"
pruefen "Zanti --help ohne Bildschirm" bash -c \
  'env -u DISPLAY -u QT_QPA_PLATFORM "$1" --help | grep -q "^Aufruf: Zanti \[--ordner ORDNER\]"' _ "$bin/Zanti"
status=0; "$bin/ZantiPC" --unsinn 2>"$arbeit/err" || status=$?
pruefen "falsches Argument: Exit-Code 2" test "$status" -eq 2
pruefen "falsches Argument: Meldung" grep -q "^ZantiPC: Unbekanntes Argument „--unsinn“" "$arbeit/err"

export HOME=$arbeit/heim XDG_CONFIG_HOME=
mkdir -p "$HOME"
pruefen "Stand aus zu Beginn" test "$("$bin/zanti-stand" status)" = "Stand-PC aus"
"$bin/zanti-stand" ein ZantiPC >/dev/null
pruefen "Stand ein: Autostart" grep -qx "Exec=zanti-stand starten ZantiPC" "$HOME/.config/autostart/zanti-stand.desktop"
"$bin/zanti-stand" aus >/dev/null
pruefen "Stand aus: kein Autostart" test ! -e "$HOME/.config/autostart/zanti-stand.desktop"
status=0; "$bin/zanti-stand" ein Kasse 2>/dev/null || status=$?
pruefen "Stand: falsches Programm" test "$status" -eq 2

exit "$fehler"
