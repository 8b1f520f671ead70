#!/bin/sh
# Started without any display server, the game must say why on the terminal
# and end, not run where nobody can see it; nothing is written.
# usage: no_display.sh GAME SOUNDS_DIR
set -u
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$2" "$work/Sounds" && cd "$work" || exit 1
env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER SDL_AUDIODRIVER=dummy timeout 30 "$1" 2>stderr ||
    { echo "the game ended with status $?"; cat stderr; exit 1; }
grep -q "DirectDraw Error DDERR_INVALIDMODE" stderr || { echo "no message about the refused display:"; cat stderr; exit 1; }
[ ! -e highscore.sav ] || { echo "highscore.sav was written"; exit 1; }
echo "no_display passed"
