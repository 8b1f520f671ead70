#!/usr/bin/env bash
# Installs what is missing, builds the game for a web browser and serves the
# page at http://127.0.0.1:8000/ (another port as the first argument).
set -euo pipefail
cd "$(dirname "$0")/.."

port=${1:-8000}
bash scripts/setup.sh
bash scripts/build-web.sh build-web/site
echo "Tamzelon im Browser: http://127.0.0.1:$port/"
exec python3 -m http.server --bind 127.0.0.1 --directory build-web/site "$port"
