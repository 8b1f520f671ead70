// The high-score screen on a headless display: the click rectangles of RESET
// and BACK, the reset question, and a screen whose buttons failed to load.
// Where the title and the rows land is seen in the end-to-end tests.
#include "display/cdxerror.h"
#include "display/cdxscreen.h"
#include "display/cdxsurface.h"
#include "highscores/chighscores.h"
#include "platform/testing/testing.h"

#include <gtest/gtest.h>

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
