// The program from the player's side outside a game: the main menu, the
// credits and the regular end, the high-score screen, the info dialog, and
// failures at start. The intro, the menu's highlight, keys and hover are
// played in the end-to-end menu test, closing the window in its faults.
#include "tests/app/scenario.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>

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

// Frames in which only the crosshair moved are mended from the kept scene;
// they must show what the same frames drawn whole show, through hovering,
// shots and falling stones, lost surfaces, a dialog and the screen's edges.
TEST_F(Screens, FramesMendedUnderTheCrosshairShowWhatFramesDrawnWholeShow)
{
    const auto play = [](bool drawWhole)
    {
        std::vector<std::vector<std::uint8_t>> pictures;
        Game game;
        CMainFrameProbe probe = game.Probe();
        Answer({{NEIN}});
        std::srand(7);
        // The input, then passes without input until three frames are shown.
        const auto step = [&](const std::function<bool()>& input, int frames = 3)
        {
            for (int pass = 0; pass < frames; ++pass)
            {
                if (drawWhole)
                    probe.ForgetScene();
                if (!(pass == 0 ? input() : game.Pass()))
                    return;
                pictures.push_back(platform::testing::ShownPicture()->Bytes());
            }
        };
        // A pointer moved every frame, over the menu and then the field.
        const auto sweep = [&](int x, int y)
        {
            for (int move = 0; move < 6; ++move)
                step([&] { return game.MoveTo(x + 13 * move, y + 29 * move); }, 1);
        };
        sweep(250, 150);
        step([&] { return game.Click(150, 170); });
        for (const POINT at : {POINT{30, 470}, POINT{250, 300}, POINT{450, 150}})
        {
            step([&] { return game.Click(at.x, at.y); });
            sweep(at.x - 40, at.y - 60);
        }
        step(
            []
            {
                platform::testing::LoseAllSurfaces();
                return true;
            });
        for (const POINT at : {POINT{2, 478}, POINT{638, 1}, POINT{320, 240}, POINT{321, 240}})
            step([&] { return game.MoveTo(at.x, at.y); });
        step([&] { return game.Press(ESCAPE); });
        sweep(500, 40);
        return pictures;
    };
    const auto whole = play(true);
    const auto mended = play(false);
    ASSERT_EQ(whole.size(), mended.size());
    ASSERT_EQ(whole.size(), 10u * 3 + 5u * 6) << "the game ended on the way";
    for (std::size_t frame = 0; frame < whole.size(); ++frame)
        EXPECT_TRUE(whole[frame] == mended[frame]) << "frame " << frame;
}

// The credits and the high-score screen come back by Enter, Escape or a
// click without writing; the quit item or Escape goes the same way through the
// credits to the end, which writes the table. F1 shows the info in every
// screen and changes nothing (the game's in the game tests).
TEST_F(Screens, ScreensComeBackWithoutWritingAndTheEndWritesTheTable)
{
    for (const UINT way : {ENTER, ESCAPE, 0u})
    {
        SCOPED_TRACE(way);
        Game game;
        auto probe = game.Probe();
        const int hidden = CursorShowCount(); // each game of the process hides it once more
        auto info = [&]
        {
            const int state = probe.State();
            Answer({{INFO_OK}});
            ASSERT_TRUE(game.Press(VK_F1));
            EXPECT_TRUE(MessageTexts().size() == 1 && probe.State() == state &&
                        CursorShowCount() == hidden);
        };
        for (const int item : {350, 230}) // "Credits", "Highscores"
        {
            ASSERT_TRUE(game.Click(250, item));
            EXPECT_EQ(probe.State(), item == 350 ? STATE_CREDITS : STATE_HIGHSCORES);
            info();
            // Anywhere in the credits, BACK's far corner.
            ASSERT_TRUE(way ? game.Press(way) : game.Click(600, item == 350 ? 20 : 380));
            EXPECT_EQ(probe.State(), STATE_MENU);
        }
        info();
        EXPECT_TRUE(Playing(probe.Music()) && !std::filesystem::exists(SAVE_FILE));

        ASSERT_TRUE(way == ENTER ? game.MoveTo(250, 400) && game.Press(way)
                    : way        ? game.Press(way)
                                 : game.Click(250, 400)); // the quit item
        EXPECT_EQ(probe.State(), STATE_CREDITS);
        ASSERT_TRUE(way ? game.Press(way) : game.Click(10, 10));
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
        EXPECT_TRUE(logo ? Shows(probe.Screen(), "BMP_NEWGAMEHOT", 100, 150)
                         : Shows(probe.Screen(), "BMP_TAMZELON", 20, 5));
        ASSERT_TRUE(logo || game.Press(ENTER));
        EXPECT_EQ(probe.State(), STATE_MENU) << "nothing to choose";
        EXPECT_EQ(game.PassesToEnd(), 1);
        std::filesystem::remove(name);
    }
}

} // namespace
