// Recording each frame's scene, the kept scene, its slots' other looks, what
// each buffer of the flip chain holds, and the check of mended frames.
#include "display/cscenecache.h"

#include "display/cdxscreen.h"
#include "display/cdxsurface.h"

#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <utility>

namespace
{

// A scene drawn the same this many frames in a row stands still and is kept.
// Fewer would copy scenes that last only a moment, as while stones fall.
constexpr int kStandingFrames = 3;

bool CheckWanted()
{
    if (const char* wanted = std::getenv("TZ_CHECK_MENDED_FRAMES"))
        return std::string(wanted) == "1";
#ifdef NDEBUG
    return false;
#else
    return true;
#endif
}

bool IsEmpty(const RECT& r)
{
    return r.right <= r.left || r.bottom <= r.top;
}

bool Overlap(const RECT& a, const RECT& b)
{
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// Copies rect from the surface to the same place in the back buffer.
bool CopyToBack(CdxScreen* screen, IDirectDrawSurface4* from, RECT rect)
{
    return SUCCEEDED(screen->m_pBackSurface->m_pSurface->BltFast(
        static_cast<DWORD>(rect.left), static_cast<DWORD>(rect.top), from, &rect,
        DDBLTFAST_NOCOLORKEY | DDBLTFAST_WAIT));
}

// Copies the back buffer, all of it or rect, to the same place in the surface.
bool CopyFromBack(CdxScreen* screen, IDirectDrawSurface4* to, RECT* rect)
{
    const DWORD x = rect ? static_cast<DWORD>(rect->left) : 0;
    const DWORD y = rect ? static_cast<DWORD>(rect->top) : 0;
    return SUCCEEDED(to->BltFast(x, y, screen->m_pBackSurface->m_pSurface, rect,
                                 DDBLTFAST_NOCOLORKEY | DDBLTFAST_WAIT));
}

bool IsLost(IDirectDrawSurface4* surface)
{
    return surface != nullptr && surface->IsLost() == DDERR_SURFACELOST;
}

// The surface, made the screen's size in system memory if there is none yet;
// null without the memory.
IDirectDrawSurface4* Made(IDirectDrawSurface4*& surface, CdxScreen* screen)
{
    if (surface != nullptr)
        return surface;
    DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof(desc);
    desc.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH;
    desc.dwWidth = screen->m_nWidth;
    desc.dwHeight = screen->m_nHeight;
    desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY;
    if (FAILED(screen->m_pDirectDraw->CreateSurface(&desc, &surface, nullptr)))
        surface = nullptr;
    return surface;
}

// The first pixel, row by row, in which two surfaces of the same size and
// format differ; nothing when they are equal or cannot be read.
std::optional<POINT> FirstDifference(IDirectDrawSurface4* a, IDirectDrawSurface4* b)
{
    DDSURFACEDESC2 one{}, other{};
    one.dwSize = other.dwSize = sizeof(DDSURFACEDESC2);
    if (FAILED(a->Lock(nullptr, &one, DDLOCK_READONLY | DDLOCK_WAIT, nullptr)))
        return std::nullopt;
    std::optional<POINT> found;
    if (SUCCEEDED(b->Lock(nullptr, &other, DDLOCK_READONLY | DDLOCK_WAIT, nullptr)))
    {
        const std::size_t bytes = one.ddpfPixelFormat.dwRGBBitCount / 8;
        for (DWORD y = 0; y < one.dwHeight && !found; ++y)
        {
            const auto* row = static_cast<const std::uint8_t*>(one.lpSurface) + y * one.lPitch;
            const auto* otherRow =
                static_cast<const std::uint8_t*>(other.lpSurface) + y * other.lPitch;
            if (std::memcmp(row, otherRow, one.dwWidth * bytes) == 0)
                continue;
            std::size_t at = 0;
            while (row[at] == otherRow[at])
                ++at;
            found = POINT{static_cast<LONG>(at / bytes), static_cast<LONG>(y)};
        }
        b->Unlock(nullptr);
    }
    a->Unlock(nullptr);
    return found;
}

} // namespace

CSceneCache::CSceneCache() : m_bCheck(CheckWanted()) {}

CSceneCache::~CSceneCache()
{
    Forget();
}

void CSceneCache::Compose(CdxScreen* screen, const char* screenName,
                          const std::function<void()>& draw)
{
    CdxSurface* back = screen->m_pBackSurface;
    m_Recording.Begin();
    back->RecordInto(&m_Recording);
    try
    {
        draw();
    }
    catch (...)
    {
        back->RecordInto(nullptr);
        m_Recording.Clear();
        throw;
    }
    back->RecordInto(nullptr);
    if (m_Recording.Finish() || m_nScene == 0)
        m_nScene = ++m_nScenes;

    const Looks& looks = m_Recording.Looks();
    if (Restore(screen, looks))
    {
        ++m_nMended;
        if (m_bCheck)
            Check(screen, screenName);
        return;
    }
    m_Recording.Play(back);
    Drawn(screen, looks);
}

void CSceneCache::Check(CdxScreen* screen, const char* screenName)
{
    // The mended picture set aside, the frame drawn whole over it, and the two compared.
    IDirectDrawSurface4* mended = Made(m_pChecked, screen);
    if (IsLost(mended))
        mended->Restore();
    if (mended == nullptr || !CopyFromBack(screen, mended, nullptr))
        return;
    CdxSurface* back = screen->m_pBackSurface;
    m_Recording.Play(back);
    if (const std::optional<POINT> at = FirstDifference(back->m_pSurface, mended))
        throw Stale(std::string("The mended frame of the ") + screenName +
                    " differs from the frame drawn whole, first at (" + std::to_string(at->x) +
                    ", " + std::to_string(at->y) + ").");
}

void CSceneCache::CheckBuffers(CdxScreen* screen)
{
    if (screen->m_pFrontSurface->Uniqueness() != m_nFrontUniqueness)
        m_Front.known = false;
    if (screen->m_pBackSurface->Uniqueness() != m_nBackUniqueness)
        m_Back.known = false;
    // Lost memory comes back empty: what it held is kept no more.
    bool lost = false;
    for (IDirectDrawSurface4* surface : {m_pScene, m_pOtherLooks})
        if (IsLost(surface))
        {
            surface->Restore();
            lost = true;
        }
    if (lost)
    {
        m_nKept = 0;
        m_OtherKept.assign(m_OtherKept.size(), false);
    }
}

bool CSceneCache::Restore(CdxScreen* screen, const Looks& looks)
{
    CheckBuffers(screen);
    if (m_nKept != m_nScene || !m_Back.known || m_Back.scene != m_nScene)
        return false;
    // Each slot whose look changes, or on which the old overlay lay, comes
    // from where its new look is kept; if that is nowhere, nothing is mended.
    const RECT overlay = m_Back.overlay;
    std::vector<std::pair<IDirectDrawSurface4*, RECT>> slotCopies;
    for (std::size_t i = 0; i < looks.size(); ++i)
    {
        const RECT slot = SlotRect(looks[i]);
        if (looks[i] == m_Back.looks[i] && !Overlap(slot, overlay))
            continue;
        if (looks[i] == m_KeptLooks[i])
            slotCopies.emplace_back(m_pScene, slot);
        else if (m_OtherKept[i] && looks[i] == m_OtherLooks[i])
            slotCopies.emplace_back(m_pOtherLooks, slot);
        else
            return false;
    }
    if (!IsEmpty(overlay) && !CopyToBack(screen, m_pScene, overlay))
        return false;
    for (const auto& [from, slot] : slotCopies)
        if (!CopyToBack(screen, from, slot))
            return false;
    m_Composed = {m_nScene, looks, {}, true};
    return true;
}

void CSceneCache::Drawn(CdxScreen* screen, const Looks& looks)
{
    m_nDrawnInARow = m_nScene == m_nLastDrawn ? m_nDrawnInARow + 1 : 1;
    m_nLastDrawn = m_nScene;
    if (m_nKept == m_nScene)
        KeepOtherLooks(screen, looks);
    else if (m_nDrawnInARow >= kStandingFrames && !Keep(screen, looks))
        m_nKept = 0;
    m_Composed = {m_nScene, looks, {}, true};
}

bool CSceneCache::Keep(CdxScreen* screen, const Looks& looks)
{
    // A scene that does not cover the whole back buffer shows what lay there
    // before, too; and without the memory the frames are simply drawn whole.
    const CdxSurface* back = screen->m_pBackSurface;
    IDirectDrawSurface4* scene = Made(m_pScene, screen);
    if (!m_Recording.CoversAll(back->m_nWidth, back->m_nHeight) || scene == nullptr ||
        !CopyFromBack(screen, scene, nullptr))
        return false;
    m_nKept = m_nScene;
    m_KeptLooks = looks;
    m_OtherLooks.assign(looks.size(), SceneCall{});
    m_OtherKept.assign(looks.size(), false);
    return true;
}

void CSceneCache::KeepOtherLooks(CdxScreen* screen, const Looks& looks)
{
    for (std::size_t i = 0; i < looks.size(); ++i)
    {
        if (looks[i] == m_KeptLooks[i] || (m_OtherKept[i] && looks[i] == m_OtherLooks[i]))
            continue;
        IDirectDrawSurface4* others = Made(m_pOtherLooks, screen);
        if (others == nullptr)
            return;
        RECT slot = SlotRect(looks[i]);
        m_OtherLooks[i] = looks[i];
        m_OtherKept[i] = CopyFromBack(screen, others, &slot);
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
    for (IDirectDrawSurface4** surface : {&m_pScene, &m_pOtherLooks, &m_pChecked})
    {
        if (*surface != nullptr)
            (*surface)->Release();
        *surface = nullptr;
    }
    m_Recording.Clear();
    m_nScene = 0;
    m_nKept = 0;
    m_KeptLooks.clear();
    m_OtherLooks.clear();
    m_OtherKept.clear();
    m_nLastDrawn = 0;
    m_nDrawnInARow = 0;
    m_Composed = m_Front = m_Back = Frame{};
}
