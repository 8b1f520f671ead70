// The game's rules: the field's collapse step, moves left, where a shot lands,
// and the taunts of each count's group. The fill from a seed is pinned by the
// golden game picture; that a shot takes exactly its group, along edges and not
// corners, by the end-to-end games on real fields.
#include "display/cdxsurface.h"
#include "game/ccomment.h"
#include "game/cfield.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace
{

using Cell = std::pair<int, int>;
constexpr int CHEQUER = -1; // black and white like a chess board: no stone beside its like

class FieldTest : public ::testing::Test
{
protected:
    FieldTest()
    {
        for (CdxSurface* image : {&m_Black, &m_White, &m_Grey})
            image->m_nWidth = image->m_nHeight = 20;
        m_Field.SetSurfaces(&m_Black, &m_White, &m_Grey);
        m_Field.Fill();
    }

    CStone* Stone(int i) { return m_Field.GetStone(i / FIELD_ROWS, i % FIELD_ROWS); }
    void PaintAll(int colour)
    {
        for (int i = 0; i < FIELD_CELLS; ++i)
            Stone(i)->SetColour(colour == CHEQUER ? (i / FIELD_ROWS + i % FIELD_ROWS) % 2 : colour);
    }
    void Paint(const std::set<Cell>& cells, int colour)
    {
        for (auto [c, r] : cells)
            m_Field.GetStone(c, r)->SetColour(colour);
    }
    void ClearColumn(int c)
    {
        for (int r = 0; r < FIELD_ROWS; ++r)
            m_Field.GetStone(c, r)->SetColour(STONE_DESTROYED);
    }
    // Destroyed cells read as null: the collapse may shuffle them among themselves.
    std::vector<std::vector<const CStone*>> Columns()
    {
        std::vector<std::vector<const CStone*>> columns(FIELD_COLUMNS);
        for (int i = 0; i < FIELD_CELLS; ++i)
            columns[i / FIELD_ROWS].push_back(Stone(i)->GetColour() == STONE_DESTROYED ? nullptr
                                                                                       : Stone(i));
        return columns;
    }

    CdxSurface m_Black, m_White, m_Grey;
    CField m_Field;
};

TEST_F(FieldTest, OneStoneFallsThroughARunPerStepAndStonesNeverPass)
{
    // Column 4 from the top: empty down to P, Q, empty, empty, R.
    ClearColumn(4);
    CStone* pqr[] = {m_Field.GetStone(4, 15), m_Field.GetStone(4, 16), m_Field.GetStone(4, 19)};
    for (int i = 0; i < 3; ++i)
        pqr[i]->SetColour(i);
    for (const auto& [p, q] : {Cell{15, 18}, Cell{17, 18}, Cell{17, 18}})
    {
        m_Field.CollapseStep();
        std::vector<const CStone*> column(FIELD_ROWS, nullptr);
        column[p] = pqr[0], column[q] = pqr[1], column[19] = pqr[2];
        EXPECT_EQ(Columns()[4], column) << p << "," << q;
    }
}

TEST_F(FieldTest, EmptyColumnsCloseUpOneColumnPerStep)
{
    ClearColumn(29); // nowhere to go
    const auto last = Columns();
    m_Field.CollapseStep();
    EXPECT_EQ(Columns(), last);

    // Two adjacent empty columns: the columns right of them need two steps.
    m_Field.Fill();
    const auto before = Columns();
    ClearColumn(10);
    ClearColumn(11);
    m_Field.CollapseStep();
    EXPECT_TRUE(m_Field.IsColumnEmpty(10) && Columns()[11] == before[12] &&
                Columns()[28] == before[29]);
    m_Field.CollapseStep();
    for (int c = 0; c < 28; ++c)
        EXPECT_EQ(Columns()[c], before[c < 10 ? c : c + 2]) << c;
    EXPECT_EQ(m_Field.CountStones(), 28 * 20);
}

// A field without moves ends the game and a cleared one earns the bonus in the
// game scenarios.
TEST_F(FieldTest, DestroyedCellsAreNoMove)
{
    // Two destroyed cells side by side are no move.
    PaintAll(CHEQUER);
    Paint({{6, 5}, {7, 5}}, STONE_DESTROYED);
    EXPECT_TRUE(m_Field.NoMovesLeft());
    Paint({{29, 18}, {29, 19}}, STONE_GREY);
    EXPECT_FALSE(m_Field.NoMovesLeft());
}

TEST_F(FieldTest, ShotPositionsOnBordersBelongToTheCellRightOrBelow)
{
    // x, y, then the only group: the cell hit and its partner; across the border is empty.
    const int cases[][6] = {
        {19, 300, 0, 11, 0, 12}, {20, 300, 1, 11, 2, 11},  {600, 300, 29, 11, 29, 12},
        {300, 80, 15, 0, 16, 0}, {300, 100, 15, 1, 15, 2}, {300, 480, 15, 19, 16, 19},
    };
    for (const auto& k : cases)
    {
        PaintAll(STONE_DESTROYED);
        Paint({{k[2], k[3]}, {k[4], k[5]}}, STONE_GREY);
        EXPECT_EQ(m_Field.Shoot(k[0], k[1]), 2) << k[0] << "," << k[1];
    }
}

// The lines a count gets over many seeds, each naming the count, without
// their digits, so that lines compare across counts.
std::set<std::string> Lines(int count)
{
    std::set<std::string> lines;
    CComment comment;
    for (unsigned seed = 1; seed <= 40; ++seed)
    {
        std::srand(seed);
        comment.Set(count, "");
        std::string line(comment.GetText());
        EXPECT_NE(line.find(std::to_string(count)), std::string::npos) << line;
        std::erase_if(line, [](char c) { return c >= '0' && c <= '9'; });
        lines.insert(line);
    }
    return lines;
}

TEST(CommentTest, EachCountGetsTheLinesOfItsGroup)
{
    // Each group's smallest and largest count and its number of lines.
    const int groups[][3] = {{2, 2, 3},   {3, 5, 3},   {6, 10, 3},
                             {11, 20, 5}, {21, 30, 3}, {31, 600, 3}};
    std::set<std::string> previous;
    for (const auto& [low, high, size] : groups)
    {
        const std::set<std::string> lines = Lines(low);
        EXPECT_EQ(lines.size(), static_cast<std::size_t>(size)) << low;
        EXPECT_EQ(Lines(high), lines) << high;
        EXPECT_NE(lines, previous) << low;
        previous = lines;
    }
}

} // namespace
