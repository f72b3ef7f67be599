#!/usr/bin/env bash
# Sets up, builds and starts the program from its program folder.
#
# With no USB modem attached (/dev/ttyUSB*, /dev/ttyACM*), or with --simulatore, the project's
# modem simulator is started on a pseudo-terminal and linked as porte/COM1 of the program
# folder, so the whole program works without hardware; it stops when the program ends. The
# 80-column receipt printer is simulated the same way on porte/COM2; what it prints is appended
# to porte/COM2.stampe.txt. scripts/simulatori.sh does that part.
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

source scripts/collegamenti.sh

if [ "$simulatore" = 0 ]; then
  # A real modem: the program searches the machine's serial devices, unless porte/ was set up
  # by hand.
  if link_del_simulatore "$PORTE/COM1"; then rm -f "$PORTE/COM1"; fi
  rmdir "$PORTE" 2>/dev/null || true
  exec "$PROGRAMMA/veltrika"
fi

exec bash scripts/simulatori.sh "$PROGRAMMA" "$PROGRAMMA/veltrika"
