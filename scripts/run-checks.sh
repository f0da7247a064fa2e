#!/bin/sh
# What `make run` checks before it builds anything: a display to open the window on (without
# one the build would take minutes and end in the toolkit's abort), and who is installing.
# Usage: run-checks.sh PROGRAM_DIR
set -eu
program_dir=$1

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    cat >&2 <<'TEXT'
Talo ne peut pas s'ouvrir ici : aucun écran n'est disponible (ni DISPLAY ni WAYLAND_DISPLAY).

Talo est un programme à fenêtres. Selon votre cas :
  - sur l'ordinateur lui-même : lancez « make run » dans un terminal ouvert depuis votre
    session de bureau (et non dans une console texte) ;
  - par ssh depuis un ordinateur qui a un écran : reconnectez-vous avec « ssh -X » ;
  - sur un serveur sans écran : voir « Sans écran » dans README.md (bureau à distance VNC).
Pour seulement construire et installer Talo, sans le lancer : make install

Rien n'a été construit ni installé.
TEXT
    exit 2
fi

if [ "$(id -u)" -eq 0 ]; then
    cat >&2 <<TEXT
Remarque : make run est lancé par root. Talo sera installé dans $program_dir et mis dans
le menu de root seulement. Pour l'avoir dans votre propre bureau, lancez plutôt make run sous
votre nom d'utilisateur (les paquets qui manquent seront installés avec sudo).
TEXT
fi
