// Setting up the full-screen mode and its flip chain, filling and flipping the back buffer.
#include "display/cdxscreen.h"

#include "display/cdxerror.h"
#include "display/cdxsurface.h"
#include "display/errorreport.h"

namespace
{

constexpr const char* kModule = "display/cdxscreen.cpp";
// By design: every report names a fixed line (106, 109, 357, 366, 410, 417),
// not this file's real lines; players and support know the failures by them.

} // namespace

CdxScreen::CdxScreen()
{
    IDirectDraw* directDraw = nullptr;
    HRESULT result = DirectDrawCreate(nullptr, &directDraw, nullptr);
    if (FAILED(result) || !directDraw)
    {
        ReportDirectDrawError(result, nullptr, kModule, 106);
        return;
    }
    void* directDraw4 = nullptr;
    result = directDraw->QueryInterface(IID_IDirectDraw4, &directDraw4);
    if (FAILED(result))
        ReportDirectDrawError(result, nullptr, kModule, 109);
    else
        m_pDirectDraw = static_cast<IDirectDraw4*>(directDraw4);
    directDraw->Release();
}

CdxScreen::~CdxScreen()
{
    if (m_pDirectDraw)
        m_pDirectDraw->RestoreDisplayMode();
    DeleteChain();
    if (m_pDirectDraw)
        m_pDirectDraw->Release();
}

void CdxScreen::DeleteChain()
{
    delete m_pBackSurface;
    m_pBackSurface = nullptr;
    delete m_pFrontSurface;
    m_pFrontSurface = nullptr;
}

int CdxScreen::CreateFullScreen(HWND window, DWORD width, DWORD height, DWORD bitsPerPixel,
                                int standardVgaMode)
{
    if (!m_pDirectDraw)
        throw CdxError("The display has no DirectDraw object.");
    DeleteChain();
    m_nWidth = width;
    m_nHeight = height;
    m_nBitsPerPixel = bitsPerPixel;
    m_hWnd = window;

    // Mode failures are only reported; the posted quit request ends the program.
    HRESULT result = m_pDirectDraw->SetCooperativeLevel(
        window, DDSCL_FULLSCREEN | DDSCL_EXCLUSIVE | DDSCL_ALLOWMODEX | DDSCL_ALLOWREBOOT);
    if (FAILED(result))
        ReportDirectDrawError(result, window, kModule, 357);
    result = m_pDirectDraw->SetDisplayMode(width, height, bitsPerPixel, 0,
                                           standardVgaMode ? DDSDM_STANDARDVGAMODE : 0);
    if (FAILED(result))
        ReportDirectDrawError(result, window, kModule, 366);

    m_pFrontSurface = new CdxSurface;
    m_pBackSurface = new CdxSurface;

    DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof(desc);
    desc.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
    desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX;
    desc.dwBackBufferCount = 1;
    IDirectDrawSurface4* primary = nullptr;
    result = m_pDirectDraw->CreateSurface(&desc, &primary, nullptr);
    if (FAILED(result) || !primary)
    {
        ReportDirectDrawError(result, window, kModule, 410);
        throw CdxError("The primary surface could not be created.");
    }
    m_pFrontSurface->Attach(primary, m_pDirectDraw);

    DDSCAPS2 caps{};
    caps.dwCaps = DDSCAPS_BACKBUFFER;
    IDirectDrawSurface4* back = nullptr;
    result = primary->GetAttachedSurface(&caps, &back);
    if (FAILED(result) || !back)
    {
        ReportDirectDrawError(result, window, kModule, 417);
        throw CdxError("The back buffer could not be found.");
    }
    m_pBackSurface->Attach(back, m_pDirectDraw);

    const int w = static_cast<int>(width);
    const int h = static_cast<int>(height);
    m_pFrontSurface->SetImage(this, w, h, nullptr);
    m_pBackSurface->SetImage(this, w, h, nullptr);
    return 1;
}

HRESULT CdxScreen::Flip(int wait)
{
    if (!m_pFrontSurface || !m_pFrontSurface->m_pSurface)
        throw CdxError("Flip: the display has no primary surface.");
    const HRESULT result =
        m_pFrontSurface->m_pSurface->Flip(nullptr, wait == 1 ? DDFLIP_WAIT : DDFLIP_NOVSYNC);
    if (result == DDERR_SURFACELOST)
        RestoreLost();
    return result;
}

void CdxScreen::RestoreLost()
{
    IDirectDrawSurface4* primary = m_pFrontSurface ? m_pFrontSurface->m_pSurface : nullptr;
    // Restoring the primary brings its attached back buffer back with it.
    if (primary && FAILED(primary->IsLost()))
        primary->Restore();
}

HRESULT CdxScreen::Fill(DWORD colour)
{
    if (!m_pBackSurface || !m_pBackSurface->m_pSurface)
        throw CdxError("Fill: the display has no back buffer.");
    SceneCall fill;
    fill.flags = DDBLT_COLORFILL | DDBLT_WAIT;
    fill.value = colour;
    return CdxSurface::Issue(m_pBackSurface, fill);
}
