// A game from the player's side: shots, the questions around a game, its end
// with the final collapse, bonus, place and name, and its sounds; a game
// without a mouse, where the arrow keys carry the crosshair over the field cell
// by cell and Space shoots where it stands, as a click there does; keys and
// the mouse acting in the order they came; and the name dialog's cut of the
// name. The message buttons are answered in the game
// scenarios (a button not shown throws).
#include "app/cnamedlg.h"
#include "platform/win32/screenmode.h"
#include "tests/app/scenario.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <tuple>

using namespace scenario;

namespace
{

constexpr int B = STONE_BLACK, W = STONE_WHITE, G = STONE_GREY;

class Play : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_Game.Click(250, 170) && m_Probe.State() == STATE_GAME); // "Neues Spiel"
    }

    // At the centre of a cell.
    bool Shoot(int column, int row) { return m_Game.Click(20 * column + 10, 90 + 20 * row); }

    WorkingDirectory m_Directory;
    Game m_Game;
    CMainFrameProbe m_Probe = m_Game.Probe();
};

TEST_F(Play, ShotsScoreClickAndTaunt)
{
    const std::vector<CMainFrameProbe::Stone> stones = {
        {0, 19, B}, {1, 19, B}, {5, 19, W}, {8, 19, G}, {8, 18, G}};

    // Right of column 29 and above row 0 is outside; the empty top row and a
    // stone without a neighbour of its colour are misses.
    for (const POINT click : {POINT{601, 300}, POINT{300, 79}, POINT{300, 80}, POINT{110, 470}})
    {
        m_Probe.SetStones(stones); // the columns close up between the shots
        m_Probe.Click()->Stop();
        ASSERT_TRUE(m_Game.Click(click.x, click.y));
        EXPECT_EQ(m_Probe.Comment(), click.y == 79 || click.x == 601
                                         ? "Ins Feld musste schiessen!"
                                         : "Du Blindfisch ! Kannste nicht zielen!");
        EXPECT_TRUE(Playing(m_Probe.Click()));
    }
    EXPECT_TRUE(m_Probe.Score() == 0 && !Playing(m_Probe.Bang()));

    // A hit: n x n points, the bang, a taunt, and a frame drawn at once.
    m_Probe.SetStones(stones);
    m_Probe.Click()->Stop();
    const auto before = platform::testing::VirtualMilliseconds();
    ASSERT_TRUE(Shoot(0, 19));
    EXPECT_EQ(FramesSince(before), 2);
    EXPECT_TRUE(m_Probe.Score() == 4 && Playing(m_Probe.Bang()) && !Playing(m_Probe.Click()));
}

TEST_F(Play, QuestionsAroundAGame)
{
    m_Probe.SetStones({{0, 19, B}, {1, 19, B}, {2, 19, W}, {3, 19, W}});
    ASSERT_TRUE(Shoot(0, 19));
    const int score = m_Probe.Score();
    const CString comment = m_Probe.Comment();

    // The info, then the in-game button that asks, and Enter that
    // asks the same: the info, Nein and a closed dialog change nothing; Ja
    // starts afresh.
    Answer({INFO_OK, NEIN, IDCANCEL, JA});
    ASSERT_TRUE(m_Game.Press(VK_F1));
    EXPECT_EQ(MessageTexts().size(), 1u) << "the info";
    ASSERT_TRUE(m_Game.Click(60, 20));
    ASSERT_TRUE(m_Game.Press(ENTER));
    EXPECT_TRUE(m_Probe.Score() == score && m_Probe.Comment() == comment &&
                m_Probe.Field().CountStones() == 2);
    ASSERT_TRUE(m_Game.Press(ENTER));
    EXPECT_TRUE(m_Probe.Score() == 0 && m_Probe.Comment() == " " &&
                m_Probe.Field().CountStones() == FIELD_CELLS);
    EXPECT_EQ(MessageTexts(),
              std::vector<std::string>(3, "Wollen Sie Ihr aktuelles Spiel beenden?"));

    Answer({NEIN, IDCANCEL, JA});
    // Escape: only Ja leaves, to the menu with the music.
    for (const int state : {STATE_GAME, STATE_GAME, STATE_MENU})
    {
        ASSERT_TRUE(m_Game.Press(ESCAPE));
        EXPECT_EQ(m_Probe.State(), state);
        EXPECT_EQ(Playing(m_Probe.Music()), state == STATE_MENU);
    }
    EXPECT_EQ(MessageTexts().at(2), "Wollen Sie Ihr aktuelles Spiel verlassen?");
}

