#!/usr/bin/env bash
# Measures the real game in a private X server: CPU use over 10 seconds at the
# menu and 10 seconds in a game, as percent of one core, and its peak memory.
# Builds the game first if needed. BUILD_DIR chooses the build (default build).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}
game="$PWD/$build/app/tamzelon"
window=10

if [ ! -x "$game" ]; then
    cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
    cmake --build "$build" --target tamzelon -j "$(nproc)"
fi
for tool in Xvfb xdotool; do
    command -v "$tool" >/dev/null || { echo "measure.sh: $tool is missing (bash scripts/setup.sh)" >&2; exit 1; }
done

tmp=$(mktemp -d)
xvfb=""
pid=""
cleanup() {
    for started in $pid $xvfb; do
        kill "$started" 2>/dev/null || true
        wait "$started" 2>/dev/null || true
    done
    rm -rf "$tmp"
}
trap cleanup EXIT

# Xvfb picks a free display and writes its number once it is ready.
Xvfb -displayfd 3 -screen 0 640x480x24 -nolisten tcp 3>"$tmp/display" 2>"$tmp/xvfb.log" &
xvfb=$!
for _ in $(seq 100); do
    grep -q '^[0-9][0-9]*$' "$tmp/display" 2>/dev/null && break
    sleep 0.1
done
display=":$(cat "$tmp/display")"
[ "$display" != ":" ] || { cat "$tmp/xvfb.log" >&2; echo "measure.sh: Xvfb did not start" >&2; exit 1; }

# The game reads "Sounds" below its working directory and keeps its high
# scores there.
mkdir "$tmp/run" "$tmp/run/Sounds"
cp resources/sounds/*.wav "$tmp/run/Sounds/"
(cd "$tmp/run" && DISPLAY="$display" SDL_AUDIODRIVER=dummy exec "$game") >"$tmp/game.log" 2>&1 &
pid=$!

ticks=$(getconf CLK_TCK)
# Prints "<cpu ticks> <nanoseconds>" for the game; the fields after the
# command name in parentheses, utime and stime, are 12th and 13th.
sample() {
    local stat fields
    stat=$(cat "/proc/$pid/stat") || { echo "measure.sh: the game ended early" >&2; cat "$tmp/game.log" >&2; exit 1; }
    read -r -a fields <<<"${stat##*) }"
    echo "$((fields[11] + fields[12])) $(date +%s%N)"
}
# Percent of one core between two samples.
percent() {
    local cpu0 ns0 cpu1 ns1
    read -r cpu0 ns0 <<<"$1"
    read -r cpu1 ns1 <<<"$2"
    awk -v c="$((cpu1 - cpu0))" -v t="$ticks" -v n="$((ns1 - ns0))" \
        'BEGIN { printf "%.1f %% of one core over %.1f s", 100 * c / t / (n / 1e9), n / 1e9 }'
}

sleep 5 # the intro takes 4 seconds
start=$(sample)
sleep "$window"
end=$(sample)
menu=$(percent "$start" "$end")

DISPLAY="$display" xdotool mousemove 250 175 click 1
sleep 1
# The strip right of the field is plain dark green only on the game screen.
if command -v import >/dev/null; then
    strip=$(import -display "$display" -window root -crop 35x170+605+60 +repage \
        -format '%[fx:round(255*mean.r)],%[fx:round(255*mean.g)],%[fx:round(255*mean.b)]' info:)
    [ "$strip" = 0,32,0 ] || { echo "measure.sh: the game did not start (strip $strip)" >&2; exit 1; }
fi
start=$(sample)
sleep "$window"
end=$(sample)
playing=$(percent "$start" "$end")

peak=$(awk '/^VmHWM:/ { printf "%.1f MiB", $2 / 1024 }' "/proc/$pid/status")
echo "menu:        $menu"
echo "game:        $playing"
echo "peak memory: $peak (VmHWM)"
