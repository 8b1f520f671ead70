// A game without a mouse: the arrow keys carry the crosshair over the field
// cell by cell, and Space shoots where it stands, as a click there does.
#include "tests/app/scenario.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <tuple>

using namespace scenario;

namespace
{

class KeyboardPlay : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_Game.Click(250, 170)); // "Neues Spiel"
        ASSERT_EQ(m_Probe.State(), STATE_GAME);
    }

    WorkingDirectory m_Directory;
    Game m_Game;
    CMainFrameProbe m_Probe = m_Game.Probe();
};

TEST_F(KeyboardPlay, ArrowsMoveTheCrosshairOneCellFromTheCellUnderItOrTheNearest)
{
    // From where, which arrow, to where. A cell's step and the way on from right
    // of the field are taken in the end-to-end keyboard test.
    const std::tuple<POINT, UINT, POINT, const char*> cases[] = {
        {{119, 199}, VK_DOWN, {110, 210}, "from a cell's corner to the centre below"},
        {{120, 200}, VK_LEFT, {110, 210}, "a border belongs to the cell right of it and below"},
        {{600, 300}, VK_UP, {590, 290}, "the field's right border is still the last column"},
        {{10, 90}, VK_LEFT, {10, 90}, "the left edge holds"},
        {{10, 90}, VK_UP, {10, 90}, "the top edge holds"},
        {{590, 470}, VK_RIGHT, {590, 470}, "the right edge holds"},
        {{590, 470}, VK_DOWN, {590, 470}, "the bottom edge holds"},
        {{300, 30}, VK_DOWN, {310, 110}, "above the field: on from row 0"},
        {{0, 0}, VK_RIGHT, {30, 90}, "over the new-game button: on from the corner cell"},
    };
    // The crosshair is drawn where the pointer is in every golden picture.
    for (const auto& [from, key, to, what] : cases)
    {
        POINT cursor{};
        ASSERT_TRUE(m_Game.MoveTo(from.x, from.y) && m_Game.Press(key) && GetCursorPos(&cursor));
        EXPECT_TRUE(cursor.x == to.x && cursor.y == to.y)
            << what << ": " << cursor.x << "," << cursor.y;
    }
}

TEST_F(KeyboardPlay, SpaceDoesWhatALeftClickAtTheCrosshairDoes)
{
    // The grey pair keeps the game going after the black one is shot.
    const int B = STONE_BLACK, G = STONE_GREY;
    const std::vector<CMainFrameProbe::Stone> stones = {
        {0, 19, B}, {1, 19, B}, {5, 19, STONE_WHITE}, {10, 19, G}, {11, 19, G}};
    // Score, comment, stones, bang and questions after a shot at `at`.
    const auto play = [&](POINT at, bool space)
    {
        m_Probe.SetStones(stones);
        m_Probe.Score() = 0;
        m_Probe.Bang()->Stop();
        Answer({NEIN});
        std::srand(1); // the same taunt for both
        EXPECT_TRUE(space ? m_Game.MoveTo(at.x, at.y) && m_Game.Press(VK_SPACE)
                          : m_Game.Click(at.x, at.y));
        Answer({});
        return std::tuple(m_Probe.Score(), std::string(m_Probe.Comment()),
                          m_Probe.Field().CountStones(), Playing(m_Probe.Bang()), MessageTexts());
    };
    // A group, a lone stone, an empty cell, beside the field, the new-game button.
    for (const POINT at :
         {POINT{10, 470}, POINT{110, 470}, POINT{300, 300}, POINT{620, 300}, POINT{60, 20}})
        EXPECT_EQ(play(at, true), play(at, false)) << at.x << "," << at.y;
}

} // namespace
