#!/bin/sh
# Started without a display server, or with a DISPLAY that names none (a stale
# one, a server not up yet), the game must say why on the terminal and end
# with status 1, not run where nobody can see it; nothing is written.
# usage: no_display.sh GAME SOUNDS_DIR
set -u
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$2" "$work/Sounds" && cd "$work" || exit 1
absent=:99
while [ -e "/tmp/.X11-unix/X${absent#:}" ]; do absent=":$((${absent#:} + 1))"; done
for display in "" "$absent"; do
    env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER ${display:+DISPLAY=$display} \
        SDL_AUDIODRIVER=dummy timeout 30 "$1" 2>stderr
    status=$?
    [ "$status" = 1 ] || { echo "DISPLAY '$display': the game ended with status $status"; cat stderr; exit 1; }
    grep -q "DirectDraw Error DDERR_INVALIDMODE" stderr ||
        { echo "DISPLAY '$display': no message about the refused display:"; cat stderr; exit 1; }
    [ ! -e highscore.sav ] || { echo "highscore.sav was written"; exit 1; }
done
echo "no_display passed"
