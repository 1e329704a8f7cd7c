#!/usr/bin/env bash
# Demo of the register: a program folder under the build folder with both
# programs and a sample refreshment stand, the virtual printer as COM1, and
# Zanti on it.
#
#   bash scripts/run.sh BUILDDIR        (make run does this after the build)
#
# The virtual printer sits on a pseudo-terminal, as a serial printer would.
# DRUCKER=tcp (or tcp:PORT, default 9100) makes it a network printer on
# 127.0.0.1 instead:  DRUCKER=tcp make run
#
# The printer plays trouble on demand: echo papier > build/demo/drucker-steuerung
# (offline, deckel, papier, weg, bereit).
#
# The sample files are copied only when missing, so sales, protocol and
# settings of an earlier demo stay.
set -euo pipefail

[ $# -eq 1 ] || { echo "usage: [DRUCKER=tcp[:PORT]] $0 BUILDDIR" >&2; exit 2; }
drucker_art=${DRUCKER:-pty}
case "$drucker_art" in
  pty) ;;
  tcp) tcp_port=9100 ;;
  tcp:*) tcp_port=${drucker_art#tcp:} ;;
  *) echo "DRUCKER must be pty, tcp or tcp:PORT" >&2; exit 2 ;;
esac
if [ "$drucker_art" != pty ] && ! [[ "$tcp_port" =~ ^[0-9]+$ && "$tcp_port" -ge 1 && "$tcp_port" -le 65535 ]]; then
  echo "DRUCKER=tcp:PORT needs a port from 1 to 65535" >&2; exit 2
fi
build=$(cd "$1" && pwd)
beispiele=$(cd "$(dirname "$0")/demo" && pwd)
demo=$build/demo
drucker_link=$demo/drucker

for programm in Zanti ZantiPC virtueller_drucker; do
  [ -x "$build/$programm" ] || { echo "$build/$programm is missing: build first (make build)" >&2; exit 1; }
done

mkdir -p "$demo/bons"
# The program folder is the program's own folder. Copy and rename, so a
# Zanti still running from here keeps its file.
for programm in Zanti ZantiPC; do
  cp "$build/$programm" "$demo/.$programm.neu"
  mv -f "$demo/.$programm.neu" "$demo/$programm"
done
for datei in kasse.ini bonkopf.ini Einstellungen.ini; do
  [ -e "$demo/$datei" ] || cp "$beispiele/$datei" "$demo/$datei"
done

pidfile=$(mktemp)
drucker_pid=
zanti_pid=

aufraeumen() {
  if [ -n "$drucker_pid" ] && kill -0 "$drucker_pid" 2>/dev/null; then
    kill -TERM "$drucker_pid" 2>/dev/null || true
    wait "$drucker_pid" 2>/dev/null || true
  fi
  rm -f "$pidfile"
}
trap aufraeumen EXIT

# Signals to this script end the register as closing its window does.
# Zanti runs in a session of its own, so a Ctrl-C reaches it only this way
# and never reaches the X server under it first.
ende=0
weiterleiten() {
  ende=1
  local pid
  pid=$(cat "$pidfile" 2>/dev/null || true)
  if [ -n "$pid" ]; then
    kill -TERM "$pid" 2>/dev/null || true
  fi
}
trap weiterleiten TERM INT HUP

if [ "$drucker_art" = pty ]; then
  # A link of a run that was killed might name another process's terminal.
  [ -L "$drucker_link" ] && rm -f "$drucker_link"
  setsid "$build/virtueller_drucker" --ausgabe "$demo/bons" --link "$drucker_link" --steuerung "$demo/drucker-steuerung" </dev/null &
  drucker_pid=$!
  for _ in $(seq 100); do
    [ -e "$drucker_link" ] && break
    kill -0 "$drucker_pid" 2>/dev/null || { echo "the virtual printer did not start" >&2; exit 1; }
    sleep 0.05 || true
  done
  [ -e "$drucker_link" ] || { echo "the virtual printer made no $drucker_link" >&2; exit 1; }
  drucker_adresse=$drucker_link
else
  drucker_adresse=tcp://127.0.0.1:$tcp_port
  setsid "$build/virtueller_drucker" --ausgabe "$demo/bons" --tcp "$tcp_port" --steuerung "$demo/drucker-steuerung" </dev/null &
  drucker_pid=$!
  bereit=0
  for _ in $(seq 100); do
    kill -0 "$drucker_pid" 2>/dev/null || { echo "the virtual printer did not start (port $tcp_port taken?)" >&2; exit 1; }
    # A connection that only knocks; the printer waits for the next one.
    if (exec 3<>"/dev/tcp/127.0.0.1/$tcp_port") 2>/dev/null; then bereit=1; break; fi
    sleep 0.05 || true
  done
  [ "$bereit" -eq 1 ] || { echo "the virtual printer does not listen on port $tcp_port" >&2; exit 1; }
fi
printf '[COM]\r\nCOM1=%s\r\n' "$drucker_adresse" > "$demo/schnittstellen.ini"

[ "$ende" -eq 0 ] || exit 130

echo "Program folder: $demo"
echo "Printer on COM1: $drucker_adresse; receipts appear here and in $demo/bons/"
starter=(setsid)
if [ -z "${DISPLAY:-}" ]; then
  command -v xvfb-run >/dev/null || { echo "no display and no xvfb-run (make deps installs it)" >&2; exit 1; }
  echo "No display: Zanti runs under xvfb-run, invisible. End it with Ctrl-C."
  starter+=(xvfb-run -a)
else
  echo "Close the Zanti window (or press Ctrl-C here) to end the demo."
fi
# The wrapper notes Zanti's own process id before it becomes Zanti.
"${starter[@]}" bash -c 'echo $$ > "$1"; shift; exec "$@"' zanti "$pidfile" "$demo/Zanti" &
zanti_pid=$!
# wait returns early for a trapped signal; go on until Zanti has ended. A
# signal also hits the sleeps here, hence the "|| true".
while kill -0 "$zanti_pid" 2>/dev/null; do
  wait "$zanti_pid" || true
  # A signal that came before Zanti noted its id is passed on now.
  while [ "$ende" -eq 1 ] && [ ! -s "$pidfile" ] && kill -0 "$zanti_pid" 2>/dev/null; do
    sleep 0.1 || true
  done
  [ "$ende" -eq 1 ] && weiterleiten
done
status=0
wait "$zanti_pid" || status=$?
echo "Zanti ended with status $status."
exit "$status"
