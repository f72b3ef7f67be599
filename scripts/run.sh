#!/usr/bin/env bash
# Sets up, builds and starts the program from its program folder.
#
# With no USB modem attached (/dev/ttyUSB*, /dev/ttyACM*), or with --simulatore, the project's
# modem simulator is started on a pseudo-terminal and linked as porte/COM1 of the program
# folder, so the whole program works without hardware; it stops when the program ends. The
# 80-column receipt printer is simulated the same way on porte/COM2; what it prints is appended
# to porte/COM2.stampe.txt.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh

PROGRAMMA="$PWD/build/programma"
PORTE="$PROGRAMMA/porte"

simulatore=0
if [ "${1:-}" = "--simulatore" ]; then
  simulatore=1
elif ! compgen -G "/dev/ttyUSB*" >/dev/null && ! compgen -G "/dev/ttyACM*" >/dev/null; then
  simulatore=1
fi

# A link left by an earlier simulator run points into /dev/pts (or nowhere): not a real port.
link_del_simulatore() {
  [ -L "$1" ] && case "$(readlink "$1")" in /dev/pts/*) return 0 ;; esac
  [ -L "$1" ] && [ ! -e "$1" ]
}

if [ "$simulatore" = 0 ]; then
  # A real modem: the program searches the machine's serial devices, unless porte/ was set up
  # by hand.
  if link_del_simulatore "$PORTE/COM1"; then rm -f "$PORTE/COM1"; fi
  rmdir "$PORTE" 2>/dev/null || true
  exec "$PROGRAMMA/veltrika"
fi

if [ -e "$PORTE/COM1" ] && ! link_del_simulatore "$PORTE/COM1"; then
  echo "porte/COM1 è già collegata a $(readlink -f "$PORTE/COM1"): il simulatore non parte." >&2
  exec "$PROGRAMMA/veltrika"
fi

# The delivered archive names no operator; the demo gives the simulated SIM one, once.
if [ -z "$(printf "PRAGMA key = '5830kvm4177';\nSELECT COUNT(*) FROM DatiGestoreSim;\n" |
  sqlcipher "$PROGRAMMA/archivio.mdb" 2>/dev/null | tail -n 1 | grep -v '^0$')" ]; then
  printf "PRAGMA key = '5830kvm4177';\nINSERT INTO DatiGestoreSim (GestoreSim, Operativo, TelCredito, TestoSmsCredito, ModalitaCre, ModRispCredito, CreditoSim, DataScadenza) VALUES ('Rete Simulata', 1, '*123#', '', 2, 0, '', '');\n" |
    sqlcipher "$PROGRAMMA/archivio.mdb" >/dev/null || true
fi

"$PROGRAMMA/veltrika-gsm-sim" avvia --porta "$PORTE/COM1" &
SIM=$!
STAMPANTE=""
# The receipt printer, simulated too on COM2 (the delivered printer port) unless COM2 is taken.
if [ ! -e "$PORTE/COM2" ] || link_del_simulatore "$PORTE/COM2"; then
  "$PROGRAMMA/veltrika-stampante-sim" --porta "$PORTE/COM2" >>"$PORTE/COM2.stampe.txt" 2>&1 &
  STAMPANTE=$!
fi
trap 'kill $SIM $STAMPANTE 2>/dev/null || true; wait $SIM $STAMPANTE 2>/dev/null || true' EXIT
for _ in $(seq 100); do
  [ -L "$PORTE/COM1" ] && [ -e "$PORTE/COM1" ] && break
  sleep 0.05
done
echo "Per far arrivare un SMS: $PROGRAMMA/veltrika-gsm-sim sms +393331234567 \"Vorrei una margherita\""
if [ -n "$STAMPANTE" ]; then
  echo "Scontrini della stampante a 80 colonne: tail -f $PORTE/COM2.stampe.txt"
fi
"$PROGRAMMA/veltrika"