TEST_F(Play, AClearedFieldEarnsTheBonusBeforeThePlace)
{
    // 4 points alone would not reach the tenth place; with the bonus they do
    // (its bound is met in the table's test).
    m_Probe.Highscores().m_Entries[9].m_nScore = 1000;
    m_Probe.SetStones({{0, 19, B}, {1, 19, B}});
    Answer({OK, OK, IDCANCEL}); // Escape in the name dialog: no name
    ASSERT_TRUE(Shoot(1, 19));
    EXPECT_EQ(
        MessageTexts(),
        (std::vector<std::string>{
            "Super!!! Alles ratzekahl niedergemacht!!\nDas gibt 1500 Extrapunkte!!",
            "Sehr gut! 1504 Punkte reichen f\xFCr den 10. Platz!", "Ihr &Name(max. 10 Stellen):"}));
    EXPECT_TRUE(m_Probe.State() == STATE_HIGHSCORES && !Playing(m_Probe.Music()));
    const CHighscoreEntry* table = m_Probe.Highscores().m_Entries;
    EXPECT_TRUE(table[9].m_Name == "" && table[9].m_nScore == 1504 && table[8].m_nScore == 21000);
}

TEST_F(Play, TheFinalCollapseGivesEveryStoneAFrameAndCanBringAMoveBack)
{
    std::uint64_t dialogAt = 0;
    platform::testing::SetModalAnswerer(
        [&](platform::testing::ModalBox&)
        {
            dialogAt = platform::testing::VirtualMilliseconds();
            return OK;
        });
    // Two black stones two empty columns apart: each frame closes one column,
    // so the end test finds no move before they meet.
    m_Probe.SetStones({{0, 19, B}, {3, 19, B}});
    auto before = platform::testing::VirtualMilliseconds();
    ASSERT_TRUE(m_Game.Pass());
    EXPECT_EQ(FramesSince(before), 1 + 2) << "a frame, then one per stone";
    EXPECT_TRUE(m_Probe.State() == STATE_GAME && dialogAt == 0);

    m_Probe.SetStones(
        {{0, 19, B}, {1, 19, W}, {2, 19, B}, {3, 19, W}, {4, 19, B}, {5, 19, W}, {6, 19, B}});
    before = platform::testing::VirtualMilliseconds();
    ASSERT_TRUE(m_Game.Pass());
    EXPECT_EQ(FramesSince(before) - FramesSince(dialogAt), 1 + 7);
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{"0 Punkte reichen leider nicht aus um\nsich "
                                                       "eintragen zu lassen.Beim n\xE4"
                                                       "chsten Mal\nwird es besser!"});
    EXPECT_EQ(m_Probe.State(), STATE_HIGHSCORES);
}

TEST_F(Play, ASecondBangDoesNotCutTheFirstOff)
{
    const std::vector<CMainFrameProbe::Stone> pairs = {
        {0, 19, B}, {1, 19, B}, {9, 19, W}, {10, 19, W}};
    m_Probe.SetStones(pairs);
    ASSERT_TRUE(Shoot(0, 19));
    int length = 0; // the bang's, in frames of the mix, heard alone
    for (; Playing(m_Probe.Bang()) && length < 10 * platform::testing::kMixRate; length += 100)
        Mix(100);
    ASSERT_GT(length, 1000);

    m_Probe.SetStones(pairs);
    ASSERT_TRUE(Shoot(0, 19));
    Mix(length / 2);
    m_Probe.SetStones(pairs);
    ASSERT_TRUE(Shoot(9, 19));
    Mix(length / 2 - length / 10);
    EXPECT_TRUE(Playing(m_Probe.Bang()));
    Mix(length / 5);
    EXPECT_FALSE(Playing(m_Probe.Bang())) << "it ended on its first start's time";
}

TEST_F(Play, ArrowsMoveTheCrosshairOneCellFromTheCellUnderItOrTheNearest)
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

