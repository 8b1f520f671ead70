// One DirectDraw surface as a software pixel buffer: blits, fills, colour
// keys, the flip of a primary with its one back buffer, loss and restore.
#pragma once

#include "platform/ddraw/ddraw.h"
#include "platform/present/display.h"
#include "platform/win32/comobject.h"
#include "platform/win32/pixelbuffer.h"

#include <cstdint>
#include <vector>

namespace platform
{

class SoftwareDirectDraw;

class SoftwareSurface final : public ComObject<IDirectDrawSurface4>
{
public:
    // Holds a reference on its DirectDraw object until the last Release.
    SoftwareSurface(SoftwareDirectDraw* owner, int width, int height, int bitsPerPixel, DWORD caps);

    // Makes this surface (a primary) the front of a flip chain with a new back buffer.
    void CreateBackBuffer();

    HRESULT Blt(RECT* destRect, IDirectDrawSurface4* source, RECT* sourceRect, DWORD flags,
                DDBLTFX* effects) override;
    HRESULT BltFast(DWORD x, DWORD y, IDirectDrawSurface4* source, RECT* sourceRect,
                    DWORD transfer) override;
    HRESULT Flip(IDirectDrawSurface4* overrideSurface, DWORD flags) override;
    HRESULT GetAttachedSurface(DDSCAPS2* caps, IDirectDrawSurface4** attached) override;
    HRESULT SetColorKey(DWORD flags, DDCOLORKEY* key) override;
    HRESULT GetDC(HDC* dc) override;
    HRESULT ReleaseDC(HDC dc) override;
    HRESULT Restore() override;
    HRESULT IsLost() override;
    HRESULT GetUniquenessValue(DWORD* value) override;
    HRESULT GetSurfaceDesc(DDSURFACEDESC2* desc) override;
    HRESULT Lock(RECT* rect, DDSURFACEDESC2* desc, DWORD flags, HANDLE event) override;
    HRESULT Unlock(RECT* rect) override;

    const PixelBuffer& Pixels() const { return m_Pixels; }

private:
    ~SoftwareSurface() override;

    bool Lost() const;
    // Notes a change of the pixels in rows [top, bottom).
    void Written(LONG top, LONG bottom);
    // Why a blit touching this surface cannot run now, or DD_OK.
    HRESULT Busy() const;
    bool Keyed(std::uint32_t value) const;
    // The rectangle a blit reads from the source (all of it when none is
    // given), or why it cannot: a busy source, a rectangle not inside it.
    HRESULT SourceRect(const SoftwareSurface& from, const RECT* sourceRect, RECT& src) const;
    // Why the source's pixels cannot be copied here (another format, no
    // colour key for a keyed copy), or DD_OK.
    HRESULT Copyable(const SoftwareSurface& from, bool keyed) const;
    // The source's pixels that are not under the colour key, for keyed copies
    // from this surface: rectangles from the top down, each one span of a band
    // of rows whose spans are the same. A copy thus decides once per
    // rectangle, not per row, how it copies the rows.
    struct OpaqueRects
    {
        std::vector<RECT> rects;
        bool none = false; // no pixel is under the key
    };
    const OpaqueRects& OpaqueRectsUnderKey() const;

    void FillRect(const RECT& rect, std::uint32_t colour);
    // The source may be this surface itself; keyed uses the source's colour key.
    void CopyRect(const SoftwareSurface& from, const RECT& sourceRect, const RECT& destRect,
                  bool keyed, bool mirrorLeftRight, bool mirrorUpDown);
    // An unscaled 16-bit copy from another buffer; with rectangles, only those.
    void CopyRows16(const PixelBuffer& source, const RECT& sourceRect, LONG x, LONG y,
                    const OpaqueRects* opaque);
    void MarkRestored();

    SoftwareDirectDraw* m_pDirectDraw;
    PixelBuffer m_Pixels;
    DWORD m_dwCaps;
    bool m_bHasColourKey = false;
    DDCOLORKEY m_ColourKey{};
    HDC m_hDC = nullptr;
    // Locked, and whether the pixels may be written until Unlock.
    bool m_bLocked = false;
    bool m_bLockedForWriting = false;
    // The loss generation of the display when this surface was made or restored.
    std::uint64_t m_nGeneration;
    SoftwareSurface* m_pBackBuffer = nullptr; // a primary's back buffer, one reference held
    // Counts the changes of the pixels and the key; the spans are found again
    // only after one.
    std::uint64_t m_nVersion = 0;
    // The rows written since these pixels were last presented; all of them
    // at first. They travel with the pixels through a flip.
    Rows m_Written;
    mutable std::uint64_t m_nOpaqueVersion = ~std::uint64_t{0};
    mutable OpaqueRects m_OpaqueRects;
};

} // namespace platform
