#!/bin/sh
# Started without any display server, the game must say why on the terminal
# and end, not run where nobody can see it; nothing is written.
# usage: no_display.sh GAME SOUNDS_DIR
set -eu
game=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$2" "$work/Sounds"
cd "$work"
status=0
env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER SDL_AUDIODRIVER=dummy \
    timeout 30 "$game" 2> "$work/stderr" || status=$?
if [ "$status" -ne 0 ]; then
    echo "the game ended with status $status"; cat "$work/stderr"; exit 1
fi
if ! grep -q "DirectDraw Error DDERR_INVALIDMODE" "$work/stderr"; then
    echo "no message about the refused display:"; cat "$work/stderr"; exit 1
fi
if [ -e "$work/highscore.sav" ]; then
    echo "highscore.sav was written"; exit 1
fi
echo "no_display passed"
