// The kept scene, its slots' other looks, and what each buffer of the flip chain holds.
#include "display/cscenecache.h"

#include "display/cdxscreen.h"
#include "display/cdxsurface.h"

#include <algorithm>
#include <utility>

namespace
{

// A scene drawn the same this many frames in a row stands still and is kept.
// Fewer would copy scenes that last only a moment, as while stones fall.
constexpr int kStandingFrames = 3;

bool IsEmpty(const RECT& r)
{
    return r.right <= r.left || r.bottom <= r.top;
}

bool Overlap(const RECT& a, const RECT& b)
{
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

bool SameRects(const std::vector<RECT>& a, const std::vector<RECT>& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const RECT& r, const RECT& s) {
                          return r.left == s.left && r.top == s.top && r.right == s.right &&
                                 r.bottom == s.bottom;
                      });
}

// Slots that overlap cannot be mended one by one: their selection then
// becomes part of the key.
void FoldOverlappingSlots(CSceneCache::Key& key, CSceneCache::Slots& slots)
{
    for (std::size_t i = 0; i < slots.rects.size(); ++i)
        for (std::size_t j = i + 1; j < slots.rects.size(); ++j)
            if (Overlap(slots.rects[i], slots.rects[j]))
            {
                if (!key.empty())
                    key.push_back(slots.selected);
                slots = {};
                return;
            }
}

// Copies rect from the surface to the same place in the back buffer.
bool CopyToBack(CdxScreen* screen, IDirectDrawSurface4* from, RECT rect)
{
    return SUCCEEDED(screen->m_pBackSurface->m_pSurface->BltFast(
        static_cast<DWORD>(rect.left), static_cast<DWORD>(rect.top), from, &rect,
        DDBLTFAST_NOCOLORKEY | DDBLTFAST_WAIT));
}

// A surface of the screen's size in system memory, or null.
IDirectDrawSurface4* ScreenSizedSurface(CdxScreen* screen)
{
    DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof(desc);
    desc.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH;
    desc.dwWidth = screen->m_nWidth;
    desc.dwHeight = screen->m_nHeight;
    desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY;
    IDirectDrawSurface4* surface = nullptr;
    if (FAILED(screen->m_pDirectDraw->CreateSurface(&desc, &surface, nullptr)))
        return nullptr;
    return surface;
}

bool IsLost(IDirectDrawSurface4* surface)
{
    return surface != nullptr && surface->IsLost() == DDERR_SURFACELOST;
}

} // namespace

CSceneCache::~CSceneCache()
{
    Forget();
}

void CSceneCache::CheckBuffers(CdxScreen* screen)
{
    if (screen->m_pFrontSurface->Uniqueness() != m_nFrontUniqueness)
        m_Front.known = false;
    if (screen->m_pBackSurface->Uniqueness() != m_nBackUniqueness)
        m_Back.known = false;
    // Lost memory comes back empty: what it held is kept no more.
    if (IsLost(m_pScene) || IsLost(m_pOtherLooks))
    {
        m_SceneKey.clear();
        m_OtherKept.assign(m_OtherKept.size(), false);
    }
}

bool CSceneCache::IsKept(const Key& key, const Slots& slots) const
{
    return !key.empty() && m_pScene != nullptr && key == m_SceneKey &&
           SameRects(slots.rects, m_SceneSlots.rects);
}

