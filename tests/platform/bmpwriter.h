// Writes small Windows bitmaps for the bitmap tests, at any of the depths the
// reader knows, from a picture of colours given row by row from the top.
#pragma once

#include "platform/win32/pixelbuffer.h"

#include <cstdint>
#include <vector>

namespace testbmp
{

using Picture = std::vector<std::vector<platform::Rgb>>;

struct BmpOptions
{
    int bitsPerPixel = 24;
    bool topDown = false;
    bool fileHeader = true; // false: the packed form of resources
};

std::vector<std::uint8_t> WriteBmp(const Picture& picture, const BmpOptions& options);

// Field offsets in a written file (with file header).
constexpr std::size_t kOffBitsOffset = 10;
constexpr std::size_t kInfoOffset = 14;

void PutDword(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value);

} // namespace testbmp
