// The program from the player's side outside a game: the start, the main
// menu with mouse and keys, the credits and the regular end, the high-score
// screen, the info dialog, and failures at start. Closing the window is played
// in the end-to-end faults.
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

TEST_F(Screens, TheMenuStartsOnQuitAndHoverWinsOverKeys)
{
    const auto started = platform::testing::VirtualMilliseconds();
    Game game;
    auto probe = game.Probe();
    EXPECT_GE(platform::testing::VirtualMilliseconds() - started, 4000u) << "the intro";
    EXPECT_TRUE(platform::testing::TakeModalBoxes().empty());
    EXPECT_EQ(CursorShowCount(), -1);
    EXPECT_TRUE(Playing(probe.Music()));

    // Nothing under the cursor: the first frame highlights the last item.
    ASSERT_TRUE(game.Pass());
    EXPECT_TRUE(Shows(probe.Screen(), "BMP_BEENDENHOT", 100, 390));
    // Hovering wins over the keys at every frame (the keys' wrap is played
    // in the end-to-end menu test).
    ASSERT_TRUE(game.MoveTo(200, 230));
    ASSERT_TRUE(game.Press(VK_DOWN));
    EXPECT_TRUE(Shows(probe.Screen(), "BMP_HIGHSCORESHOT", 100, 210));

    // A click between two buttons only clicks.
    Silence(probe.Click());
    ASSERT_TRUE(game.Click(200, 205));
    EXPECT_TRUE(Playing(probe.Click()));
    EXPECT_EQ(probe.State(), STATE_MENU);
    EXPECT_TRUE(platform::testing::TakeModalBoxes().empty());
}

TEST_F(Screens, TheRegularEndGoesThroughTheCreditsAndWritesTheTable)
{
    // The quit item by key (selected at start) or by click, or Escape; then
    // the matching way out of the credits.
    for (const UINT way : {ENTER, ESCAPE, 0u})
    {
        Game game;
        auto probe = game.Probe();
        ASSERT_TRUE(game.Pass());
        ASSERT_TRUE(way ? game.Press(way) : game.Click(250, 400));
        EXPECT_EQ(probe.State(), STATE_CREDITS);
        EXPECT_TRUE(Shows(probe.Screen(), "BMP_CREDITSWND", 100, 100));
        EXPECT_FALSE(std::filesystem::exists(SAVE_FILE));

        ASSERT_TRUE(way ? game.Press(way) : game.Click(10, 10));
        EXPECT_FALSE(game.Pass()) << "the quit message ends the loop";
        // The default table: "CPU" with 37000 down to 19000.
        const std::string bytes = FileBytes(SAVE_FILE);
        ASSERT_EQ(bytes.size(), 80u);
        EXPECT_EQ(bytes.substr(0, 8), std::string("\x88\x90\0\0\x03"
                                                  "CPU",
                                                  8));
        EXPECT_EQ(bytes.substr(72, 4), std::string("\x38\x4A\0\0", 4));
        std::filesystem::remove(SAVE_FILE);
    }
}

TEST_F(Screens, CreditsHighscoresAndInfoFromTheMenuComeBackWithoutWriting)
{
    Game game;
    auto probe = game.Probe();
    // F1 shows the info in every screen and changes nothing (the game's in
    // the game tests).
    auto info = [&]
    {
        const int state = probe.State();
        Answer({{INFO_OK}});
        ASSERT_TRUE(game.Press(VK_F1));
        EXPECT_EQ(MessageTexts().size(), 1u);
        EXPECT_EQ(probe.State(), state);
        EXPECT_EQ(CursorShowCount(), -1);
    };
    info();
    for (const UINT way : {ENTER, ESCAPE, 0u})
    {
        ASSERT_TRUE(game.Click(250, 350)); // "Credits"
        EXPECT_EQ(probe.State(), STATE_CREDITS);
        info();
        ASSERT_TRUE(way ? game.Press(way) : game.Click(600, 20));
        EXPECT_EQ(probe.State(), STATE_MENU);

        ASSERT_TRUE(game.Click(250, 230)); // "Highscores"
        EXPECT_EQ(probe.State(), STATE_HIGHSCORES);
        info();
        ASSERT_TRUE(game.Click(450, 300)); // beside the buttons
        EXPECT_EQ(probe.State(), STATE_HIGHSCORES);
        ASSERT_TRUE(way ? game.Press(way) : game.Click(600, 380)); // BACK's far corner
        EXPECT_EQ(probe.State(), STATE_MENU);
    }
    EXPECT_TRUE(Playing(probe.Music()));
    EXPECT_EQ(game.PassesToEnd(), -1) << "no end requested";
    EXPECT_FALSE(std::filesystem::exists(SAVE_FILE));
}

TEST_F(Screens, FailuresAtStartAreReportedAndEndTheProgram)
{
    // A display mode the platform refuses is reported by name, nothing more.
    platform::testing::RefuseDisplayMode(true);
    {
        Game game;
        const auto texts = MessageTexts();
        ASSERT_EQ(texts.size(), 1u);
        EXPECT_NE(texts[0].find("DDERR_INVALIDMODE"), std::string::npos);
        EXPECT_NE(texts[0].find("LINE: 366"), std::string::npos);
        EXPECT_EQ(game.PassesToEnd(), 1);
    }
    // No window at all: the program ends without a word.
    platform::testing::RefuseDisplayMode(false);
    platform::testing::RefuseFrameCreation(true);
    {
        Game game;
        EXPECT_FALSE(game.Started());
        EXPECT_TRUE(MessageTexts().empty());
    }
    platform::testing::RefuseFrameCreation(false);
    // Without the "Sounds" folder only the music complains.
    std::filesystem::remove_all("Sounds");
    {
        Game game;
        EXPECT_EQ(MessageTexts(),
                  std::vector<std::string>{"Lied konnte nicht geladen / abgespiel werden!"});
        EXPECT_EQ(game.PassesToEnd(), 1);
    }
}

TEST_F(Screens, ADisplayWithoutSurfacesIsNeverDrawnOn)
{
    platform::testing::RefuseSurfaceCreation(true);
    Game game;
    const auto texts = MessageTexts();
    ASSERT_GE(texts.size(), 4u);
    EXPECT_NE(texts[0].find("LINE: 410"), std::string::npos) << "16 bits";
    EXPECT_NE(texts[1].find("LINE: 410"), std::string::npos) << "8 bits";
    EXPECT_EQ(texts[2], "Ihre Grafikkarte unterst\xFCtzt den gebrauchten\nVideomodus nicht!");
    for (std::size_t i = 3; i < texts.size(); ++i)
        EXPECT_EQ(texts[i], IMAGE_MESSAGE);
    // Input waiting before the end is still handled, and draws nothing.
    EXPECT_TRUE(game.Press(ENTER));
    EXPECT_TRUE(game.Click(250, 170));
    EXPECT_EQ(game.PassesToEnd(), 1);
    EXPECT_EQ(platform::testing::ShownPicture(), nullptr);
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
