#!/usr/bin/env bash
# Installs what is missing, builds the browser's site, then builds and runs
# every test twice: with g++ (the browser's tests among them), and with clang
# under AddressSanitizer and UndefinedBehaviorSanitizer, where the fuzz targets
# run too. Between them, a Release build proves that the optimiser finds
# nothing to warn about either.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
jobs=$(nproc)

echo "== the game for the browser, which the g++ tests drive in headless Chromium"
bash scripts/build-web.sh build-web/site

echo "== g++ build and tests"
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTZ_WERROR=ON
cmake --build build -j "$jobs"
(cd build && ctest --output-on-failure -j "$jobs")

echo "== g++ Release build, as packagers build it, with warnings as errors"
cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release -DTZ_WERROR=ON -DTZ_BENCH=OFF
cmake --build build-release -j "$jobs"

echo "== clang build with sanitizers and fuzz targets"
CC=clang CXX=clang++ cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DTZ_WERROR=ON \
    -DTZ_SANITIZE=ON -DTZ_FUZZ=ON -DTZ_BENCH=OFF
cmake --build build-sanitize -j "$jobs"
(cd build-sanitize && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --output-on-failure -j "$jobs")

echo "== size of the tests"
/usr/bin/python3 scripts/test_proportion.py
