// The image data of a Photoshop document: planar 8-bit channels, raw or
// PackBits run-length coded, turned into a 32-bit top-down pixel buffer
// (bytes blue, green, red, alpha per pixel) for StretchDIBits.
#pragma once

#include <cstdint>
#include <cstdio>
#include <vector>

// The largest width or height a version-1 document may have.
constexpr std::uint32_t PSD_MAX_SIZE = 30000;

// Reads from the file's current position. Channels fill the pixel bytes red,
// green, blue, alpha in the file's order as far as the channel count reaches;
// bytes without a channel are 0 (alpha 255). False, with nothing allocated,
// for an empty or oversized image, no channels, an unknown compression or more
// data than the rest of the file can hold; false also for data that end early
// or run-length codes that overrun a channel.
bool ReadPsdImageData(std::FILE* file, std::uint32_t channels, std::uint32_t width,
                      std::uint32_t height, std::uint32_t compression,
                      std::vector<std::uint8_t>& pixels);
