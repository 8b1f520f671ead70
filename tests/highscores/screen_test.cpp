// The high-score screen's buttons: their click rectangles, the reset question,
// and a screen whose buttons failed to load or whose display was lost.
#include "display/cdxerror.h"
#include "display/cdxscreen.h"
#include "display/cdxsurface.h"
#include "highscores/chighscores.h"
#include "platform/testing/testing.h"

#include <gtest/gtest.h>

#include <memory>

namespace
{

using platform::testing::TakeModalBoxes;

// The button to press: 1007 Ja, 3 Nein, IDCANCEL Escape.
void Press(int id)
{
    platform::testing::SetModalAnswerer([id](platform::testing::ModalBox&) { return id; });
}

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

    CdxScreen m_Screen;
    std::unique_ptr<CdxSurface> m_Title; // the main menu's, borrowed by the table
    CHighscores m_Table;
};

TEST_F(ScreenTest, ClickRectanglesIncludeTheirBorders)
{
    Press(3);
    // x, y, whether the screen stays, whether the reset question came.
    const int cases[][4] = {
        {500, 240, 1, 1}, {600, 280, 1, 1}, {550, 260, 1, 1}, {500, 340, 0, 0},
        {600, 380, 0, 0}, {560, 370, 0, 0}, {499, 260, 1, 0}, {601, 280, 1, 0},
        {550, 281, 1, 0}, {550, 339, 1, 0}, {550, 381, 1, 0}, {450, 300, 1, 0},
    };
    for (const auto& k : cases)
    {
        TakeModalBoxes();
        EXPECT_EQ(m_Table.OnClick(k[0], k[1]), k[2] != 0) << k[0] << "," << k[1];
        EXPECT_EQ(TakeModalBoxes().size(), static_cast<std::size_t>(k[3])) << k[0] << "," << k[1];
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
        TakeModalBoxes();
        EXPECT_TRUE(m_Table.OnClick(550, 260));
        const auto boxes = TakeModalBoxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].caption, "Frage");
        EXPECT_EQ(boxes[0].text, "Wollen Sie Ihre hart erarbeiteten Rekorde\nl\xF6schen?");
        EXPECT_EQ(m_Table.m_Entries[0].m_Name == "CPU", button == 1007) << button;
    }
    EXPECT_EQ(m_Table.m_Entries[9].m_nScore, 19000);
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
    TakeModalBoxes();
    screen.Fill(0);
    EXPECT_NO_THROW(table.Draw());
    EXPECT_EQ(platform::testing::ReadPixel(screen.m_pBackSurface->m_pSurface, 550, 260), 0u);
    EXPECT_TRUE(table.OnClick(550, 260));
    EXPECT_TRUE(table.OnClick(550, 360));
    EXPECT_TRUE(TakeModalBoxes().empty());
}

} // namespace
