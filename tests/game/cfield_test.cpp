// Field rules: filling, the collapse step, neighbours, the per-frame
// questions, and the shot with its group search.
#include "display/cdxsurface.h"
#include "game/cfield.h"
#include "game/score.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <utility>
#include <vector>

namespace
{

using Cell = std::pair<int, int>;

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

    // Black and white like a chess board: no stone has an equal neighbour.
    void Chequer()
    {
        for (int c = 0; c < FIELD_COLUMNS; ++c)
            for (int r = 0; r < FIELD_ROWS; ++r)
                m_Field.GetStone(c, r)->SetColour((c + r) % 2);
    }
    void Paint(const std::set<Cell>& cells, int colour)
    {
        for (auto [c, r] : cells)
            m_Field.GetStone(c, r)->SetColour(colour);
    }
    void PaintColumn(int c, int colour)
    {
        for (int r = 0; r < FIELD_ROWS; ++r)
            m_Field.GetStone(c, r)->SetColour(colour);
    }
    void PaintAll(int colour)
    {
        for (int c = 0; c < FIELD_COLUMNS; ++c)
            PaintColumn(c, colour);
    }
    // The columns as painted: destroyed cells are null, since the collapse
    // step is free to shuffle them among themselves.
    std::vector<std::vector<const CStone*>> Columns() const
    {
        std::vector<std::vector<const CStone*>> columns(FIELD_COLUMNS);
        for (int c = 0; c < FIELD_COLUMNS; ++c)
            for (int r = 0; r < FIELD_ROWS; ++r)
            {
                const CStone* stone = m_Field.GetStone(c, r);
                columns[c].push_back(stone->GetColour() == STONE_DESTROYED ? nullptr : stone);
            }
        return columns;
    }
    std::set<Cell> DestroyedCells() const
    {
        std::set<Cell> cells;
        for (int i = 0; i < FIELD_CELLS; ++i)
            if (m_Field.GetStone(i / FIELD_ROWS, i % FIELD_ROWS)->GetColour() == STONE_DESTROYED)
                cells.insert({i / FIELD_ROWS, i % FIELD_ROWS});
        return cells;
    }

    CdxSurface m_Black;
    CdxSurface m_White;
    CdxSurface m_Grey;
    CField m_Field;
};

TEST_F(FieldTest, FillDrawsOneValuePerSlotColumnByColumnAndMatchesImages)
{
    std::srand(1234);
    m_Field.Fill(); // a refill deletes the earlier stones (the sanitizer build checks)
    std::srand(1234);
    const CdxSurface* images[] = {&m_Black, &m_White, &m_Grey};
    for (int c = 0; c < FIELD_COLUMNS; ++c)
        for (int r = 0; r < FIELD_ROWS; ++r)
        {
            const CStone* stone = m_Field.GetStone(c, r);
            ASSERT_EQ(stone->GetColour(), std::rand() % 3) << c << "," << r;
            ASSERT_EQ(stone->GetSurface(), images[stone->GetColour()]);
        }
    const auto before = Columns();
    m_Field.CollapseStep();
    EXPECT_EQ(Columns(), before);
}

TEST_F(FieldTest, OneStoneFallsThroughARunPerStepAndStonesNeverPass)
{
    // Column 4 from the top: empty down to P, Q, empty, empty, R.
    PaintColumn(4, STONE_DESTROYED);
    const std::vector<CStone*> pqr = {m_Field.GetStone(4, 15), m_Field.GetStone(4, 16),
                                      m_Field.GetStone(4, 19)};
    for (int i = 0; i < 3; ++i)
        pqr[i]->SetColour(i);
    auto expect = [&](int p, int q)
    {
        std::vector<const CStone*> column(FIELD_ROWS, nullptr);
        column[p] = pqr[0], column[q] = pqr[1], column[19] = pqr[2];
        EXPECT_EQ(Columns()[4], column);
    };
    m_Field.CollapseStep();
    expect(15, 18);
    m_Field.CollapseStep();
    expect(17, 18);
    m_Field.CollapseStep();
    expect(17, 18);
}

TEST_F(FieldTest, EmptyColumnsCloseUpOneColumnPerStep)
{
    // Column 29 has nowhere to go.
    PaintColumn(29, STONE_DESTROYED);
    auto before = Columns();
    m_Field.CollapseStep();
    EXPECT_EQ(Columns(), before);

    m_Field.Fill();
    before = Columns();
    PaintColumn(0, STONE_DESTROYED);
    m_Field.CollapseStep();
    for (int c = 0; c < 29; ++c)
        EXPECT_EQ(Columns()[c], before[c + 1]) << c;

    // Two adjacent empty columns: the columns right of them need two steps.
    m_Field.Fill();
    before = Columns();
    PaintColumn(10, STONE_DESTROYED);
    PaintColumn(11, STONE_DESTROYED);
    m_Field.CollapseStep();
    EXPECT_TRUE(m_Field.IsColumnEmpty(10));
    for (int c = 11; c < 29; ++c)
        EXPECT_EQ(Columns()[c], before[c + 1]) << c;
    m_Field.CollapseStep();
    for (int c = 0; c < 28; ++c)
        EXPECT_EQ(Columns()[c], before[c < 10 ? c : c + 2]) << c;
    EXPECT_EQ(m_Field.CountStones(), 28 * 20);
}

