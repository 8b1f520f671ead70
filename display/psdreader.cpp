// Reads Photoshop documents: the header and its sections, then the channels.
#include "display/psdreader.h"

#include "platform/win32/byteorder.h"
#include "platform/win32/gamepath.h"

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <memory>

namespace
{

struct FileCloser
{
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

constexpr char kSignature[4] = {'8', 'B', 'P', 'S'};
constexpr std::uint16_t kVersion = 1;
constexpr std::uint16_t kMaxChannels = 24;
constexpr std::uint16_t kDepth = 8;
constexpr std::uint16_t kModeRgb = 3;

// Signature, version, six reserved bytes, channels, height, width, depth, mode.
constexpr std::size_t kHeaderSize = 26;
constexpr std::size_t kVersionAt = 4;
constexpr std::size_t kChannelsAt = 12;
constexpr std::size_t kHeightAt = 14;
constexpr std::size_t kWidthAt = 18;
constexpr std::size_t kDepthAt = 22;
constexpr std::size_t kModeAt = 24;

// Colour mode data, image resources, layer and mask information.
constexpr int kSkippedSections = 3;

constexpr std::uint32_t COMPRESSION_RAW = 0;
constexpr std::uint32_t COMPRESSION_PACKBITS = 1;

// Pixel byte each channel slot fills, and its value when the file has no such channel.
constexpr int kSlotByte[4] = {2, 1, 0, 3};
constexpr std::uint8_t kSlotFill[4] = {0, 0, 0, 255};

// Bytes from the current position to the end of the file, or -1.
long long BytesLeft(std::FILE* file)
{
    const long here = std::ftell(file);
    if (here < 0 || std::fseek(file, 0, SEEK_END) != 0)
        return -1;
    const long end = std::ftell(file);
    if (end < 0 || std::fseek(file, here, SEEK_SET) != 0)
        return -1;
    return end >= here ? static_cast<long long>(end) - here : -1;
}

// Cursor over the bytes read from the file; never reads past them.
struct Source
{
    const std::vector<std::uint8_t>& bytes;
    std::size_t next = 0;

