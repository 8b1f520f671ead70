// The DirectDraw object: cooperative level, the display mode and the
// creation of surfaces. One object answers both IDirectDraw and IDirectDraw4,
// with one reference count; every surface it makes holds a reference on it.
#pragma once

#include "platform/ddraw/ddraw.h"
#include "platform/win32/comobject.h"
#include "platform/win32/screenmode.h"

namespace platform
{

class SoftwareSurface;

class SoftwareDirectDraw final : public ComObject<IDirectDraw, IDirectDraw4>
{
public:
    SoftwareDirectDraw() = default;

    HRESULT QueryInterface(const IID& riid, void** object) override;

    HRESULT SetCooperativeLevel(HWND window, DWORD flags) override;
    HRESULT SetDisplayMode(DWORD width, DWORD height, DWORD bitsPerPixel, DWORD refreshRate,
                           DWORD flags) override;
    HRESULT RestoreDisplayMode() override;
    HRESULT CreateSurface(DDSURFACEDESC2* desc, IDirectDrawSurface4** surface,
                          IUnknown* outer) override;
    HRESULT FlipToGDISurface() override;

    // Called by the primary surface when it goes away.
    void ForgetPrimary(const SoftwareSurface* primary);

private:
    ~SoftwareDirectDraw() override = default;
    HRESULT CreatePrimary(const DDSURFACEDESC2& desc, IDirectDrawSurface4** surface);

    bool m_bCooperativeLevelSet = false;
    bool m_bExclusive = false;
    bool m_bModeSet = false;
    // Before a mode is set, surfaces take the desktop's format.
    int m_nWidth = kDesktopWidth;
    int m_nHeight = kDesktopHeight;
    int m_nBitsPerPixel = 16;
    SoftwareSurface* m_pPrimary = nullptr; // not owned; it owns a reference on us
};

} // namespace platform
