// A vertical column of bitmap buttons with a normal and a hot image each. The
// selection follows the mouse and the arrow keys and wraps at both ends; what
// a button does is up to the menu's owner.
#pragma once

#include <vector>

class CdxScreen;
class CdxSurface;

class CButtonMenu
{
public:
    CButtonMenu() = default;
    virtual ~CButtonMenu();
    CButtonMenu(const CButtonMenu&) = delete;
    CButtonMenu& operator=(const CButtonMenu&) = delete;

    // The menu takes both images; one image may serve as both.
    void AddItem(CdxSurface* normal, CdxSurface* hot);
    void SetOrigin(int x, int y);
    void SetSpacing(int spacing);

    // Per frame, with the cursor: hover selects, the selection wraps, then
    // the items are drawn.
    void Update(int x, int y, CdxScreen* screen);
    // Draws the items, each a slot of the scene whose look is the item's
    // image; never touches the selection.
    void Render(CdxScreen* screen);
    // The item under the point (all four edges inclusive), or -1.
    int HitTest(int x, int y) const;

    // By design: unbounded here; the next Update wraps the selection.
    void SelectPrevious() { --m_nSelected; }
    void SelectNext() { ++m_nSelected; }
    int GetSelected() const { return m_nSelected; }

private:
    int Count() const { return static_cast<int>(m_pNormalImages.size()); }
    // The selection part of Update.
    void Select(int x, int y);

    int m_nSpacing = 100;
    // By design: starts at -1, which the first frame wraps to the last item, so
    // "Beenden" is highlighted until the pointer or a key moves the selection.
    int m_nSelected = -1;
    std::vector<CdxSurface*> m_pNormalImages;
    std::vector<CdxSurface*> m_pHotImages;
    int m_nOriginX = 0;
    int m_nOriginY = 0;
};
