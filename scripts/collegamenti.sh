# shellcheck shell=bash
# Sourced by the scripts that look after the links in a program folder's porte/.

# A link left by an earlier simulator run points into /dev/pts (or nowhere): not a real port.
link_del_simulatore() {
  [ -L "$1" ] && case "$(readlink "$1")" in /dev/pts/*) return 0 ;; esac
  [ -L "$1" ] && [ ! -e "$1" ]
}
