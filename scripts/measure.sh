#!/usr/bin/env bash
# Measures the real game in a private X server of 1024 x 768, so that the
# picture is scaled: CPU seconds per 10 seconds at the menu and in a game,
# once with the pointer still and once moved every 20 ms, and the resident and
# private memory (Private_Clean + Private_Dirty) at each.
# Builds the game first if needed. BUILD_DIR chooses the build (default build).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}
case $build in /*) ;; *) build="$PWD/$build" ;; esac
game="$build/app/tamzelon"
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
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$tmp/display" 2>"$tmp/xvfb.log" &
xvfb=$!
for _ in $(seq 100); do
    grep -q '^[0-9][0-9]*$' "$tmp/display" 2>/dev/null && break
    sleep 0.1
done
display=":$(cat "$tmp/display")"
[ "$display" != ":" ] || { cat "$tmp/xvfb.log" >&2; echo "measure.sh: Xvfb did not start" >&2; exit 1; }

# The game reads "Sounds" below its working directory and keeps its high
# scores there; the player's own settings (a window chosen last) stay out.
mkdir "$tmp/run" "$tmp/run/Sounds"
cp resources/sounds/*.wav "$tmp/run/Sounds/"
(cd "$tmp/run" && DISPLAY="$display" SDL_AUDIODRIVER=dummy XDG_CONFIG_HOME="$tmp/config" \
    exec "$game") >"$tmp/game.log" 2>&1 &
pid=$!

# CPU nanoseconds of all the game's threads, and the time now.
sample() {
    [ -d "/proc/$pid" ] || { echo "measure.sh: the game ended early" >&2; cat "$tmp/game.log" >&2; exit 1; }
    echo "$(cat /proc/"$pid"/task/*/schedstat | awk '{ s += $1 } END { printf "%.0f", s }') $(date +%s%N)"
}
# CPU seconds per 10 seconds between two samples.
cpu() {
    local cpu0 ns0 cpu1 ns1
    read -r cpu0 ns0 <<<"$1"
    read -r cpu1 ns1 <<<"$2"
    awk -v c="$((cpu1 - cpu0))" -v n="$((ns1 - ns0))" 'BEGIN { printf "%.3f", 10 * c / n }'
}
# A pointer path of 500 steps, one every 20 ms, zigzagging over the rectangle
# left top right bottom (screen pixels).
zigzag() {
    awk -v l="$1" -v t="$2" -v r="$3" -v b="$4" 'BEGIN {
        for (i = 0; i < 500; i++) {
            x = l + (i * 37) % (r - l); y = t + (i * 23) % (b - t)
            printf "mousemove %d %d sleep 0.02 ", x, y
        }
    }'
}
# Standing, then moving over the given rectangle; prints both.
measure() {
    local start end standing moving
    DISPLAY="$display" xdotool mousemove "$5" "$6"
    sleep 1
    start=$(sample)
    sleep "$window"
    end=$(sample)
    standing=$(cpu "$start" "$end")
    start=$(sample)
    # shellcheck disable=SC2046
    DISPLAY="$display" xdotool $(zigzag "$1" "$2" "$3" "$4")
    end=$(sample)
    moving=$(cpu "$start" "$end")
    local rss private
    rss=$(awk '/^VmRSS:/ { printf "%.1f", $2 / 1024 }' "/proc/$pid/status")
    private=$(awk '/^Private_(Clean|Dirty):/ { s += $2 } END { printf "%.1f", s / 1024 }' "/proc/$pid/smaps_rollup")
    echo "standing $standing s, moving $moving s (CPU per 10 s); RSS $rss MiB, private $private MiB"
}

sleep 5 # the intro takes 4 seconds
# The picture is 640 x 480 scaled by 1.6: the menu's buttons lie within
# (160..480, 120..420) of the picture, the field within (0..600, 80..480).
menu=$(measure 256 192 768 672 900 700)

DISPLAY="$display" xdotool mousemove 400 280 click 1
sleep 1
# The strip right of the field is plain dark green only on the game screen.
if command -v import >/dev/null; then
    strip=$(import -display "$display" -window root -crop 56x272+968+96 +repage \
        -format '%[fx:round(255*mean.r)],%[fx:round(255*mean.g)],%[fx:round(255*mean.b)]' info:)
    [ "$strip" = 0,32,0 ] || { echo "measure.sh: the game did not start (strip $strip)" >&2; exit 1; }
fi
playing=$(measure 0 128 960 768 1000 20)

echo "menu: $menu"
echo "game: $playing"
