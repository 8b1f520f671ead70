#!/usr/bin/env bash
# Installs what building and testing Tamzelon needs on Debian 12, and only
# what is missing. Runs apt-get through sudo when not run as root.
set -euo pipefail

packages=(
    cmake g++ clang pkg-config
    libsdl2-dev libpng-dev
    libgtest-dev libbenchmark-dev libclang-rt-14-dev
    xvfb xdotool imagemagick python3-pil
    chromium chromium-driver python3-selenium
    dpkg-dev
    lintian appstream desktop-file-utils man-db groff-base
    emscripten
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done

if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    sudo=""
    if [ "$(id -u)" -ne 0 ]; then
        sudo="sudo"
    fi
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
