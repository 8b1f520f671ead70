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

TEST_F(ScreenTest, ButtonsIncludeTheirBordersOnlyJaResetsAndALostBufferDraws)
{
    // RESET's corners and middle, answered Nein, Escape and Ja.
    const int resets[][3] = {{500, 240, 3}, {600, 280, IDCANCEL}, {550, 260, 1007}};
    for (const auto& [x, y, button] : resets)
    {
        m_Table.Insert("Anna", 50000);
        platform::testing::SetModalAnswerer([answer = button](auto&) { return answer; });
        EXPECT_TRUE(m_Table.OnClick(x, y));
        const auto box = TakeModalBoxes().at(0); // asked with the message dialog's template
        EXPECT_EQ(box.text, "Wollen Sie Ihre hart erarbeiteten Rekorde\nl\xF6schen?");
        EXPECT_EQ(box.dialogTemplate, 155);
        EXPECT_EQ(m_Table.m_Entries[0].m_Name == "CPU", button == 1007) << button;
    }
    // BACK's corners leave the screen; just beside the buttons nothing happens.
    const int clicks[][3] = {{500, 340, 0}, {600, 380, 0}, {499, 260, 1}, {601, 280, 1},
                             {550, 281, 1}, {550, 339, 1}, {550, 381, 1}};
    for (const auto& [x, y, stays] : clicks)
        EXPECT_TRUE(m_Table.OnClick(x, y) == (stays != 0) && TakeModalBoxes().empty())
            << x << "," << y;
    platform::testing::LoseAllSurfaces();
    EXPECT_NO_THROW(m_Table.Draw()) << "a lost back buffer";
}

TEST_F(ScreenTest, MissingButtonsRaiseAndAreNeitherDrawnNorHit)
{
    CHighscores table;
    platform::testing::RefuseSurfaceCreation(true);
    EXPECT_THROW(table.Init(&m_Screen), CdxError);
    platform::testing::RefuseSurfaceCreation(false);
    TakeModalBoxes();
    m_Screen.Fill(0);
    EXPECT_NO_THROW(table.Draw());
    EXPECT_EQ(platform::testing::ReadPixel(m_Screen.m_pBackSurface->m_pSurface, 550, 260), 0u);
    EXPECT_TRUE(table.OnClick(550, 260) && table.OnClick(550, 360) && TakeModalBoxes().empty());
}

} // namespace
