#!/usr/bin/env bash
# Sets up, builds and starts the program from its program folder.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
exec ./build/programma/veltrika "$@"
