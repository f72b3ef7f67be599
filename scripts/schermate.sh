#!/usr/bin/env bash
# Takes again the screenshots of the user guide from the program (docs/schermate/*.png), after a
# change to a window. Headless: no display is needed.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target crea-schermate
build/tools/crea-schermate/crea-schermate docs/schermate
