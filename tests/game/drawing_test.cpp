// What the comment line leaves in the back buffer of a headless 640 x 480 x 16
// screen. The field on screen is read after every shot of the end-to-end games.
#include "display/cdxscreen.h"
#include "display/cdxsurface.h"
#include "game/ccomment.h"
#include "platform/testing/testing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

namespace
{

constexpr std::uint32_t BACKGROUND = 0x0100;
constexpr std::uint32_t RED = 0xF800;

class DrawingTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(m_Screen.CreateFullScreen(nullptr, 640, 480, 16, 0), 1);
        m_Screen.Fill(BACKGROUND);
    }
    std::uint32_t Pixel(int x, int y)
    {
        return platform::testing::ReadPixel(m_Screen.m_pBackSurface->m_pSurface, x, y);
    }

    CdxScreen m_Screen;
};

TEST_F(DrawingTest, CommentIsRedOnTransparentBackgroundFromItsPosition)
{
    CComment comment;
    comment.SetPosition(180, 5);
    comment.Set(0, "Ins Feld musste schiessen!");
    comment.Draw(&m_Screen);

    int red = 0, left = 640, top = 480;
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 640; ++x)
        {
            const std::uint32_t value = Pixel(x, y);
            ASSERT_TRUE(value == RED || value == BACKGROUND) << x << "," << y;
            if (value == RED)
                ++red, left = std::min(left, x), top = std::min(top, y);
        }
    EXPECT_GT(red, 100);
    EXPECT_GE(left, 180);
    EXPECT_LT(left, 190);
    EXPECT_GE(top, 5);
    EXPECT_EQ(m_Screen.m_pBackSurface->m_hDC, nullptr); // given back
}

} // namespace
