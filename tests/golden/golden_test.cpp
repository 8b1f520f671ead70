// Golden images: the main menu, a game from a fixed seed and the high-score
// screen with a crafted table, drawn headless by the game's own frame code
// and compared pixel for pixel with the pictures committed beside this file.
//
// After an intended change to what the player sees, rewrite the pictures,
// look at them and commit them:
//     TZ_UPDATE_GOLDEN=1 build/tests/golden/golden_tests
#include "platform/testing/testing.h"
#include "tests/support/headlessgame.h"
#include "tests/support/pngimage.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace
{

// The picture on screen against the golden image of that name; on a mismatch
// the actual picture goes to the build folder.
void ExpectGolden(const std::string& name)
{
    const platform::PixelBuffer* shown = platform::testing::ShownPicture();
    ASSERT_NE(shown, nullptr) << "nothing was shown";
    const RgbImage actual = ToRgbImage(*shown);
    const std::string golden = std::string(TZ_GOLDEN_PICTURES) + "/" + name + ".png";
    const std::string output = std::string(TZ_GOLDEN_OUTPUT) + "/" + name + ".actual.png";
    if (const char* update = std::getenv("TZ_UPDATE_GOLDEN"); update && std::string(update) == "1")
    {
        ASSERT_EQ(WritePng(golden, actual), "") << golden;
        return;
    }
    RgbImage expected;
    const std::string unreadable = ReadPng(golden, expected);
    if (unreadable.empty() && expected == actual)
        return;
    ASSERT_EQ(WritePng(output, actual), "");
    ADD_FAILURE() << golden << ": " << (unreadable.empty() ? "differs" : unreadable) << "; see "
                  << output << "\nIf the change is intended: TZ_UPDATE_GOLDEN=1 "
                  << TZ_GOLDEN_OUTPUT << "/golden_tests";
}

class Golden : public ::testing::Test
{
protected:
    GameFolder m_Folder;
    HeadlessGame m_Game;
};

TEST_F(Golden, MainMenu)
{
    ASSERT_TRUE(ShowScene(m_Game, Scene::Menu));
    ExpectGolden("menu");
}

TEST_F(Golden, GameFromFixedSeed)
{
    ASSERT_TRUE(ShowScene(m_Game, Scene::Game));
    ExpectGolden("game");
}

TEST_F(Golden, HighscoresWithCraftedTable)
{
    // Names short, long, empty and with the umlauts of code page 1252.
    const char* const names[] = {"J\xFCrgen",  "Zo\xEB",  "\xC4\xD6\xDC\xE4\xF6\xFC\xDF",
                                 "WWWWWWWWWW", "i",       "",
                                 "Ren\xE9 M.", "\xC5got", "Gro\xDF",
                                 "Max"};
    const int scores[] = {123456, 98765, 54321, 37000, 9999, 5000, 1500, 420, 7, 0};
    for (int place = 0; place < CHighscores::PLACES; ++place)
        m_Game.Probe().Highscores().m_Entries[place] = {names[place], scores[place]};
    ASSERT_TRUE(ShowScene(m_Game, Scene::Highscores));
    ExpectGolden("highscores");
}

} // namespace
