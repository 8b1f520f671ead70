#!/usr/bin/env bash
# Bakes the program's text faces into resources/fonts/bakedfonts.cpp and
# replaces it only once the new table draws every line of a large corpus
# exactly as SDL_ttf draws it from the fonts. Needs g++ and Debian's
# libsdl2-ttf-dev (which brings FreeType and HarfBuzz); the game's build needs
# none of them, as the table is committed.
#
#     bash resources/fonts/bake_fonts.sh
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

flags=(-std=c++20 -O2 -Wall -Wextra -Werror -I"$root")
# shellcheck disable=SC2046 # pkg-config's words are meant to split
g++ "${flags[@]}" "$here/bake_fonts.cpp" "$root/platform/win32/codepage.cpp" \
    $(pkg-config --cflags --libs freetype2 harfbuzz) -o "$work/bake_fonts"
"$work/bake_fonts" "$here" "$work/bakedfonts.cpp"

# shellcheck disable=SC2046
g++ "${flags[@]}" "$root/platform/sdl/tools/check_baked_fonts.cpp" "$work/bakedfonts.cpp" \
    "$root/platform/font/fontrasterizer.cpp" "$root/platform/win32/codepage.cpp" \
    $(pkg-config --cflags --libs SDL2_ttf) -o "$work/check_baked_fonts"
"$work/check_baked_fonts" "$here"

cp "$work/bakedfonts.cpp" "$here/bakedfonts.cpp"
echo "wrote $here/bakedfonts.cpp"
