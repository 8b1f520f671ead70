// Photoshop documents: the signature test and the whole reading of a version-1
// RGB document with 8-bit planar channels, raw or PackBits run-length coded,
// into a 32-bit top-down pixel buffer (bytes blue, green, red, alpha per
// pixel) for StretchDIBits.
#pragma once

#include <cstdint>
#include <vector>

// The largest width or height a version-1 document may have.
constexpr std::uint32_t PSD_MAX_SIZE = 30000;

// True when the file at path opens and starts with the Photoshop signature.
bool IsPsdFile(const char* path);

// Reads the document at path. Width and height are set as soon as the header
// has given them, even when a later part fails. Channels fill the pixel bytes
// red, green, blue, alpha in the file's order as far as the channel count
// reaches; bytes without a channel are 0 (alpha 255). False, with nothing
// allocated, for a file that cannot be opened, a wrong signature, version,
// depth or colour mode, more than 24 channels, a header or section that ends
// early, an empty or oversized image, an unknown compression or more data than
// the rest of the file can hold; false also for data that end early or
// run-length codes that overrun a channel.
bool ReadPsdFile(const char* path, int& width, int& height, std::vector<std::uint8_t>& pixels);
