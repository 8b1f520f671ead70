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

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>

namespace
{

// The picture on screen against the golden image of that name. On a
// mismatch the actual picture and a diff (differing pixels red, the rest
// dimmed) go to the build folder, and the failure says where they differ.
void ExpectGolden(const std::string& name)
{
    const platform::PixelBuffer* shown = platform::testing::ShownPicture();
    ASSERT_NE(shown, nullptr) << "nothing was shown";
    const RgbImage actual = ToRgbImage(*shown);
    const std::string golden = std::string(TZ_GOLDEN_PICTURES) + "/" + name + ".png";
    const std::string output = std::string(TZ_GOLDEN_OUTPUT) + "/" + name;
    std::filesystem::remove(output + ".actual.png");
    std::filesystem::remove(output + ".diff.png");
    if (const char* update = std::getenv("TZ_UPDATE_GOLDEN"); update && std::string(update) == "1")
    {
        ASSERT_EQ(WritePng(golden, actual), "") << golden;
        std::printf("rewrote %s\n", golden.c_str());
        return;
    }

    RgbImage expected;
    const std::string unreadable = ReadPng(golden, expected);
    if (unreadable.empty() && expected == actual)
        return;
    ASSERT_EQ(WritePng(output + ".actual.png", actual), "");
    std::string difference = "no golden image (" + unreadable + ")";
    if (unreadable.empty() && (expected.width != actual.width || expected.height != actual.height))
        difference = "the size differs";
    else if (unreadable.empty())
    {
        RgbImage diff = expected;
        int count = 0, left = expected.width, top = expected.height, right = -1, bottom = -1;
        for (std::size_t i = 0; i < diff.pixels.size(); i += 3)
        {
            const bool differs =
                !std::equal(&expected.pixels[i], &expected.pixels[i] + 3, &actual.pixels[i]);
            for (std::size_t channel = 0; channel < 3; ++channel)
                diff.pixels[i + channel] =
                    differs ? (channel == 0 ? 255 : 0)
                            : static_cast<std::uint8_t>(expected.pixels[i + channel] / 3);
            if (!differs)
                continue;
            const int x = static_cast<int>(i / 3) % expected.width,
                      y = static_cast<int>(i / 3) / expected.width;
            ++count, left = std::min(left, x), top = std::min(top, y);
            right = std::max(right, x), bottom = std::max(bottom, y);
        }
        ASSERT_EQ(WritePng(output + ".diff.png", diff), "");
        difference = std::to_string(count) + " pixels differ, within (" + std::to_string(left) +
                     ", " + std::to_string(top) + ") - (" + std::to_string(right) + ", " +
                     std::to_string(bottom) + "); diff: " + output + ".diff.png";
    }
    ADD_FAILURE() << golden << ": " << difference << "\nactual: " << output << ".actual.png"
                  << "\nIf the change is intended: TZ_UPDATE_GOLDEN=1 " << TZ_GOLDEN_OUTPUT
                  << "/golden_tests";
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
    // The scene's shots hit groups, so the picture holds a score and a taunt.
    CMainFrameProbe probe = m_Game.Probe();
    EXPECT_EQ(probe.State(), STATE_GAME);
    EXPECT_GT(probe.Score(), 0);
    ExpectGolden("game");
}

TEST_F(Golden, HighscoresWithCraftedTable)
{
    // Names short, long, empty and with the umlauts of code page 1252.
    const std::pair<const char*, int> table[CHighscores::PLACES] = {
        {"J\xFCrgen", 123456},
        {"Zo\xEB", 98765},
        {"\xC4\xD6\xDC\xE4\xF6\xFC\xDF", 54321},
        {"WWWWWWWWWW", 37000},
        {"i", 9999},
        {"", 5000},
        {"Ren\xE9 M.", 1500},
        {"\xC5got", 420},
        {"Gro\xDF", 7},
        {"Max", 0},
    };
    CHighscores& highscores = m_Game.Probe().Highscores();
    for (int place = 0; place < CHighscores::PLACES; ++place)
    {
        highscores.m_Entries[place].m_Name = table[place].first;
        highscores.m_Entries[place].m_nScore = table[place].second;
    }
    ASSERT_TRUE(ShowScene(m_Game, Scene::Highscores));
    ExpectGolden("highscores");
}

} // namespace
