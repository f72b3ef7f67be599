#!/usr/bin/env bash
# Installs the Debian 12 or 13 packages the program, its tools and its tests need.
# Runs as root (or through sudo); does nothing when everything is already there.
set -euo pipefail

PACKAGES=(
  build-essential cmake ninja-build pkg-config clang-format file
  qt6-base-dev qt6-base-dev-tools qt6-serialport-dev qt6-multimedia-dev
  qt6-translations-l10n libqt6svg6
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-alsa
  libsqlcipher-dev sqlcipher sqlite3
  libxlsxwriter-dev libminizip-dev unzip python3-openpyxl
  xdg-utils poppler-utils fonts-liberation fonts-dejavu-core
  dbus-daemon # the private bus of the tests' stand-in ModemManager
)
# Packages only some releases have (Debian 13 moved Qt's SVG image plugin into its own): one
# name apt does not know would make the whole install fail, so each is added where it exists.
OPTIONAL=(qt6-svg-plugins)

# grep reads to the end: with pipefail, grep -q could end apt-cache by SIGPIPE and say "no".
disponibile() {
  LC_ALL=C apt-cache policy "$1" 2>/dev/null | grep '^  Candidate: [^(]' >/dev/null
}
installato() {
  dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep 'install ok installed' >/dev/null
}
mancanti() {
  missing=()
  for p in "${PACKAGES[@]}"; do
    installato "$p" || missing+=("$p")
  done
  for p in "${OPTIONAL[@]}"; do
    if ! installato "$p" && disponibile "$p"; then missing+=("$p"); fi
  done
}

mancanti
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
# Asked again: a fresh system knows the optional packages only after the update.
mancanti
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
