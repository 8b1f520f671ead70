#!/usr/bin/env bash
# Installs into a temporary prefix and checks how the launcher prepares the
# player's game folder and starts the game there.
# Usage: launcher_test.sh <build dir>
set -euo pipefail
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failed=0
fail() { echo "FAIL: $*" >&2; failed=1; }

cmake --install "$1" --prefix "$tmp/prefix" >"$tmp/install.log"
launcher="$tmp/prefix/bin/tamzelon"
sounds=$(readlink -f "$tmp/prefix/share/tamzelon/Sounds")
[ -f "$sounds/Knall.wav" ] || { echo "FAIL: no installed sounds" >&2; exit 1; }
# The launcher with only the given environment, preparing only.
run() { env -i PATH="$PATH" TAMZELON_PREPARE_ONLY=1 "$@"; }
launch() { run "$@" || fail "launcher failed: $*"; }
# launch_fails WORD ENV...: the launcher must refuse and name WORD.
launch_fails() {
    local word=$1; shift
    ! run "$@" "$launcher" 2>"$tmp/err" || fail "accepted: $*"
    grep -q "$word" "$tmp/err" || fail "no clear message about $word: $(cat "$tmp/err")"
}
linked() { [ "$(readlink -f "$1/Sounds")" = "$sounds" ] && [ -f "$1/Sounds/Klick.wav" ] || fail "no link in $1"; }

# A fresh player, with and without XDG_DATA_HOME; a relative one is ignored.
launch HOME="$tmp/home1" XDG_DATA_HOME="$tmp/data1" "$launcher"; linked "$tmp/data1/tamzelon"
[ ! -e "$tmp/home1" ] || fail "HOME used although XDG_DATA_HOME is set"
launch HOME="$tmp/home2" "$launcher"; linked "$tmp/home2/.local/share/tamzelon"
(cd "$tmp" && run HOME="$tmp/home3" XDG_DATA_HOME=relative "$launcher") || fail "launcher failed"
linked "$tmp/home3/.local/share/tamzelon"
launch_fails HOME

# An older install's player, started through a link as a distribution might
# place it: the stale link is repaired, the high scores left exactly as they were.
folder="$tmp/data4/tamzelon"
mkdir -p "$folder" "$tmp/games"
ln -s "$tmp/gone/Sounds" "$folder/Sounds"
printf 'old scores\0\1\2' >"$folder/highscore.sav"
touch -d '2001-02-03 04:05:06' "$folder/highscore.sav"
cp -p "$folder/highscore.sav" "$tmp/scores.before"
ln -s "$launcher" "$tmp/games/tamzelon"
launch HOME="$tmp/home4" XDG_DATA_HOME="$tmp/data4" "$tmp/games/tamzelon"; linked "$folder"
cmp -s "$folder/highscore.sav" "$tmp/scores.before" &&
    [ "$(stat -c %Y "$folder/highscore.sav")" = "$(stat -c %Y "$tmp/scores.before")" ] || fail "highscore.sav touched"

# A plain file in the way of the sounds is reported and kept.
mkdir -p "$tmp/data5/tamzelon"
echo mine >"$tmp/data5/tamzelon/Sounds"
launch_fails Sounds XDG_DATA_HOME="$tmp/data5"
[ "$(cat "$tmp/data5/tamzelon/Sounds")" = mine ] || fail "the file named Sounds was changed"

# Not preparing only, the game starts in the player's folder with the
# player's options, word for word; a stand-in records how it was started.
game="$tmp/prefix/libexec/tamzelon/tamzelon"
printf '#!/bin/sh\npwd >"%s"\nprintf "[%%s]" "$@" >>"%s"\n' "$tmp/started" "$tmp/started" >"$game"
env -i PATH="$PATH" XDG_DATA_HOME="$tmp/data6" "$launcher" --window "two words" || fail "game not started"
[ "$(cat "$tmp/started")" = "$(printf '%s\n[--window][two words]' "$tmp/data6/tamzelon")" ] ||
    fail "started as: $(cat "$tmp/started")"
rm "$game"
launch_fails missing XDG_DATA_HOME="$tmp/data7"
exit $failed
