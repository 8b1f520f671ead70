// The program from the player's side outside a game: the main menu, the
// credits and the regular end, the high-score screen, the info dialog, and
// failures at start. The intro, the menu's highlight, keys and hover are
// played in the end-to-end menu test, closing the window in its faults.
#include "tests/app/scenario.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace scenario;

namespace
{

constexpr const char* SAVE_FILE = "highscore.sav";
constexpr const char* IMAGE_MESSAGE =
    "Der Haupt- oder Videospeicher ist ausgelastet:\nBilddatei konnte nicht geladen werden.";

class Screens : public ::testing::Test
{
protected:
    WorkingDirectory m_Directory;
};

// The credits and the high-score screen come back by Enter or Escape without
// writing; the quit item or Escape goes the same way through the credits to the
// end, which writes the table. F1 shows the info in every screen and changes
// nothing (the game's in the game tests). The end-to-end menu test clicks.
TEST_F(Screens, ScreensComeBackWithoutWritingAndTheEndWritesTheTable)
{
    for (const UINT way : {ENTER, ESCAPE})
    {
        SCOPED_TRACE(way);
        Game game;
        auto probe = game.Probe();
        const int hidden = CursorShowCount(); // each game of the process hides it once more
        auto info = [&]
        {
            const int state = probe.State();
            Answer({INFO_OK});
            ASSERT_TRUE(game.Press(VK_F1));
            EXPECT_TRUE(MessageTexts().size() == 1 && probe.State() == state &&
                        CursorShowCount() == hidden);
        };
        for (const int item : {350, 230}) // "Credits", "Highscores"
        {
            ASSERT_TRUE(game.Click(250, item));
            EXPECT_EQ(probe.State(), item == 350 ? STATE_CREDITS : STATE_HIGHSCORES);
            info();
            ASSERT_TRUE(game.Press(way));
            EXPECT_EQ(probe.State(), STATE_MENU);
        }
        info();
        EXPECT_TRUE(Playing(probe.Music()) && !std::filesystem::exists(SAVE_FILE));

        // Enter on the quit item under the pointer.
        ASSERT_TRUE((way == ESCAPE || game.MoveTo(250, 400)) && game.Press(way));
        EXPECT_EQ(probe.State(), STATE_CREDITS);
        ASSERT_TRUE(game.Press(way));
        EXPECT_FALSE(game.Pass()) << "the quit message ends the loop";
        EXPECT_EQ(FileBytes(SAVE_FILE).size(), 80u) << "the default table";
        std::filesystem::remove(SAVE_FILE);
    }
}

// A refused display mode and a missing "Sounds" folder are played in the
// end-to-end tests.
TEST_F(Screens, WithoutAWindowTheProgramEndsWithoutAWord)
{
    platform::testing::RefuseFrameCreation(true);
    Game game;
    EXPECT_TRUE(!game.Started() && MessageTexts().empty());
}

TEST_F(Screens, ADisplayWithoutSurfacesIsNeverDrawnOn)
{
    platform::testing::RefuseSurfaceCreation(true);
    Game game;
    const auto texts = MessageTexts();
    // 16 bits, 8 bits, then the mode and each image.
    ASSERT_GE(texts.size(), 4u);
    EXPECT_EQ(texts[2], "Ihre Grafikkarte unterst\xFCtzt den gebrauchten\nVideomodus nicht!");
    EXPECT_EQ(texts.back(), IMAGE_MESSAGE);
    // Input waiting before the end is still handled, and draws nothing.
    EXPECT_TRUE(game.Press(ENTER) && game.Click(250, 170));
    EXPECT_TRUE(game.PassesToEnd() == 1 && platform::testing::ShownPicture() == nullptr);
}

TEST_F(Screens, AMissingImageIsReportedAndNeverDrawn)
{
    // A damaged file of an image's name hides the built-in image; a key
    // waiting before the end gets its frame.
    for (const std::string name : {"BMP_TAMZELON", "BMP_INFOHOT"})
    {
        std::ofstream(name, std::ios::binary) << "8BPS\x00\x02";
        Game game;
        auto probe = game.Probe();
        EXPECT_EQ(MessageTexts(), std::vector<std::string>{IMAGE_MESSAGE});
        ASSERT_TRUE(game.Press(VK_DOWN));
        const bool logo = name == "BMP_TAMZELON";
        EXPECT_TRUE(logo ? Plain(20, 5, 300, 100, 0) : Plain(100, 150, 301, 291, 0))
            << "nothing drawn of the menu that lost " << name;
        EXPECT_FALSE(logo ? Plain(100, 150, 300, 50, 0) : Plain(20, 5, 300, 100, 0))
            << "the rest is drawn";
        ASSERT_TRUE(logo || game.Press(ENTER));
        EXPECT_EQ(probe.State(), STATE_MENU) << "nothing to choose";
        EXPECT_EQ(game.PassesToEnd(), 1);
        std::filesystem::remove(name);
    }
}

} // namespace
