// Drawing the button column, following the mouse and the keys, and hit tests.
#include "ui/cbuttonmenu.h"

#include "display/cdxscreen.h"
#include "display/cdxsurface.h"
#include "display/cscenerecording.h"

CButtonMenu::~CButtonMenu()
{
    // An image may serve as an item's normal and hot image: each one is
    // deleted where it first appears, normal images first.
    const std::size_t count = m_pNormalImages.size();
    auto image = [&](std::size_t k)
    { return k < count ? m_pNormalImages[k] : m_pHotImages[k - count]; };
    for (std::size_t i = 0; i < 2 * count; ++i)
    {
        std::size_t first = 0;
        while (image(first) != image(i))
            ++first;
        if (first == i)
            delete image(i);
    }
}

void CButtonMenu::AddItem(CdxSurface* normal, CdxSurface* hot)
{
    // Room first, so that both arrays always keep the same length.
    m_pNormalImages.reserve(m_pNormalImages.size() + 1);
    m_pHotImages.reserve(m_pHotImages.size() + 1);
    m_pNormalImages.push_back(normal);
    m_pHotImages.push_back(hot);
}

void CButtonMenu::SetOrigin(int x, int y)
{
    m_nOriginX = x;
    m_nOriginY = y;
}

void CButtonMenu::SetSpacing(int spacing)
{
    m_nSpacing = spacing;
}

void CButtonMenu::Update(int x, int y, CdxScreen* screen)
{
    Select(x, y);
    Render(screen);
}

void CButtonMenu::Select(int x, int y)
{
    if (Count() > 0)
    {
        const int hit = HitTest(x, y);
        if (hit != -1)
            m_nSelected = hit;
        // Each test once, in this order: above the range gives the first
        // item, below it the last; not a remainder.
        if (m_nSelected > Count() - 1)
            m_nSelected = 0;
        if (m_nSelected < 0)
            m_nSelected = Count() - 1;
    }
}

void CButtonMenu::Render(CdxScreen* screen)
{
    // A highlight that moves changes the looks of two slots, not the scene:
    // a kept scene is mended there.
    const CSceneRecording::Slots slots(screen->m_pBackSurface);
    for (int i = 0; i < Count(); ++i)
    {
        CdxSurface* image = i == m_nSelected ? m_pHotImages[i] : m_pNormalImages[i];
        image->DrawFastKeyed(m_nOriginX, m_nOriginY + m_nSpacing * i, screen->m_pBackSurface);
    }
}

int CButtonMenu::HitTest(int x, int y) const
{
    for (int i = 0; i < Count(); ++i)
    {
        const int top = m_nOriginY + m_nSpacing * i;
        const CdxSurface* image = m_pNormalImages[i];
        if (m_nOriginX <= x && x <= m_nOriginX + image->m_nWidth && top <= y &&
            y <= top + image->m_nHeight)
            return i;
    }
    return -1;
}