bool CSceneCache::Restore(CdxScreen* screen, Key key, Slots slots)
{
    FoldOverlappingSlots(key, slots);
    CheckBuffers(screen);
    if (!IsKept(key, slots) || !m_Back.known || key != m_Back.key)
        return false;
    // Each slot whose look changes, or on which the old overlay lay, comes
    // from where its new look is kept; if that is nowhere, nothing is mended.
    const RECT overlay = m_Back.overlay;
    std::vector<std::pair<IDirectDrawSurface4*, RECT>> slotCopies;
    for (std::size_t i = 0; i < slots.rects.size(); ++i)
    {
        const RECT& slot = slots.rects[i];
        const bool hot = static_cast<int>(i) == slots.selected;
        if (hot == (static_cast<int>(i) == m_Back.selected) && !Overlap(slot, overlay))
            continue;
        if (hot == (static_cast<int>(i) == m_SceneSlots.selected))
            slotCopies.emplace_back(m_pScene, slot);
        else if (m_OtherKept[i])
            slotCopies.emplace_back(m_pOtherLooks, slot);
        else
            return false;
    }
    if (!IsEmpty(overlay) && !CopyToBack(screen, m_pScene, overlay))
        return false;
    for (const auto& [from, slot] : slotCopies)
        if (!CopyToBack(screen, from, slot))
            return false;
    m_Composed = {std::move(key), slots.selected, {}, true};
    return true;
}

void CSceneCache::Drawn(CdxScreen* screen, Key key, Slots slots)
{
    FoldOverlappingSlots(key, slots);
    m_nDrawnInARow = !key.empty() && key == m_LastDrawn ? m_nDrawnInARow + 1 : 1;
    m_LastDrawn = key;
    if (IsKept(key, slots))
        KeepOtherLooks(screen, slots.selected);
    else if (m_nDrawnInARow >= kStandingFrames && !Keep(screen, key, slots))
        m_SceneKey.clear();
    const bool known = !key.empty();
    m_Composed = {std::move(key), slots.selected, {}, known};
}

bool CSceneCache::Keep(CdxScreen* screen, const Key& key, const Slots& slots)
{
    if (m_pScene == nullptr && (m_pScene = ScreenSizedSurface(screen)) == nullptr)
        return false; // without the memory the frames are simply drawn whole
    if (IsLost(m_pScene))
        m_pScene->Restore();
    if (FAILED(m_pScene->BltFast(0, 0, screen->m_pBackSurface->m_pSurface, nullptr,
                                 DDBLTFAST_NOCOLORKEY | DDBLTFAST_WAIT)))
        return false;
    m_SceneKey = key;
    m_SceneSlots = slots;
    m_OtherKept.assign(slots.rects.size(), false);
    return true;
}

void CSceneCache::KeepOtherLooks(CdxScreen* screen, int selected)
{
    for (std::size_t i = 0; i < m_SceneSlots.rects.size(); ++i)
    {
        const bool hot = static_cast<int>(i) == selected;
        if (m_OtherKept[i] || hot == (static_cast<int>(i) == m_SceneSlots.selected))
            continue;
        if (m_pOtherLooks == nullptr && (m_pOtherLooks = ScreenSizedSurface(screen)) == nullptr)
            return;
        if (IsLost(m_pOtherLooks))
            m_pOtherLooks->Restore();
        RECT slot = m_SceneSlots.rects[i];
        m_OtherKept[i] = SUCCEEDED(m_pOtherLooks->BltFast(
            static_cast<DWORD>(slot.left), static_cast<DWORD>(slot.top),
            screen->m_pBackSurface->m_pSurface, &slot, DDBLTFAST_NOCOLORKEY | DDBLTFAST_WAIT));
    }
}

void CSceneCache::Flipped(CdxScreen* screen, HRESULT result)
{
    if (FAILED(result))
    {
        m_Front.known = m_Back.known = m_Composed.known = false;
        return;
    }
    m_Back = std::exchange(m_Front, std::exchange(m_Composed, Frame{}));
    m_nFrontUniqueness = screen->m_pFrontSurface->Uniqueness();
    m_nBackUniqueness = screen->m_pBackSurface->Uniqueness();
}

void CSceneCache::Forget()
{
    for (IDirectDrawSurface4** surface : {&m_pScene, &m_pOtherLooks})
    {
        if (*surface != nullptr)
            (*surface)->Release();
        *surface = nullptr;
    }
    m_SceneKey.clear();
    m_SceneSlots = {};
    m_OtherKept.clear();
    m_LastDrawn.clear();
    m_nDrawnInARow = 0;
    m_Composed = m_Front = m_Back = Frame{};
}
