// Creating and loading images, the blits into the back buffer, colour keys and text.
#include "display/cdxsurface.h"

#include "display/bitmapcopy.h"
#include "display/cdxerror.h"
#include "display/cdxscreen.h"
#include "display/cliptorect.h"
#include "display/errorreport.h"
#include "display/psdreader.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace
{

constexpr const char* kModule = "display/cdxsurface.cpp";

IDirectDraw4* DirectDrawOf(const CdxScreen* screen)
{
    if (!screen || !screen->m_pDirectDraw)
        throw CdxError("The display has no DirectDraw object.");
    return screen->m_pDirectDraw;
}

LONG ClampToLong(double value)
{
    constexpr double low = std::numeric_limits<LONG>::min();
    constexpr double high = std::numeric_limits<LONG>::max();
    return static_cast<LONG>(value < low ? low : (value > high ? high : value));
}

} // namespace

CdxSurface::CdxSurface() = default;

CdxSurface::CdxSurface(CdxScreen* screen, const char* name, int placement)
{
    Load(screen, name, placement);
}

CdxSurface::~CdxSurface()
{
    ReleaseSurface();
}

void CdxSurface::Attach(IDirectDrawSurface4* surface, IDirectDraw4* directDraw)
{
    m_pSurface = surface;
    m_pDirectDraw = directDraw;
    m_pDirectDraw->AddRef();
}

void CdxSurface::ReleaseSurface()
{
    if (m_pSurface)
    {
        if (m_hDC)
            m_pSurface->ReleaseDC(m_hDC);
        m_pSurface->Release();
    }
    m_hDC = nullptr;
    m_pSurface = nullptr;
    if (m_pDirectDraw)
        m_pDirectDraw->Release();
    m_pDirectDraw = nullptr;
}

void CdxSurface::SetImage(CdxScreen* screen, int width, int height, const char* name)
{
    m_nWidth = width;
    m_nHeight = height;
    m_rcSource = RECT{0, 0, width, height};
    m_rcDest = m_rcSource;
    m_hDC = nullptr;
    m_pszName = name;
    m_pOwner = screen;
}

IDirectDrawSurface4* CdxSurface::ImageOf(CdxSurface* dest, const char* operation) const
{
    if (!dest || !dest->m_pSurface) [[unlikely]]
        NoImage(operation);
    return dest->m_pSurface;
}

void CdxSurface::NoImage(const char* operation)
{
    throw CdxError(std::string(operation) + ": the surface holds no image.");
}

HRESULT CdxSurface::AfterBlit(HRESULT result)
{
    // The blit is not repeated: the next frame draws the reloaded image.
    if (result == DDERR_SURFACELOST && m_pSurface)
        RestoreAndReload();
    return result;
}

HRESULT CdxSurface::Fast(CdxSurface* dest, LONG x, LONG y, const RECT& from, DWORD flags)
{
    if (CSceneRecording* recording = dest->m_pRecording)
    {
        recording->AddFast(this, m_pSurface, Uniqueness(), x, y, from, flags);
        return DD_OK;
    }
    return dest->Perform(SceneCall::Fast(this, m_pSurface, 0, x, y, from, flags), nullptr);
}

HRESULT CdxSurface::Blit(CdxSurface* dest, const RECT* to, const RECT* from, DWORD flags,
                         DWORD value)
{
    return Issue(dest, SceneCall::Blit(this, m_pSurface, to, from, flags, value));
}

HRESULT CdxSurface::Issue(CdxSurface* dest, SceneCall call)
{
    CSceneRecording* recording = dest->m_pRecording;
    if (!recording)
        return dest->Perform(call, nullptr);
    if (call.source)
        call.source->GetUniquenessValue(&call.uniqueness);
    if (!call.hasDest)
        call.dest = {0, 0, dest->m_nWidth, dest->m_nHeight};
    recording->Add(call);
    return DD_OK;
}

