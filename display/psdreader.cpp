#include "display/psdreader.h"

#include <algorithm>
#include <cstddef>

namespace
{

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

} // namespace

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
