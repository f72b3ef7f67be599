#!/usr/bin/env bash
# Runs a command with the demo's simulated hardware around it:
#
#   scripts/simulatori.sh <program-folder> <command> [args...]
#
# The GSM modem simulator is started on porte/COM1 of the program folder and, unless COM2 is
# taken, the 80-column receipt printer simulator on porte/COM2; what it prints is appended to
# porte/COM2.stampe.txt. Both stop when the command ends, and the script ends as the command
# does. When porte/COM1 is already linked to something that is not a simulator, nothing is
# started and the command runs alone.
set -euo pipefail
if [ $# -lt 2 ]; then
  echo "Uso: $0 <cartella del programma> <comando> [argomenti...]" >&2
  exit 2
fi
# shellcheck source=collegamenti.sh
source "$(dirname "$0")/collegamenti.sh"

PROGRAMMA="$(cd "$1" && pwd)"
shift
PORTE="$PROGRAMMA/porte"

if [ -e "$PORTE/COM1" ] && ! link_del_simulatore "$PORTE/COM1"; then
  echo "porte/COM1 è già collegata a $(readlink -f "$PORTE/COM1"): il simulatore non parte." >&2
  exec "$@"
fi

# The printer's output is redirected into porte/ before either simulator has made the folder.
mkdir -p "$PORTE"

# The delivered archive names no operator; the demo gives the simulated SIM one, once.
if [ -z "$(printf "PRAGMA key = '5830kvm4177';\nPRAGMA cipher_compatibility = 3;\nSELECT COUNT(*) FROM DatiGestoreSim;\n" |
  sqlcipher "$PROGRAMMA/archivio.mdb" 2>/dev/null | tail -n 1 | grep -v '^0$')" ]; then
  printf "PRAGMA key = '5830kvm4177';\nPRAGMA cipher_compatibility = 3;\nINSERT INTO DatiGestoreSim (GestoreSim, Operativo, TelCredito, TestoSmsCredito, ModalitaCre, ModRispCredito, CreditoSim, DataScadenza) VALUES ('Rete Simulata', 1, '*123#', '', 2, 0, '', '');\n" |
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
"$@"
