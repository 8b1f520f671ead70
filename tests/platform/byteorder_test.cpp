// The shared byte-order readers: both orders at a buffer's start, in its
// middle and at its last bytes, with high bits set so that no byte is
// sign-extended or shifted into the wrong place.
#include "platform/win32/byteorder.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace
{

TEST(ByteOrder, ReadsEachOrderAtAnyOffset)
{
    const std::uint8_t bytes[] = {0x81, 0x02, 0xF3, 0x44, 0xFF, 0x80};
    struct Case
    {
        int at;
        std::uint16_t little16, big16;
        std::uint32_t little32, big32;
    };
    const Case cases[] = {
        {0, 0x0281, 0x8102, 0x44F30281u, 0x8102F344u},
        {1, 0xF302, 0x02F3, 0xFF44F302u, 0x02F344FFu},
        {2, 0x44F3, 0xF344, 0x80FF44F3u, 0xF344FF80u},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(platform::ReadLittleEndian16(bytes + c.at), c.little16) << c.at;
        EXPECT_EQ(platform::ReadBigEndian16(bytes + c.at), c.big16) << c.at;
        EXPECT_EQ(platform::ReadLittleEndian32(bytes + c.at), c.little32) << c.at;
        EXPECT_EQ(platform::ReadBigEndian32(bytes + c.at), c.big32) << c.at;
    }
    EXPECT_EQ(platform::ReadLittleEndian16(bytes + 4), 0x80FF);
    EXPECT_EQ(platform::ReadBigEndian16(bytes + 4), 0xFF80);
}

} // namespace
