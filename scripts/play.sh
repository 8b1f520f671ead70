#!/usr/bin/env bash
# Installs what is missing, builds Tamzelon and starts it. The game reads its
# sounds from "Sounds" below its working directory and keeps "highscore.sav"
# there, so it runs in the build's app folder, where the sounds are copied.
# Options (e.g. --window) are passed on to the game.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$(nproc)"
cd build/app
exec ./tamzelon "$@"
