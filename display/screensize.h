// The display mode the game runs in: 640 x 480 pixels at 16 bits, or at 8
// bits where the card has no 16-bit mode.
#pragma once

constexpr int SCREEN_WIDTH = 640;
constexpr int SCREEN_HEIGHT = 480;
constexpr int SCREEN_BITS_PER_PIXEL = 16;
constexpr int SCREEN_FALLBACK_BITS_PER_PIXEL = 8;
