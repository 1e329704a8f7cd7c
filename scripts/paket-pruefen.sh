#!/usr/bin/env bash
# The package on a fresh Debian 12 (bookworm), as a stand PC gets it:
#
#  1. a minimal root made by debootstrap (once, kept as ORDNER/basis), copied
#     afresh for every run (ORDNER/wurzel);
#  2. in it, as root: apt-get install ./zanti_VERSION_ARCH.deb, nothing else,
#     and a user "kasse" who is not root;
#  3. as kasse, with no screen (QT_QPA_PLATFORM=offscreen): the first start of
#     Zanti makes ~/.local/share/zanti/Zanti and says so; with the virtual
#     printer named in its schnittstellen.ini a second start sells one receipt
#     (Cola and Spezi, "=") and ends with ESC; a third start names a printer
#     device that is not there;
#  4. the files in that folder, the receipt from the virtual printer, the
#     port messages, zanti-stand ein/aus, and apt-get remove leaving the
#     register's files alone.
#
# The register is driven from inside its own process by a small library of
# the build (tests/paket/klicker.cpp, LD_PRELOAD, not in the package): it taps
# the keys by name with mouse events, presses ESC, and answers each message
# box with OK after writing its text to stderr.
#
#   sudo scripts/paket-pruefen.sh [BUILDDIR [ORDNER]]     (after make deb)
#
# Needs root (debootstrap, chroot, mounts), debootstrap, and a Debian mirror
# (MIRROR, default http://deb.debian.org/debian). ORDNER defaults to
# /var/tmp/zanti-pruefung.
set -euo pipefail