HRESULT CdxSurface::Perform(const SceneCall& call, const char* text)
{
    IDirectDrawSurface4* target = ImageOf(this, "Perform");
    RECT dest{call.dest[0], call.dest[1], call.dest[2], call.dest[3]};
    RECT source{call.sourceRect[0], call.sourceRect[1], call.sourceRect[2], call.sourceRect[3]};
    HRESULT result = DD_OK;
    switch (call.kind)
    {
    case SceneCall::BLT_FAST:
        result = target->BltFast(static_cast<DWORD>(dest.left), static_cast<DWORD>(dest.top),
                                 call.source, &source, call.flags);
        break;
    case SceneCall::BLT:
    {
        DDBLTFX effects{};
        effects.dwSize = sizeof(effects);
        effects.dwDDFX = (call.flags & DDBLT_DDFX) ? call.value : 0;
        effects.dwFillColor = (call.flags & DDBLT_COLORFILL) ? call.value : 0;
        result = target->Blt(call.hasDest ? &dest : nullptr, call.source,
                             call.hasSource ? &source : nullptr, call.flags, &effects);
        break;
    }
    case SceneCall::GET_DC:
        return GetDC();
    case SceneCall::PRINT_TEXT:
        return PrintText(dest.left, dest.top, call.value, text) ? DD_OK : DDERR_GENERIC;
    case SceneCall::RELEASE_DC:
        return ReleaseDC();
    }
    return call.image ? call.image->AfterBlit(result) : result;
}

HRESULT CdxSurface::Draw(CdxSurface* dest)
{
    ImageOf(dest, "Draw");
    return Blit(dest, &m_rcDest, &m_rcSource, DDBLT_WAIT, 0);
}

HRESULT CdxSurface::DrawFast(int x, int y, CdxSurface* dest)
{
    ImageOf(dest, "DrawFast");
    return Fast(dest, x, y, m_rcSource, DDBLTFAST_WAIT);
}

HRESULT CdxSurface::DrawFastKeyed(int x, int y, CdxSurface* dest)
{
    ImageOf(dest, "DrawFastKeyed");
    return Fast(dest, x, y, m_rcSource, DDBLTFAST_SRCCOLORKEY | DDBLTFAST_WAIT);
}

HRESULT CdxSurface::DrawFastKeyedClipped(int x, int y, CdxSurface* dest, RECT* clip)
{
    ImageOf(dest, "DrawFastKeyedClipped");
    if (!clip)
        return DDERR_INVALIDPARAMS;
    // A copy: the stored source rectangle never changes.
    RECT source = m_rcSource;
    LONG left = x;
    LONG top = y;
    ClipToRect(left, top, source, *clip);
    return Fast(dest, left, top, source, DDBLTFAST_SRCCOLORKEY | DDBLTFAST_WAIT);
}

HRESULT CdxSurface::DrawToWindow(CdxSurface* dest)
{
    ImageOf(dest, "DrawToWindow");
    if (!m_pOwner)
        throw CdxError("DrawToWindow: the surface belongs to no display.");
    // In the exclusive full-screen mode the owner's window covers the display,
    // so its client area in screen coordinates is the mode's rectangle.
    const RECT window{0, 0, static_cast<LONG>(m_pOwner->m_nWidth),
                      static_cast<LONG>(m_pOwner->m_nHeight)};
    return Blit(dest, &window, nullptr, DDBLT_WAIT, 0);
}

HRESULT CdxSurface::DrawZoomed(int x, int y, int zoomX, int zoomY, CdxSurface* dest)
{
    ImageOf(dest, "DrawZoomed");
    m_rcDest = RECT{x, y, ClampToLong(x + static_cast<double>(m_nWidth) * zoomX),
                    ClampToLong(y + static_cast<double>(m_nHeight) * zoomY)};
    return Blit(dest, &m_rcDest, &m_rcSource, DDBLT_KEYSRC | DDBLT_WAIT, 0);
}

HRESULT CdxSurface::DrawScaled(int x, int y, float scale, CdxSurface* dest)
{
    ImageOf(dest, "DrawScaled");
    m_rcDest = RECT{x, y, ClampToLong(x + std::trunc(m_nWidth * scale)),
                    ClampToLong(y + std::trunc(m_nHeight * scale))};
    return Blit(dest, &m_rcDest, &m_rcSource, DDBLT_KEYSRC | DDBLT_WAIT, 0);
}

HRESULT CdxSurface::MirrorHorizontal(int, int, int)
{
    ImageOf(this, "MirrorHorizontal");
    // On itself: no source.
    return Issue(this, SceneCall::Blit(this, nullptr, nullptr, nullptr, DDBLT_DDFX | DDBLT_WAIT,
                                       DDBLTFX_MIRRORLEFTRIGHT));
}

HRESULT CdxSurface::MirrorVertical(int, int, int)
{
    ImageOf(this, "MirrorVertical");
    return Issue(this, SceneCall::Blit(this, nullptr, nullptr, nullptr, DDBLT_DDFX | DDBLT_WAIT,
                                       DDBLTFX_MIRRORUPDOWN));
}

void CdxSurface::Placeholder(int, int, int, int, int) {}