TEST_F(Play, SpaceDoesWhatALeftClickAtTheCrosshairDoes)
{
    // The grey pair keeps the game going after the black one is shot.
    const std::vector<CMainFrameProbe::Stone> stones = {
        {0, 19, B}, {1, 19, B}, {5, 19, W}, {10, 19, G}, {11, 19, G}};
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

// Input acts in the order it came, however long it waited: arrows pressed
// before the mouse moved carry the crosshair first, and the click that
// followed the move shoots where it was made.
TEST_F(Play, QueuedArrowsThenAMoveThenAClickShootAtTheClick)
{
    // Groups of 2, 3 and 4 stones side by side: the score tells which one was shot.
    m_Probe.SetStones({{0, 19, B},
                       {1, 19, B},
                       {2, 19, G},
                       {3, 19, G},
                       {4, 19, G},
                       {5, 19, W},
                       {6, 19, W},
                       {7, 19, W},
                       {8, 19, W}});
    m_Probe.Score() = 0;
    ASSERT_TRUE(m_Game.MoveTo(10, 470));
    using Kind = platform::InputEvent::Kind;
    const auto inject = [](Kind kind, int x, int y, UINT key = 0)
    {
        platform::InputEvent event;
        event.kind = kind, event.x = x, event.y = y, event.key = key, event.keyId = key;
        platform::testing::InjectEvent(event);
    };
    for (int press = 0; press < 5; ++press)
    {
        inject(Kind::KeyDown, 0, 0, VK_RIGHT);
        inject(Kind::KeyUp, 0, 0, VK_RIGHT);
    }
    for (const Kind kind : {Kind::MouseMove, Kind::MouseDown, Kind::MouseUp})
        inject(kind, 70, 470);
    for (int pass = 0; pass < 10; ++pass)
        ASSERT_TRUE(m_Game.Pass());
    EXPECT_EQ(m_Probe.Score(), 9) << "16: the shot went where the arrows put the crosshair";
    POINT cursor{};
    EXPECT_TRUE(GetCursorPos(&cursor) && cursor.x == 70 && cursor.y == 470);
}

// A held key repeats where it was pressed and nowhere after: not once the
// question it opened has closed, not in the screen it changed to. Let go and
// pressed again, it acts again. Alt+Enter acts once per press.
TEST_F(Play, AHeldKeyActsOnlyWhereItWasPressed)
{
    using Kind = platform::InputEvent::Kind;
    const auto key = [&](UINT code, bool repeat, Kind kind = Kind::KeyDown, bool alt = false)
    {
        platform::InputEvent event;
        event.kind = kind, event.key = code, event.keyId = code, event.repeat = repeat;
        event.alt = alt;
        platform::testing::InjectEvent(event);
        return m_Game.Pass();
    };
    // On the small button: one question (a second would find no answer).
    Answer({NEIN});
    ASSERT_TRUE(m_Game.MoveTo(60, 20));
    for (const bool repeat : {false, true, true})
        ASSERT_TRUE(key(VK_SPACE, repeat));
    Answer({NEIN});
    ASSERT_TRUE(key(VK_SPACE, false, Kind::KeyUp) && key(VK_SPACE, false));
    EXPECT_EQ(MessageTexts().size(), 2u);

    ASSERT_TRUE(m_Game.MoveTo(10, 90));
    for (const bool repeat : {false, true, true})
        ASSERT_TRUE(key(VK_RIGHT, repeat));
    POINT cursor{};
    EXPECT_TRUE(GetCursorPos(&cursor) && cursor.x == 70) << "a cell per press and repeat";

    Answer({JA});
    ASSERT_TRUE(key(VK_ESCAPE, false) && key(VK_ESCAPE, true));
    EXPECT_EQ(m_Probe.State(), STATE_MENU) << "the repeat did not show the credits";

    const platform::ScreenMode mode = platform::GetScreenMode();
    ASSERT_TRUE(key(VK_RETURN, false, Kind::KeyDown, true) &&
                key(VK_RETURN, true, Kind::KeyDown, true));
    EXPECT_NE(platform::GetScreenMode(), mode) << "switched once";
    platform::SetScreenMode(mode);
}

TEST(NameDlgTest, OkCutsTheNameToTenAndEscapeLeavesItEmpty)
{
    for (const int press : {1003, IDCANCEL})
    {
        platform::testing::SetModalAnswerer(
            [press](platform::testing::ModalBox& box)
            {
                box.editText = "Ren\xE9 Gro\xDFxy"; // 11 characters of code page 1252
                return press;
            });
        CNameDlg dialog;
        EXPECT_EQ(dialog.DoModal(), press == 1003 ? IDOK : IDCANCEL);
        EXPECT_EQ(std::string(dialog.GetName()), press == 1003 ? "Ren\xE9 Gro\xDFx" : "");
    }
}

} // namespace
