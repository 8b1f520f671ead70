// The playing field: 30 columns of 20 stones. Fills itself at random, paints
// itself, lets stones fall and columns close up one step per frame, answers
// the per-frame questions and carries out a shot.
#pragma once

#include "game/cstone.h"
#include "game/fieldgeometry.h"

#include <array>

class CdxScreen;
class CdxSurface;

constexpr int DIRECTION_UP = 0;
constexpr int DIRECTION_DOWN = 1;
constexpr int DIRECTION_LEFT = 2;
constexpr int DIRECTION_RIGHT = 3;

class CField
{
public:
    // Seeds the program's one random generator with the time.
    CField();
    virtual ~CField();
    CField(const CField&) = delete;
    CField& operator=(const CField&) = delete;

    // The stone images, not owned; the black one's size is the tile size.
    void SetSurfaces(CdxSurface* black, CdxSurface* white, CdxSurface* grey);

    void Fill();
    void Clear();
    // Paints the stones. Each frame takes one collapse step just before, so
    // that the fall is animated and the frame can tell whether anything moved.
    void Draw(CdxScreen* screen);
    void CollapseStep();

    CStone* GetNeighbour(int column, int row, int direction) const;
    bool HasSameColourNeighbour(int column, int row, int direction) const;
    bool IsIsolated(int column, int row) const;
    bool IsColumnEmpty(int column) const;
    bool NoMovesLeft() const;
    bool IsCleared() const;
    int CountStones() const;

    // The number of stones the shot at screen position (x, y) destroyed.
    int Shoot(int x, int y);
    int DestroyGroup(int column, int row);

    // The stone in a cell (null before the first fill).
    CStone* GetStone(int column, int row) const { return m_pStones[Index(column, row)]; }

private:
    static int Index(int column, int row) { return column * FIELD_ROWS + row; }

    std::array<CStone*, FIELD_CELLS> m_pStones{};
    CdxSurface* m_pBlackImage = nullptr;
    CdxSurface* m_pGreyImage = nullptr;
    CdxSurface* m_pWhiteImage = nullptr;
};
