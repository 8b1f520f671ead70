#!/usr/bin/env bash
# Builds the game for a web browser into a folder of static files (default
# build-web/site/) that any web host serves as it is. Emscripten must be
# installed (scripts/setup.sh does it). The resource embedder is built for
# this machine first, since the browser's build cannot run its own.
set -euo pipefail
cd "$(dirname "$0")/.."

site=$(realpath -m "${1:-build-web/site}")
work=build-web
# Debian's Emscripten finds its JavaScript tools (acorn) through this.
export NODE_PATH=${NODE_PATH:-/usr/share/nodejs}

mkdir -p "$work/host"
if [ ! -x "$work/host/tz_embed" ] || [ tools/embed.cpp -nt "$work/host/tz_embed" ]; then
    c++ -std=c++20 -O2 -o "$work/host/tz_embed" tools/embed.cpp
fi

emcmake cmake -S . -B "$work/wasm" -DCMAKE_BUILD_TYPE=Release -DTZ_WERROR=ON \
    -DTZ_HOST_EMBED="$PWD/$work/host/tz_embed" >/dev/null
cmake --build "$work/wasm" -j "$(nproc)"

mkdir -p "$site"
for file in index.html tamzelon-page.js tamzelon-page.css tamzelon.js tamzelon.wasm tamzelon.data; do
    cp "$work/wasm/app/$file" "$site/"
done
echo "The page is in $site"
