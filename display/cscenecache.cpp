// The kept scene and what each buffer of the flip chain holds.
#include "display/cscenecache.h"

#include "display/cdxscreen.h"
#include "display/cdxsurface.h"

#include <utility>

namespace
{

// A scene drawn the same this many frames in a row stands still and is kept.
// Fewer would copy scenes that last only until the next move of the pointer
// (a menu's hover highlight follows it), and falling stones change every frame.
constexpr int kStandingFrames = 3;

bool IsEmpty(const RECT& r)
{
    return r.right <= r.left || r.bottom <= r.top;
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
}

bool CSceneCache::Restore(CdxScreen* screen, const Key& key)
{
    CheckBuffers(screen);
    if (key.empty() || m_pScene == nullptr || key != m_SceneKey || !m_Back.known ||
        key != m_Back.key)
        return false;
    RECT overlay = m_Back.overlay;
    if (!IsEmpty(overlay) && FAILED(screen->m_pBackSurface->m_pSurface->BltFast(
                                 static_cast<DWORD>(overlay.left), static_cast<DWORD>(overlay.top),
                                 m_pScene, &overlay, DDBLTFAST_NOCOLORKEY | DDBLTFAST_WAIT)))
        return false;
    m_Composed = {key, {}, true};
    return true;
}

void CSceneCache::Drawn(CdxScreen* screen, const Key& key)
{
    m_Composed = {key, {}, !key.empty()};
    m_nDrawnInARow = !key.empty() && key == m_LastDrawn ? m_nDrawnInARow + 1 : 1;
    m_LastDrawn = key;
    if (m_nDrawnInARow >= kStandingFrames && (m_pScene == nullptr || key != m_SceneKey) &&
        !Keep(screen, key))
        m_SceneKey.clear();
}

bool CSceneCache::Keep(CdxScreen* screen, const Key& key)
{
    if (m_pScene == nullptr)
    {
        DDSURFACEDESC2 desc{};
        desc.dwSize = sizeof(desc);
        desc.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH;
        desc.dwWidth = screen->m_nWidth;
        desc.dwHeight = screen->m_nHeight;
        desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY;
        // Without the memory the frames are simply drawn whole.
        if (FAILED(screen->m_pDirectDraw->CreateSurface(&desc, &m_pScene, nullptr)))
        {
            m_pScene = nullptr;
            return false;
        }
    }
    if (m_pScene->IsLost() == DDERR_SURFACELOST)
        m_pScene->Restore();
    if (FAILED(m_pScene->BltFast(0, 0, screen->m_pBackSurface->m_pSurface, nullptr,
                                 DDBLTFAST_NOCOLORKEY | DDBLTFAST_WAIT)))
        return false;
    m_SceneKey = key;
    return true;
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
    if (m_pScene != nullptr)
        m_pScene->Release();
    m_pScene = nullptr;
    m_SceneKey.clear();
    m_LastDrawn.clear();
    m_nDrawnInARow = 0;
    m_Composed = m_Front = m_Back = Frame{};
}
