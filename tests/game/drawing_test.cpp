// What the field and the comment line leave in the back buffer of a headless
// 640 x 480 x 16 screen.
#include "display/cdxscreen.h"
#include "display/cdxsurface.h"
#include "game/ccomment.h"
#include "game/cfield.h"
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
    // A 20 x 20 tile of one value whose top-left pixel is transparent.
    void MakeTile(CdxSurface& tile, std::uint32_t value)
    {
        ASSERT_EQ(tile.Create(&m_Screen, 20, 20, 2), 1);
        tile.SetColourKey(0);
        DDBLTFX fx{};
        fx.dwSize = sizeof(fx);
        for (RECT area : {RECT{0, 0, 20, 20}, RECT{0, 0, 1, 1}})
        {
            fx.dwFillColor = area.right == 20 ? value : 0;
            tile.m_pSurface->Blt(&area, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx);
        }
    }
    std::uint32_t Pixel(int x, int y)
    {
        return platform::testing::ReadPixel(m_Screen.m_pBackSurface->m_pSurface, x, y);
    }

    CdxScreen m_Screen;
};

TEST_F(DrawingTest, FieldPaintsTilesFromY80AfterOneCollapseStep)
{
    CdxSurface black, white, grey;
    const std::uint32_t values[] = {0x1111, 0x2222, 0x3333, BACKGROUND};
    MakeTile(black, values[0]);
    MakeTile(white, values[1]);
    MakeTile(grey, values[2]);

    CField field;
    field.SetSurfaces(&black, &white, &grey);
    field.Fill();
    // A hole at the foot of column 7: the stone above it drops before painting,
    // the ones on top of that wait for the next frame.
    CStone* falling = field.GetStone(7, 18);
    field.GetStone(7, 19)->SetColour(STONE_DESTROYED);
    field.Draw(&m_Screen);
    ASSERT_EQ(field.GetStone(7, 19), falling);
    ASSERT_EQ(field.GetStone(7, 18)->GetColour(), STONE_DESTROYED);

    for (int c = 0; c < FIELD_COLUMNS; ++c)
        for (int r = 0; r < FIELD_ROWS; ++r)
        {
            const std::uint32_t expected = values[field.GetStone(c, r)->GetColour()];
            const int x = 20 * c;
            const int y = 80 + 20 * r;
            ASSERT_EQ(Pixel(x + 1, y), expected) << c << "," << r;
            ASSERT_EQ(Pixel(x + 19, y + 19), expected) << c << "," << r;
            ASSERT_EQ(Pixel(x, y), BACKGROUND) << c << "," << r; // keyed
        }
    EXPECT_EQ(Pixel(300, 79), BACKGROUND);
    EXPECT_EQ(Pixel(600, 300), BACKGROUND);
}

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
