// Filling, painting, shooting and settling the field of stones.
#include "game/cfield.h"

#include "display/cdxscreen.h"
#include "display/cdxsurface.h"

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <vector>

CField::CField()
{
    std::srand(static_cast<unsigned>(std::time(nullptr)));
}

CField::~CField()
{
    Clear();
}

void CField::SetSurfaces(CdxSurface* black, CdxSurface* white, CdxSurface* grey)
{
    m_pBlackImage = black;
    m_pWhiteImage = white;
    m_pGreyImage = grey;
}

void CField::Fill()
{
    // Either every slot holds a stone or none does.
    if (m_pStones[0] != nullptr)
        Clear();
    for (CStone*& slot : m_pStones)
    {
        const int colour = std::rand() % 3;
        auto* stone = new CStone;
        stone->SetColour(colour);
        stone->SetSurface(colour == STONE_BLACK   ? m_pBlackImage
                          : colour == STONE_WHITE ? m_pWhiteImage
                                                  : m_pGreyImage);
        slot = stone;
    }
}

void CField::Clear()
{
    for (CStone*& slot : m_pStones)
    {
        delete slot;
        slot = nullptr;
    }
}

void CField::Draw(CdxScreen* screen)
{
    const int w = m_pBlackImage->m_nWidth;
    const int h = m_pBlackImage->m_nHeight;
    const int top = FieldTop(h);
    for (int column = 0; column < FIELD_COLUMNS; ++column)
        for (int row = 0; row < FIELD_ROWS; ++row)
        {
            CStone* stone = GetStone(column, row);
            if (stone->GetColour() != STONE_DESTROYED)
                stone->Draw(screen, FIELD_LEFT + column * w, top + row * h);
        }
}

void CField::CollapseStep()
{
    // Falling. The sweep goes downward and meets a moved stone again, so the
    // lowest stone above a gap drops through all of it in one step while the
    // stones on top of it wait for the next steps; the animation relies on it.
    for (int column = 0; column < FIELD_COLUMNS; ++column)
        for (int row = 0; row + 1 < FIELD_ROWS; ++row)
            if (GetStone(column, row + 1)->GetColour() == STONE_DESTROYED)
                std::swap(m_pStones[Index(column, row)], m_pStones[Index(column, row + 1)]);

    // Closing up: an empty column is carried to the right through the rest of
    // the sweep, so everything right of it moves one column to the left.
    for (int column = 0; column < FIELD_COLUMNS; ++column)
        if (IsColumnEmpty(column))
        {
            auto first = m_pStones.begin() + Index(column, 0);
            std::swap_ranges(first, first + FIELD_ROWS, first + FIELD_ROWS);
        }
}

CStone* CField::GetNeighbour(int column, int row, int direction) const
{
    switch (direction)
    {
    case DIRECTION_UP:
        return row > 0 ? GetStone(column, row - 1) : nullptr;
    case DIRECTION_DOWN:
        return row < FIELD_ROWS - 1 ? GetStone(column, row + 1) : nullptr;
    case DIRECTION_LEFT:
        return column > 0 ? GetStone(column - 1, row) : nullptr;
    case DIRECTION_RIGHT:
        return column < FIELD_COLUMNS - 1 ? GetStone(column + 1, row) : nullptr;
    default:
        return nullptr;
    }
}

bool CField::HasSameColourNeighbour(int column, int row, int direction) const
{
    const CStone* neighbour = GetNeighbour(column, row, direction);
    return neighbour != nullptr && neighbour->GetColour() == GetStone(column, row)->GetColour();
}

bool CField::IsIsolated(int column, int row) const
{
    if (GetStone(column, row)->GetColour() == STONE_DESTROYED)
        return true;
    for (int direction : {DIRECTION_UP, DIRECTION_DOWN, DIRECTION_RIGHT, DIRECTION_LEFT})
        if (HasSameColourNeighbour(column, row, direction))
            return false;
    return true;
}

bool CField::IsColumnEmpty(int column) const
{
    // The last column has no right neighbour to change places with.
    if (column == FIELD_COLUMNS - 1)
        return false;
    for (int row = 0; row < FIELD_ROWS; ++row)
        if (GetStone(column, row)->GetColour() != STONE_DESTROYED)
            return false;
    return true;
}

bool CField::NoMovesLeft() const
{
    for (int column = 0; column < FIELD_COLUMNS; ++column)
        for (int row = 0; row < FIELD_ROWS; ++row)
            if (!IsIsolated(column, row))
                return false;
    return true;
}

bool CField::IsCleared() const
{
    return std::all_of(m_pStones.begin(), m_pStones.end(),
                       [](const CStone* stone) { return stone->GetColour() == STONE_DESTROYED; });
}

int CField::CountStones() const
{
    return static_cast<int>(std::count_if(m_pStones.begin(), m_pStones.end(),
                                          [](const CStone* stone)
                                          { return stone->GetColour() != STONE_DESTROYED; }));
}

int CField::Shoot(int x, int y)
{
    const int w = m_pBlackImage->m_nWidth;
    const int h = m_pBlackImage->m_nHeight;
    const int fieldX = x - FIELD_LEFT;
    const int fieldY = y - FieldTop(h);

    // Both borders of a cell count as inside and the last match wins, so a
    // border belongs to the cell right of it or below it; x = 30 * w still
    // hits the last column.
    int hitColumn = 0;
    int hitRow = 0;
    for (int column = 0; column < FIELD_COLUMNS; ++column)
        for (int row = 0; row < FIELD_ROWS; ++row)
            if (column * w <= fieldX && fieldX <= column * w + w && row * h <= fieldY &&
                fieldY <= row * h + h)
            {
                hitColumn = column;
                hitRow = row;
            }

    if (GetStone(hitColumn, hitRow)->GetColour() == STONE_DESTROYED)
        return 0;
    if (IsIsolated(hitColumn, hitRow))
        return 0;
    return DestroyGroup(hitColumn, hitRow);
}

int CField::DestroyGroup(int column, int row)
{
    std::vector<int> columns{column};
    std::vector<int> rows{row};

    // Breadth first; cells appended during the walk are walked too.
    for (std::size_t k = 0; k < columns.size(); ++k)
    {
        const int c = columns[k];
        const int r = rows[k];
        for (int direction : {DIRECTION_UP, DIRECTION_DOWN, DIRECTION_LEFT, DIRECTION_RIGHT})
        {
            if (!HasSameColourNeighbour(c, r, direction))
                continue;
            const int nc = c + (direction == DIRECTION_RIGHT) - (direction == DIRECTION_LEFT);
            const int nr = r + (direction == DIRECTION_DOWN) - (direction == DIRECTION_UP);
            bool listed = false;
            for (std::size_t i = 0; i < columns.size() && !listed; ++i)
                listed = columns[i] == nc && rows[i] == nr;
            if (!listed)
            {
                columns.push_back(nc);
                rows.push_back(nr);
            }
        }
    }

    // Only now, so that every comparison above was against the start colour.
    for (std::size_t k = 0; k < columns.size(); ++k)
        GetStone(columns[k], rows[k])->SetColour(STONE_DESTROYED);
    return static_cast<int>(columns.size());
}