int CdxSurface::Create(CdxScreen* screen, int width, int height, int placement)
{
    IDirectDraw4* directDraw = DirectDrawOf(screen);

    DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof(desc);
    desc.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH;
    desc.dwWidth = static_cast<DWORD>(width);
    desc.dwHeight = static_cast<DWORD>(height);
    desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | PlacementCaps(placement);

    ReleaseSurface();
    IDirectDrawSurface4* surface = nullptr;
    const HRESULT result = directDraw->CreateSurface(&desc, &surface, nullptr);
    if (FAILED(result) || !surface)
    {
        // By design: the report's line is the fixed 247, not this file's line.
        ReportDirectDrawError(result, screen->m_hWnd, kModule, 247);
        return 0;
    }
    Attach(surface, directDraw);
    SetImage(screen, width, height, nullptr);
    return 1;
}

int CdxSurface::Load(CdxScreen* screen, const char* name, int placement)
{
    if (!name)
        return 0;
    IDirectDraw4* directDraw = DirectDrawOf(screen);

    // A Photoshop file of that name takes precedence over the resource.
    const bool photoshop = IsPsdFile(name);

    ReleaseSurface();
    if (photoshop)
    {
        // Create has taken the DirectDraw reference for this surface already.
        if (!LoadPsd(screen, name, placement))
            return 0;
    }
    else
    {
        IDirectDrawSurface4* surface =
            CreateSurfaceFromBitmap(directDraw, name, placement, m_nWidth, m_nHeight);
        if (!surface)
            return 0;
        Attach(surface, directDraw);
    }
    SetImage(screen, m_nWidth, m_nHeight, name);
    return 1;
}

int CdxSurface::LoadPsd(CdxScreen* screen, const char* name, int placement)
{
    std::vector<std::uint8_t> pixels;
    if (!ReadPsdFile(name, m_nWidth, m_nHeight, pixels))
        return 0;

    if (!Create(screen, m_nWidth, m_nHeight, placement))
        return 0;

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = m_nWidth;
    info.bmiHeader.biHeight = -m_nHeight; // rows run top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;

    int copied = GDI_ERROR;
    if (SUCCEEDED(GetDC()))
    {
        copied = StretchDIBits(m_hDC, 0, 0, m_nWidth, m_nHeight, 0, 0, m_nWidth, m_nHeight,
                               pixels.data(), &info, DIB_RGB_COLORS, SRCCOPY);
        ReleaseDC();
    }
    return copied == GDI_ERROR ? 0 : 1;
}

HRESULT CdxSurface::SetColourKey(DWORD value)
{
    IDirectDrawSurface4* self = ImageOf(this, "SetColourKey");
    DDCOLORKEY key{value, value};
    return self->SetColorKey(DDCKEY_SRCBLT, &key);
}

HRESULT CdxSurface::GetDC()
{
    IDirectDrawSurface4* self = ImageOf(this, "GetDC");
    if (m_pRecording)
    {
        m_pRecording->Add({.kind = SceneCall::GET_DC});
        return DD_OK;
    }
    HDC dc = nullptr;
    const HRESULT result = self->GetDC(&dc);
    if (SUCCEEDED(result))
        m_hDC = dc;
    return result;
}

HRESULT CdxSurface::ReleaseDC()
{
    IDirectDrawSurface4* self = ImageOf(this, "ReleaseDC");
    if (m_pRecording)
    {
        m_pRecording->Add({.kind = SceneCall::RELEASE_DC});
        return DD_OK;
    }
    const HRESULT result = self->ReleaseDC(m_hDC);
    m_hDC = nullptr;
    return result;
}

BOOL CdxSurface::PrintText(int x, int y, COLORREF colour, const char* text)
{
    if (m_pRecording)
    {
        m_pRecording->AddText(x, y, colour, text ? text : "");
        return TRUE;
    }
    // Without a device context (GetDC refused, e.g. while the surface is
    // lost) there is nothing to draw on; the frame simply goes without text.
    if (!m_hDC)
        return FALSE;
    if (!text)
        text = "";
    SetBkMode(m_hDC, TRANSPARENT);
    SetTextColor(m_hDC, colour);
    return TextOutA(m_hDC, x, y, text, static_cast<int>(std::strlen(text)));
}

DWORD CdxSurface::Uniqueness() const
{
    DWORD value = 0;
    if (m_pSurface)
        m_pSurface->GetUniquenessValue(&value);
    return value;
}

HRESULT CdxSurface::RestoreAndReload()
{
    IDirectDrawSurface4* self = ImageOf(this, "RestoreAndReload");
    // The memory comes back, the picture does not.
    self->Restore();
    return ReloadBitmap(self, m_pszName);
}
