// Pictures of the game as PNG files, through libpng's simplified interface:
// the render tool's picture to look at, and the golden images the tests
// compare with.
#pragma once

#include "platform/win32/pixelbuffer.h"

#include <cstdint>
#include <string>
#include <vector>

struct RgbImage
{
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels; // red, green, blue; rows from the top

    bool operator==(const RgbImage&) const = default;
};

RgbImage ToRgbImage(const platform::PixelBuffer& picture);

// Each answers an empty string on success, otherwise why it failed.
std::string WritePng(const std::string& path, const RgbImage& image);
std::string ReadPng(const std::string& path, RgbImage& image);