    std::size_t Left() const { return bytes.size() - next; }
};

bool ReadRaw(Source& source, std::uint8_t* pixels, std::size_t count)
{
    if (source.Left() < count)
        return false;
    for (std::size_t i = 0; i < count; ++i)
        pixels[i * 4] = source.bytes[source.next++];
    return true;
}

// One continuous PackBits stream per channel, across row boundaries.
bool ReadPackBits(Source& source, std::uint8_t* pixels, std::size_t count)
{
    std::size_t produced = 0;
    while (produced < count)
    {
        if (source.Left() == 0)
            return false;
        const std::uint8_t code = source.bytes[source.next++];
        if (code < 128)
        {
            const std::size_t run = code + 1u;
            if (run > count - produced || run > source.Left())
                return false;
            for (std::size_t i = 0; i < run; ++i)
                pixels[(produced++) * 4] = source.bytes[source.next++];
        }
        else if (code > 128)
        {
            const std::size_t run = 257u - code;
            if (run > count - produced || source.Left() == 0)
                return false;
            const std::uint8_t value = source.bytes[source.next++];
            for (std::size_t i = 0; i < run; ++i)
                pixels[(produced++) * 4] = value;
        }
        // 128 is no operation.
    }
    return true;
}

// The channels from the file's current position, as ReadPsdFile describes.
bool ReadPsdImageData(std::FILE* file, std::uint32_t channels, std::uint32_t width,
                      std::uint32_t height, std::uint32_t compression,
                      std::vector<std::uint8_t>& pixels)
{
    if (width == 0 || height == 0 || width > PSD_MAX_SIZE || height > PSD_MAX_SIZE)
        return false;
    if (channels == 0 || compression > COMPRESSION_PACKBITS)
        return false;
    const long long left = BytesLeft(file);
    if (left < 0)
        return false;

    // Sizes are checked against the file before anything is allocated, so a
    // forged header cannot ask for more memory than its data could fill.
    const std::uint64_t count = std::uint64_t{width} * height;
    const std::uint64_t channelsRead = std::min<std::uint32_t>(channels, 4);
    std::uint64_t dataBytes = static_cast<std::uint64_t>(left);
    if (compression == COMPRESSION_RAW)
    {
        if (channelsRead * count > dataBytes)
            return false;
        dataBytes = channelsRead * count;
    }
    else
    {
        // The per-row byte counts come first; the decoder does not need them.
        const std::uint64_t rowCounts = std::uint64_t{channels} * height * 2;
        if (rowCounts > dataBytes || std::fseek(file, static_cast<long>(rowCounts), SEEK_CUR) != 0)
            return false;
        dataBytes -= rowCounts;
        // Two bytes make at most 128 values.
        if (channelsRead * ((count + 127) / 128) * 2 > dataBytes)
            return false;
    }

    std::vector<std::uint8_t> data(static_cast<std::size_t>(dataBytes));
    if (std::fread(data.data(), 1, data.size(), file) != data.size())
        return false;

    pixels.assign(static_cast<std::size_t>(count) * 4, 0);
    Source source{data};
    for (int slot = 0; slot < 4; ++slot)
    {
        std::uint8_t* first = pixels.data() + kSlotByte[slot];
        if (static_cast<std::uint32_t>(kSlotByte[slot]) >= channels)
        {
            for (std::size_t i = 0; i < count; ++i)
                first[i * 4] = kSlotFill[slot];
            continue;
        }
        const bool complete = compression == COMPRESSION_RAW
                                  ? ReadRaw(source, first, static_cast<std::size_t>(count))
                                  : ReadPackBits(source, first, static_cast<std::size_t>(count));
        if (!complete)
        {
            pixels.clear();
            return false;
        }
    }
    return true;
}

bool HasSignature(const std::uint8_t* bytes, std::size_t size)
{
    return size >= sizeof(kSignature) && std::memcmp(bytes, kSignature, sizeof(kSignature)) == 0;
}

// The next big-endian number of N bytes; false when the file ends first.
template <std::size_t N> bool ReadNumber(std::FILE* file, std::uint32_t& value)
{
    std::uint8_t bytes[N];
    if (std::fread(bytes, 1, N, file) != N)
        return false;
    if constexpr (N == 2)
        value = platform::ReadBigEndian16(bytes);
    else
        value = platform::ReadBigEndian32(bytes);
    return true;
}

} // namespace

bool IsPsdFile(const char* path)
{
    FilePtr file{OpenGameFile(path)};
    if (!file)
        return false;
    std::uint8_t signature[sizeof(kSignature)];
    return HasSignature(signature, std::fread(signature, 1, sizeof(signature), file.get()));
}

bool ReadPsdFile(const char* path, int& width, int& height, std::vector<std::uint8_t>& pixels)
{
    FilePtr file{OpenGameFile(path)};
    if (!file)
        return false;
    std::FILE* in = file.get();

    // Bytes past the end read as 0; a short header fails after the size is taken.
    std::uint8_t header[kHeaderSize] = {};
    const std::size_t headerRead = std::fread(header, 1, kHeaderSize, in);
    if (!HasSignature(header, headerRead) ||
        platform::ReadBigEndian16(header + kVersionAt) != kVersion)
        return false;
    const std::uint16_t channels = platform::ReadBigEndian16(header + kChannelsAt);
    if (channels > kMaxChannels)
        return false;
    const std::uint32_t imageHeight = platform::ReadBigEndian32(header + kHeightAt);
    const std::uint32_t imageWidth = platform::ReadBigEndian32(header + kWidthAt);
    height = static_cast<int>(imageHeight);
    width = static_cast<int>(imageWidth);
    if (platform::ReadBigEndian16(header + kDepthAt) != kDepth ||
        platform::ReadBigEndian16(header + kModeAt) != kModeRgb || headerRead < kHeaderSize)
        return false;

    for (int section = 0; section < kSkippedSections; ++section)
    {
        std::uint32_t length = 0;
        if (!ReadNumber<4>(in, length))
            return false;
        if (length != 0 && std::fseek(in, static_cast<long>(length), SEEK_CUR) != 0)
            return false;
    }
    std::uint32_t compression = 0;
    if (!ReadNumber<2>(in, compression))
        return false;
    return ReadPsdImageData(in, channels, imageWidth, imageHeight, compression, pixels);
}