[ "$(id -u)" -eq 0 ] || { echo "paket-pruefen: needs root (chroot, mounts)" >&2; exit 1; }
build=$(cd "${1:-build}" && pwd)
ordner=${2:-/var/tmp/zanti-pruefung}
mirror=${MIRROR:-http://deb.debian.org/debian}
paket=$(ls "$build"/zanti_*.deb 2>/dev/null | tail -1)
klicker=$build/libzanti_klicker.so
[ -n "$paket" ] || { echo "no zanti_*.deb in $build: make deb first" >&2; exit 1; }
[ -e "$klicker" ] || { echo "$klicker is missing: cmake --build $build --target zanti_klicker" >&2; exit 1; }
command -v debootstrap >/dev/null || { echo "debootstrap is missing: apt-get install debootstrap" >&2; exit 1; }

basis=$ordner/basis
wurzel=$ordner/wurzel
mkdir -p "$ordner"
if [ ! -e "$basis/etc/debian_version" ]; then
  echo "== debootstrap bookworm into $basis"
  rm -rf "$basis"
  debootstrap --variant=minbase bookworm "$basis" "$mirror"
fi

aushaengen() {
  local m
  for m in dev/pts dev proc; do
    if mountpoint -q "$wurzel/$m"; then umount "$wurzel/$m" || umount -l "$wurzel/$m"; fi
  done
}
trap aushaengen EXIT
aushaengen
rm -rf --one-file-system "$wurzel"
cp -a "$basis" "$wurzel"
mount -t proc proc "$wurzel/proc"
mount --bind /dev "$wurzel/dev"
mount --bind /dev/pts "$wurzel/dev/pts"
cp /etc/resolv.conf "$wurzel/etc/resolv.conf"

echo "== apt-get install ./$(basename "$paket") ($(chroot "$wurzel" dpkg-query -W | wc -l) packages in the fresh root)"
cp "$paket" "$wurzel/tmp/"
chroot "$wurzel" apt-get update -qq
chroot "$wurzel" env DEBIAN_FRONTEND=noninteractive \
  apt-get install -y -qq "/tmp/$(basename "$paket")" >"$ordner/apt.log" 2>&1 \
  || { tail -20 "$ordner/apt.log"; exit 1; }
echo "   installed with its dependencies: $(chroot "$wurzel" dpkg-query -W | wc -l) packages"
chroot "$wurzel" useradd -m -s /bin/sh kasse
mkdir -p "$wurzel/opt/pruefung"
cp "$klicker" "$wurzel/opt/pruefung/"

# What the user kasse does, inside the new root.
cat >"$wurzel/opt/pruefung/als-kasse.sh" <<'INNEN'
set -u
cd "$HOME"
daten=$HOME/.local/share/zanti/Zanti
zanti() { # ZANTI_KLICKS, log file
  timeout 120 env QT_QPA_PLATFORM=offscreen LD_PRELOAD=/opt/pruefung/libzanti_klicker.so \
    ZANTI_KLICKS="$1" Zanti >"$2" 2>&1
  echo "$?" >"$2.status"
}
zanti ESC start1.log
zanti-virtueller-drucker --ausgabe "$HOME/bons" --link "$HOME/drucker" >drucker.log 2>&1 &
drucker=$!
for _ in $(seq 100); do [ -e "$HOME/drucker" ] && break; sleep 0.1; done
printf '[COM]\r\nCOM1=%s\r\n' "$HOME/drucker" >"$daten/schnittstellen.ini"
zanti "Command1 Command3 IstgleichTaste ESC" start2.log
sleep 1
kill "$drucker"
printf '[COM]\r\nCOM1=/dev/ttyUSB7\r\n' >"$daten/schnittstellen.ini"
zanti ESC start3.log
zanti-stand ein >stand-ein.log 2>&1
cp .config/autostart/zanti-stand.desktop stand.desktop 2>/dev/null
zanti-stand aus >stand-aus.log 2>&1
zanti-stand status >stand-status.log 2>&1
# The stand's start without a service manager (as in this root): a crash
# starts the register again, ESC ends it for good. The first register is
# crashed with SIGSEGV before its ESC comes.
(env QT_QPA_PLATFORM=offscreen LD_PRELOAD=/opt/pruefung/libzanti_klicker.so \
   ZANTI_KLICKS="Command2 Command2 Command2 Command2 Command2 Command2 Command2 ESC" \
   timeout 120 zanti-stand starten Zanti >stand-lauf.log 2>&1
 echo "$?" >stand-lauf.log.status) &
erster=
for _ in $(seq 100); do
  for p in /proc/[0-9]*; do
    [ "$(readlink "$p/exe" 2>/dev/null)" = /usr/bin/Zanti ] && erster=${p#/proc/}
  done
  [ -n "$erster" ] && break
  sleep 0.1
done
sleep 1
kill -SEGV "$erster"
wait
INNEN
echo "== as kasse: Zanti offscreen, one receipt on the virtual printer"
chroot --userspec=kasse:kasse "$wurzel" env -i HOME=/home/kasse USER=kasse LANG=C.UTF-8 \
  PATH=/usr/bin:/bin sh /opt/pruefung/als-kasse.sh

heim=$wurzel/home/kasse
daten=$heim/.local/share/zanti/Zanti
fehler=0
pruefen() { # text, then the command that must succeed
  local text=$1; shift
  if "$@"; then echo "PASS   : $text"; else echo "FAIL!  : $text"; fehler=1; fi
}
for n in 1 2 3; do
  [ -e "$heim/start$n.log.status" ] || continue
  echo "-- start $n (exit code $(cat "$heim/start$n.log.status")):"
  grep -v "propagateSizeHints\|XDG_RUNTIME_DIR" "$heim/start$n.log" | sed 's/^/   /'
done
pruefen "start 1: ends with 0" test "$(cat "$heim/start1.log.status")" = 0
pruefen "start 1: the new folder is named" \
  grep -qx "Der Programmordner der Kasse ist neu angelegt:" "$heim/start1.log"
pruefen "start 1: port message with device and cause" \
  grep -q "^Gerät /dev/ttyS0: " "$heim/start1.log"
pruefen "start 2: ends with 0" test "$(cat "$heim/start2.log.status")" = 0
pruefen "start 2: no message" bash -c '! grep -q "klicker: Meldung" "$1"' _ "$heim/start2.log"
pruefen "start 3: missing device named" \
  grep -q "^Gerät /dev/ttyUSB7: nicht vorhanden." "$heim/start3.log"
for datei in kasse.ini bonkopf.ini Einstellungen.ini protokoll.txt verkauf.ini daten.db; do
  pruefen "$datei in ~/.local/share/zanti/Zanti" test -s "$daten/$datei"
done
pruefen "protocol: Cola and Spezi" bash -c \
  'tr -d "\r" <"$1" | grep -q "x Spezi" && tr -d "\r" <"$1" | grep -q "x Cola"' _ "$daten/protokoll.txt"
pruefen "takings in verkauf.ini" bash -c 'tr -d "\r" <"$1" | grep -qx "Taste36=4"' _ "$daten/verkauf.ini"
pruefen "the receipt from the virtual printer" grep -q "GESAMT *4,00 E" "$heim/bons/bon-0001.txt"
pruefen "nothing written beside the program" bash -c '! ls "$1"/usr/bin | grep -q "\.ini$\|daten\.db"' _ "$wurzel"
pruefen "zanti-stand ein: autostart entry" grep -qx "Exec=zanti-stand starten Zanti" "$heim/stand.desktop"
pruefen "zanti-stand aus" grep -qx "Stand-PC aus" "$heim/stand-status.log"
pruefen "stand: restarted after the crash, ended by ESC with 0" \
  test "$(cat "$heim/stand-lauf.log.status"):$(grep -c "^klicker: ESC" "$heim/stand-lauf.log")" = "0:1"
pruefen "stand: the second register booked" \
  test "$(grep -c "^klicker: Command2" "$heim/stand-lauf.log")" -ge 7
echo "-- receipt:"; sed 's/^/   /' "$heim/bons/bon-0001.txt"
echo "-- files:"; chroot "$wurzel" ls -l /home/kasse/.local/share/zanti/Zanti | sed 's/^/   /'

chroot "$wurzel" env DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq zanti >>"$ordner/apt.log" 2>&1
pruefen "apt-get remove: program gone" test ! -e "$wurzel/usr/bin/Zanti"
pruefen "apt-get remove: register files stay" test -s "$daten/daten.db"
exit "$fehler"