TEST_F(FieldTest, ADestroyedNeighbourIsAStoneButADestroyedCellIsIsolated)
{
    Chequer();
    Paint({{6, 5}, {7, 5}}, STONE_DESTROYED);
    EXPECT_EQ(m_Field.GetNeighbour(5, 5, DIRECTION_RIGHT), m_Field.GetStone(6, 5));
    EXPECT_TRUE(m_Field.IsIsolated(6, 5));
}

TEST_F(FieldTest, MovesClearedAndCount)
{
    Chequer();
    EXPECT_TRUE(m_Field.NoMovesLeft());
    Paint({{29, 18}, {29, 19}}, STONE_GREY);
    EXPECT_FALSE(m_Field.NoMovesLeft());

    PaintAll(STONE_DESTROYED);
    Paint({{0, 19}}, STONE_BLACK);
    Paint({{1, 19}}, STONE_WHITE);
    Paint({{2, 19}}, STONE_GREY);
    EXPECT_TRUE(m_Field.NoMovesLeft());
    EXPECT_FALSE(m_Field.IsCleared());
    EXPECT_EQ(m_Field.CountStones(), 3);

    PaintAll(STONE_DESTROYED);
    EXPECT_TRUE(m_Field.NoMovesLeft());
    EXPECT_TRUE(m_Field.IsCleared());
    EXPECT_EQ(m_Field.CountStones(), 0);
}

TEST_F(FieldTest, ShotPositionsOnBordersBelongToTheCellRightOrBelow)
{
    struct Case
    {
        int x, y;
        Cell target, partner; // the only group; the cell across the border is empty
    };
    const Case cases[] = {
        {19, 300, {0, 11}, {0, 12}},
        {20, 300, {1, 11}, {2, 11}},
        {600, 300, {29, 11}, {29, 12}},
        {300, 80, {15, 0}, {16, 0}},
        {300, 100, {15, 1}, {15, 2}},
        {300, 480, {15, 19}, {16, 19}},
        // No cell matches, so (0, 0) is taken; the frame's bounds test keeps
        // such clicks away from the field.
        {601, 300, {0, 0}, {1, 0}},
        {300, 79, {0, 0}, {0, 1}},
    };
    for (const Case& k : cases)
    {
        PaintAll(STONE_DESTROYED);
        Paint({k.target, k.partner}, STONE_GREY);
        EXPECT_EQ(m_Field.Shoot(k.x, k.y), 2) << k.x << "," << k.y;
    }
}

TEST_F(FieldTest, ShotRefusesDestroyedAndIsolatedStones)
{
    Chequer();
    Paint({{5, 5}}, STONE_DESTROYED);
    EXPECT_EQ(m_Field.Shoot(110, 190), 0);
    EXPECT_EQ(m_Field.Shoot(130, 190), 0);
    EXPECT_EQ(m_Field.CountStones(), 599);

    Paint({{6, 5}, {7, 5}}, STONE_GREY);
    const int n = m_Field.Shoot(130, 190);
    EXPECT_EQ(ShotScore(n), 4);
    EXPECT_EQ(DestroyedCells(), (std::set<Cell>{{5, 5}, {6, 5}, {7, 5}}));
}

TEST_F(FieldTest, GroupsFollowEdgesNotCorners)
{
    Chequer();
    const std::set<Cell> l = {{3, 10}, {3, 11}, {3, 12}, {3, 13}, {4, 13}, {5, 13}};
    Paint(l, STONE_GREY);
    Paint({{2, 14}, {6, 12}}, STONE_GREY); // diagonal to the L's ends
    EXPECT_EQ(m_Field.Shoot(65, 285), 6);
    EXPECT_EQ(DestroyedCells(), l);

    // A ring around a group of another colour.
    Chequer();
    std::set<Cell> ring;
    for (int c = 10; c <= 14; ++c)
        for (int r = 5; r <= 9; ++r)
            if (c == 10 || c == 14 || r == 5 || r == 9)
                ring.insert({c, r});
    Paint(ring, STONE_GREY);
    Paint({{11, 6}, {12, 6}}, STONE_WHITE);
    EXPECT_EQ(m_Field.Shoot(240, 265), 16);
    EXPECT_EQ(DestroyedCells(), ring);

    // A winding line from column 0 to column 29, shot at its right end.
    Chequer();
    std::set<Cell> line;
    for (int c = 0; c < FIELD_COLUMNS; ++c)
        line.insert(c % 2 ? Cell{c, 4} : Cell{c, 3});
    for (int c = 0; c < FIELD_COLUMNS; c += 2)
        line.insert({c, 4});
    Paint(line, STONE_GREY);
    EXPECT_EQ(m_Field.Shoot(599, 161), 45);
    EXPECT_EQ(DestroyedCells(), line);

    PaintAll(STONE_WHITE);
    EXPECT_EQ(m_Field.Shoot(0, 479), 600);
    EXPECT_TRUE(m_Field.IsCleared());
}

} // namespace
