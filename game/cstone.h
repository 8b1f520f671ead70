// One stone of the field: its colour and the picture it is drawn with.
#pragma once

class CdxScreen;
class CdxSurface;

constexpr int STONE_BLACK = 0;
constexpr int STONE_WHITE = 1;
constexpr int STONE_GREY = 2;
constexpr int STONE_DESTROYED = 3;

class CStone
{
public:
    CStone() = default;
    virtual ~CStone() = default;

    void SetColour(int colour) { m_nColour = colour; }
    int GetColour() const { return m_nColour; }
    void SetSurface(CdxSurface* image) { m_pImage = image; }
    CdxSurface* GetSurface() const { return m_pImage; }

    // Blits the picture with its colour key, top-left corner at (x, y), into
    // the screen's back buffer.
    void Draw(CdxScreen* screen, int x, int y);

private:
    CdxSurface* m_pImage = nullptr; // shared by all stones of one colour, not owned
    int m_nColour = STONE_DESTROYED;
};
