// Writes an RGB picture as an uncompressed PNG file, so that tools and tests
// can leave pictures of the game to look at without any image library.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// pixels: width x height x 3 bytes, rows from the top. False when the file
// cannot be written.
bool WritePng(const std::string& path, int width, int height,
              const std::vector<std::uint8_t>& pixels);
