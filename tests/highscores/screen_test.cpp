// The high-score screen on a headless display: where the title, the buttons
// and the ten rows land, the click rectangles of RESET and BACK, the reset
// question, and a screen whose buttons failed to load.
#include "display/cdxerror.h"
#include "display/cdxscreen.h"
#include "display/cdxsurface.h"
#include "highscores/chighscores.h"
#include "platform/testing/testing.h"
#include "platform/win32/pixelbuffer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

namespace
{

using platform::testing::ModalBox;
using platform::testing::ReadPixel;

class ScreenTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(m_Screen.CreateFullScreen(nullptr, 640, 480, 16, 0), 1);
        m_Title = std::make_unique<CdxSurface>(&m_Screen, "BMP_HIGHSCORES", 2);
        m_Title->SetColourKey(0);
        m_Table.SetTitle(m_Title.get());
        m_Table.Init(&m_Screen);
    }

    std::uint32_t Back(int x, int y)
    {
        return ReadPixel(m_Screen.m_pBackSurface->m_pSurface, x, y);
    }

    // Every non-black pixel of the image is on the back buffer at (x, y).
    void ExpectDrawnAt(CdxSurface* image, int x, int y)
    {
        int mismatches = 0;
        for (int j = 0; j < image->m_nHeight; ++j)
            for (int i = 0; i < image->m_nWidth; ++i)
            {
                const std::uint32_t pixel = ReadPixel(image->m_pSurface, i, j);
                if (pixel != 0 && Back(x + i, y + j) != pixel)
                    ++mismatches;
            }
        EXPECT_EQ(mismatches, 0) << "image expected at " << x << "," << y;
    }

    // Clicks and notes whether the reset question came.
    bool Click(int x, int y, bool* asked)
    {
        platform::testing::TakeModalBoxes();
        const bool result = m_Table.OnClick(x, y);
        *asked = !platform::testing::TakeModalBoxes().empty();
        return result;
    }

    // The button to press: 1007 Ja, 3 Nein, IDCANCEL Escape.
    void Press(int id)
    {
        platform::testing::SetModalAnswerer([id](ModalBox&) { return id; });
    }

    CdxScreen m_Screen;
    std::unique_ptr<CdxSurface> m_Title; // the main menu's, borrowed by the table
    CHighscores m_Table;
};

} // namespace

TEST_F(ScreenTest, TitleButtonsAndRowsLandInPlace)
{
    m_Table.m_Entries[0] = CHighscoreEntry("Anna", 123456);
    m_Table.m_Entries[4] = CHighscoreEntry("", 29000);
    m_Table.m_Entries[9] = CHighscoreEntry("Zo\xEB", 0);
    m_Screen.Fill(0);
    m_Table.Draw();

    ExpectDrawnAt(m_Title.get(), 170, 25);
    ExpectDrawnAt(m_Table.m_pResetImage, 500, 240);
    ExpectDrawnAt(m_Table.m_pBackImage, 500, 340);

    // The rows as they should read, printed on a blank surface of screen size.
    CdxSurface expected;
    ASSERT_EQ(expected.Create(&m_Screen, 640, 480, 2), 1);
    ASSERT_EQ(expected.GetDC(), DD_OK);
    for (int p = 1; p <= 10; ++p)
    {
        const CHighscoreEntry& entry = m_Table.m_Entries[p - 1];
        const int y = 175 + 25 * (p - 1);
        CString text;
        text.Format("%d.", p);
        expected.PrintText(25, y, 255, text);
        expected.PrintText(125, y, 255, entry.m_Name);
        text.Format("%d", entry.m_nScore);
        expected.PrintText(225, y, 255, text);
    }
    expected.ReleaseDC();

    const std::uint32_t red = platform::PixelBuffer::FromRgb({255, 0, 0}, 16);
    int mismatches = 0;
    int redPixels = 0;
    for (int y = 150; y < 440; ++y)
        for (int x = 0; x < 500; ++x)
        {
            const std::uint32_t pixel = Back(x, y);
            mismatches += pixel != ReadPixel(expected.m_pSurface, x, y);
            redPixels += pixel == red;
        }
    EXPECT_EQ(mismatches, 0);
    EXPECT_GT(redPixels, 0);
}

TEST_F(ScreenTest, ClickRectanglesIncludeTheirBorders)
{
    Press(3);
    struct Case
    {
        int x, y;
        bool result, asked;
    };
    const Case cases[] = {
        {500, 240, true, true},   {600, 280, true, true},   {550, 260, true, true},
        {500, 340, false, false}, {600, 380, false, false}, {560, 370, false, false},
        {499, 260, true, false},  {601, 280, true, false},  {550, 281, true, false},
        {550, 339, true, false},  {550, 381, true, false},  {450, 300, true, false},
    };
    for (const Case& k : cases)
    {
        bool asked = false;
        EXPECT_EQ(Click(k.x, k.y, &asked), k.result) << k.x << "," << k.y;
        EXPECT_EQ(asked, k.asked) << k.x << "," << k.y;
    }
}

TEST_F(ScreenTest, ResetAsksAndOnlyJaRestoresTheDefaults)
{
    const int shownBefore = ShowCursor(TRUE);
    ShowCursor(FALSE);
    for (int button : {3, IDCANCEL, 1007})
    {
        m_Table.Insert("Anna", 50000);
        Press(button);
        platform::testing::TakeModalBoxes();
        EXPECT_TRUE(m_Table.OnClick(550, 260));

        const std::vector<ModalBox> boxes = platform::testing::TakeModalBoxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].caption, "Frage");
        EXPECT_EQ(boxes[0].text, "Wollen Sie Ihre hart erarbeiteten Rekorde\nl\xF6schen?");

        const bool restored = m_Table.m_Entries[0].m_Name == "CPU";
        EXPECT_EQ(restored, button == 1007) << button;
    }
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(m_Table.m_Entries[i].m_nScore, 37000 - 2000 * i);
    EXPECT_EQ(ShowCursor(TRUE), shownBefore) << "the cursor is hidden again";
}

TEST_F(ScreenTest, LostBackBufferDrawsWithoutThrowing)
{
    platform::testing::LoseAllSurfaces();
    EXPECT_NO_THROW(m_Table.Draw());
}

TEST(ScreenFailureTest, MissingButtonsRaiseAndAreNeitherDrawnNorHit)
{
    CdxScreen screen;
    ASSERT_EQ(screen.CreateFullScreen(nullptr, 640, 480, 16, 0), 1);
    CHighscores table;
    platform::testing::RefuseSurfaceCreation(true);
    EXPECT_THROW(table.Init(&screen), CdxError);
    platform::testing::RefuseSurfaceCreation(false);
    platform::testing::TakeModalBoxes();

    EXPECT_EQ(table.m_pMenu, nullptr);
    screen.Fill(0);
    EXPECT_NO_THROW(table.Draw());
    EXPECT_EQ(ReadPixel(screen.m_pBackSurface->m_pSurface, 550, 260), 0u);
    EXPECT_TRUE(table.OnClick(550, 260));
    EXPECT_TRUE(table.OnClick(550, 360));
    EXPECT_TRUE(platform::testing::TakeModalBoxes().empty());
}
