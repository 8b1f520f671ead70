#!/usr/bin/env bash
# Installs into a temporary prefix and checks how the launcher prepares the
# player's game folder and starts the game there.
# Usage: launcher_test.sh <build dir>
set -euo pipefail
build=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failed=0
fail() {
    echo "FAIL: $*" >&2
    failed=1
}

cmake --install "$build" --prefix "$tmp/prefix" >"$tmp/install.log"
launcher="$tmp/prefix/bin/tamzelon"
sounds=$(readlink -f "$tmp/prefix/share/tamzelon/Sounds")
[ -f "$sounds/Knall.wav" ] || { echo "FAIL: no installed sounds" >&2; exit 1; }

# Runs the launcher with only the given environment; prepare-only unless
# the caller overrides it.
launch() {
    env -i PATH="$PATH" TAMZELON_PREPARE_ONLY=1 "$@"
}
linked() {
    [ "$(readlink -f "$1/Sounds")" = "$sounds" ] && [ -f "$1/Sounds/Klick.wav" ]
}

# A fresh player, with and without XDG_DATA_HOME; a relative one is ignored.
launch HOME="$tmp/home1" XDG_DATA_HOME="$tmp/data1" "$launcher" || fail "launcher failed"
linked "$tmp/data1/tamzelon" || fail "no Sounds link below XDG_DATA_HOME"
[ ! -e "$tmp/home1" ] || fail "HOME used although XDG_DATA_HOME is set"
launch HOME="$tmp/home2" "$launcher" || fail "launcher failed without XDG_DATA_HOME"
linked "$tmp/home2/.local/share/tamzelon" || fail "no Sounds link below ~/.local/share"
(cd "$tmp" && launch HOME="$tmp/home3" XDG_DATA_HOME=relative "$launcher") || fail "launcher failed"
linked "$tmp/home3/.local/share/tamzelon" || fail "relative XDG_DATA_HOME not ignored"
if launch "$launcher" 2>"$tmp/err"; then
    fail "no HOME and no XDG_DATA_HOME accepted"
fi
grep -q HOME "$tmp/err" || fail "no clear message without HOME: $(cat "$tmp/err")"

# A player from an older install: the stale link is repaired, the high
# scores are left exactly as they were. Started through a link to the
# launcher, as a distribution might place it.
folder="$tmp/data4/tamzelon"
mkdir -p "$folder"
ln -s "$tmp/gone/Sounds" "$folder/Sounds"
printf 'old scores\0\1\2' >"$folder/highscore.sav"
touch -d '2001-02-03 04:05:06' "$folder/highscore.sav"
cp -p "$folder/highscore.sav" "$tmp/scores.before"
mkdir "$tmp/games"
ln -s "$launcher" "$tmp/games/tamzelon"
launch HOME="$tmp/home4" XDG_DATA_HOME="$tmp/data4" "$tmp/games/tamzelon" || fail "launcher failed"
linked "$folder" || fail "stale Sounds link not repaired"
cmp -s "$folder/highscore.sav" "$tmp/scores.before" || fail "highscore.sav changed"
[ "$(stat -c %Y "$folder/highscore.sav")" = "$(stat -c %Y "$tmp/scores.before")" ] ||
    fail "highscore.sav touched"

# A plain file in the way of the sounds is reported and kept.
folder="$tmp/data5/tamzelon"
mkdir -p "$folder"
echo mine >"$folder/Sounds"
if launch XDG_DATA_HOME="$tmp/data5" "$launcher" 2>"$tmp/err"; then
    fail "a file named Sounds accepted"
fi
[ "$(cat "$folder/Sounds")" = mine ] || fail "the file named Sounds was changed"
grep -q Sounds "$tmp/err" || fail "no clear message for a file named Sounds"

# Without prepare-only the game starts in the player's folder with the
# player's options, word for word; a stand-in for the installed game records
# how it was started.
game="$tmp/prefix/libexec/tamzelon/tamzelon"
printf '#!/bin/sh\npwd >"%s"\nprintf "[%%s]" "$@" >>"%s"\n' "$tmp/started" "$tmp/started" >"$game"
env -i PATH="$PATH" XDG_DATA_HOME="$tmp/data6" "$launcher" --window "two words" ||
    fail "game not started"
[ "$(cat "$tmp/started" 2>/dev/null)" = "$(printf '%s\n[--window][two words]' "$tmp/data6/tamzelon")" ] ||
    fail "game not started in its folder with the options: $(cat "$tmp/started" 2>/dev/null)"

rm "$game"
if launch XDG_DATA_HOME="$tmp/data7" "$launcher" 2>"$tmp/err"; then
    fail "a missing game accepted"
fi
grep -q missing "$tmp/err" || fail "no clear message for a missing game"

exit $failed
