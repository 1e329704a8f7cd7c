#!/usr/bin/env bash
# Demo of an event: a PostgreSQL of its own under the build folder (socket
# only, no TCP port), two registers in two program folders ("Getränke" and
# "Essen"), each with its own virtual printer, both sending to the server.
#
#   bash scripts/event.sh BUILDDIR            (make event does this)
#   bash scripts/event.sh BUILDDIR server stop|start|status|psql
#
# The second form, from another terminal, plays the server going away and
# coming back while both registers sell on; "psql" opens the event's
# database to look at the tables (see README, "Several registers").
set -euo pipefail

[ $# -ge 1 ] || { echo "usage: $0 BUILDDIR [server stop|start|status|psql]" >&2; exit 2; }
build=$(cd "$1" && pwd)
event=$build/event
pg=$event/pg
beispiele=$(cd "$(dirname "$0")/demo" && pwd)

pg_bin=
for v in $(ls /usr/lib/postgresql 2>/dev/null | sort -rn); do
  [ -x "/usr/lib/postgresql/$v/bin/pg_ctl" ] && { pg_bin=/usr/lib/postgresql/$v/bin; break; }
done
[ -n "$pg_bin" ] || { echo "PostgreSQL is not installed (make deps installs it)" >&2; exit 1; }

# initdb and the server refuse root: as root they run as nobody.
als_server() {
  if [ "$(id -u)" -eq 0 ]; then
    runuser -u "${ZANTI_PG_USER:-nobody}" -- "$@"
  else
    "$@"
  fi
}

server() {
  case "$1" in
    start)
      als_server "$pg_bin/pg_ctl" -D "$pg/daten" -l "$pg/server.log" -w \
        -o "-c listen_addresses='' -k $pg -c timezone=UTC" start >/dev/null
      echo "Server running (socket in $pg)." ;;
    stop)
      als_server "$pg_bin/pg_ctl" -D "$pg/daten" -w -m fast stop >/dev/null
      echo "Server stopped." ;;
    status)
      als_server "$pg_bin/pg_ctl" -D "$pg/daten" status || true ;;
    psql)
      exec "$pg_bin/psql" -h "$pg" -U postgres -d zanti ;;
    *) echo "server stop|start|status|psql" >&2; exit 2 ;;
  esac
}

if [ $# -ge 3 ] && [ "$2" = server ]; then
  server "$3"
  exit 0
fi

for programm in Zanti virtueller_drucker; do
  [ -x "$build/$programm" ] || { echo "$build/$programm is missing: build first (make build)" >&2; exit 1; }
done

mkdir -p "$pg"
if [ ! -d "$pg/daten" ]; then
  mkdir -p "$pg/daten"
  if [ "$(id -u)" -eq 0 ]; then chown "${ZANTI_PG_USER:-nobody}" "$pg" "$pg/daten"; fi
  als_server "$pg_bin/initdb" -D "$pg/daten" -U postgres -A trust -E UTF8 --locale=C >/dev/null
fi
if [ "$(id -u)" -eq 0 ]; then chown "${ZANTI_PG_USER:-nobody}" "$pg"; fi
als_server "$pg_bin/pg_ctl" -D "$pg/daten" status >/dev/null 2>&1 || server start
"$pg_bin/psql" -h "$pg" -U postgres -d postgres -XqAt \
  -c "SELECT 1 FROM pg_database WHERE datname = 'zanti'" | grep -q 1 \
  || "$pg_bin/psql" -h "$pg" -U postgres -d postgres -Xq -c "CREATE DATABASE zanti"

pids=()
kassen=()
aufraeumen() {
  # Each runs in a session of its own (setsid): the whole group, so the
  # register under xvfb-run ends with its X server.
  for pid in "${pids[@]}"; do
    kill -TERM -- "-$pid" 2>/dev/null || kill -TERM "$pid" 2>/dev/null || true
  done
  wait 2>/dev/null || true
  server stop 2>/dev/null || true
}
trap aufraeumen EXIT
trap 'exit 130' INT TERM HUP

starter=(setsid)
if [ -z "${DISPLAY:-}" ]; then
  command -v xvfb-run >/dev/null || { echo "no display and no xvfb-run (make deps installs it)" >&2; exit 1; }
  echo "No display: the registers run under xvfb-run, invisible. End with Ctrl-C."
  starter+=(xvfb-run -a)
fi

nummer=0
for kasse in Getränke Essen; do
  nummer=$((nummer + 1))
  ordner=$event/kasse$nummer
  mkdir -p "$ordner/bons"
  cp "$build/Zanti" "$ordner/.Zanti.neu" && mv -f "$ordner/.Zanti.neu" "$ordner/Zanti"
  for datei in kasse.ini bonkopf.ini Einstellungen.ini; do
    [ -e "$ordner/$datei" ] || cp "$beispiele/$datei" "$ordner/$datei"
  done
  # The INI files are Windows-1252 with CR LF, like all of the register's.
  printf '[Veranstaltung]\r\nName=Sommerfest Demo\r\nKasse=%s\r\nServer=host=%s dbname=zanti user=postgres\r\n' \
    "$kasse" "$pg" | iconv -f UTF-8 -t WINDOWS-1252 > "$ordner/veranstaltung.ini"
  link=$ordner/drucker
  [ -L "$link" ] && rm -f "$link"
  setsid "$build/virtueller_drucker" --ausgabe "$ordner/bons" --link "$link" >/dev/null &
  pids+=($!)
  for _ in $(seq 100); do
    [ -e "$link" ] && break
    sleep 0.05
  done
  printf '[COM]\r\nCOM1=%s\r\n' "$link" > "$ordner/schnittstellen.ini"
  "${starter[@]}" "$ordner/Zanti" &
  pids+=($!)
  kassen+=($!)
  echo "Register $nummer ($kasse): $ordner, receipts in $ordner/bons/"
done

cat <<TEXT

Try: sell on both registers; the status bar says "Server: alles gesendet".
Stop the server from another terminal and sell on (nothing waits; the bar
says "Server nicht erreichbar", and the receipts wait in the journal):
  bash scripts/event.sh $build server stop
Start it again: within 30 seconds the receipts arrive and the bar says
"Server: alles gesendet" again:
  bash scripts/event.sh $build server start
In set-up mode F8 shows the whole event's takings. Look at the tables:
  bash scripts/event.sh $build server psql
Ctrl-C here ends both registers and the server.
TEXT
# Until both registers have ended; the printers and the server then go too.
for pid in "${kassen[@]}"; do
  wait "$pid" || true
done
