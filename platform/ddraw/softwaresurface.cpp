// Software surfaces: blits, fills, colour keys, flips, device contexts, loss and restore.
#include "platform/ddraw/softwaresurface.h"

#include "platform/ddraw/softwaredirectdraw.h"
#include "platform/gdi/surfacedc.h"
#include "platform/present/display.h"
#include "platform/win32/testseams.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <utility>

namespace platform
{

namespace
{

RECT WholeOf(const PixelBuffer& pixels)
{
    return {0, 0, pixels.Width(), pixels.Height()};
}

// Without a clipper every rectangle must be non-empty and lie inside its surface.
bool Inside(const RECT& r, const PixelBuffer& pixels)
{
    return r.left >= 0 && r.top >= 0 && r.left < r.right && r.top < r.bottom &&
           r.right <= pixels.Width() && r.bottom <= pixels.Height();
}

SoftwareSurface* Implementation(IDirectDrawSurface4* surface)
{
    return static_cast<SoftwareSurface*>(surface);
}

// The game's frame is a fill and hundreds of unscaled 16-bit copies, so
// those take row loops that decide nothing per pixel. Everything else (8 bits,
// stretching, mirroring) takes the general per-pixel path.
void FillRows16(PixelBuffer& pixels, const RECT& r, std::uint16_t value)
{
    // Rows are filled by whole blocks of the value repeated, as memset does:
    // eight pixels held in a vector register, stored four times per step.
    using Pixels8 = std::uint16_t __attribute__((vector_size(16)));
    const Pixels8 eight = value - Pixels8{};
    const auto fill = [eight, value](std::uint8_t* at, std::size_t bytes)
    {
        for (; bytes >= 4 * sizeof eight; at += 4 * sizeof eight, bytes -= 4 * sizeof eight)
            for (std::size_t i = 0; i < 4; ++i)
                std::memcpy(at + i * sizeof eight, &eight, sizeof eight);
        for (; bytes > 0; at += 2, bytes -= 2)
            std::memcpy(at, &value, 2);
    };
    const std::size_t bytes = static_cast<std::size_t>(r.right - r.left) * 2;
    // Whole rows lie end to end and are filled as one.
    if (r.left == 0 && r.right == pixels.Width())
        fill(pixels.Row(r.top), bytes * static_cast<std::size_t>(r.bottom - r.top));
    else
        for (LONG y = r.top; y < r.bottom; ++y)
            fill(pixels.Row(y) + r.left * 2, bytes);
}

// Copies a block of rows of the same width between different buffers. A
// stone's row is 40 bytes and the spans beside its key are shorter, so short
// rows are a few moves that may overlap, chosen once for the whole block,
// instead of a library call per row.
template <std::size_t Step>
[[gnu::always_inline]] inline void Move(std::uint8_t* out, const std::uint8_t* in)
{
    std::memcpy(out, in, Step);
}

[[gnu::always_inline]] inline void CopyBlock(std::uint8_t* out, std::size_t outPitch,
                                             const std::uint8_t* in, std::size_t inPitch,
                                             std::size_t bytes, int rows)
{
    const std::uint8_t* const end = in + inPitch * static_cast<std::size_t>(rows);
    if (bytes > 64)
        for (; in != end; in += inPitch, out += outPitch)
            std::memcpy(out, in, bytes);
    else if (bytes > 48)
        for (const std::size_t last = bytes - 16; in != end; in += inPitch, out += outPitch)
        {
            Move<16>(out, in);
            Move<16>(out + 16, in + 16);
            Move<16>(out + 32, in + 32);
            Move<16>(out + last, in + last);
        }
    else if (bytes > 32)
        for (const std::size_t last = bytes - 16; in != end; in += inPitch, out += outPitch)
        {
            Move<16>(out, in);
            Move<16>(out + 16, in + 16);
            Move<16>(out + last, in + last);
        }
    else if (bytes >= 16)
        for (const std::size_t last = bytes - 16; in != end; in += inPitch, out += outPitch)
        {
            Move<16>(out, in);
            Move<16>(out + last, in + last);
        }
    else if (bytes >= 8)
        for (const std::size_t last = bytes - 8; in != end; in += inPitch, out += outPitch)
        {
            Move<8>(out, in);
            Move<8>(out + last, in + last);
        }
    else if (bytes >= 4)
        for (const std::size_t last = bytes - 4; in != end; in += inPitch, out += outPitch)
        {
            Move<4>(out, in);
            Move<4>(out + last, in + last);
        }
    else
        for (; in != end; in += inPitch, out += outPitch)
            std::memcpy(out, in, bytes);
}

} // namespace

const SoftwareSurface::OpaqueRects& SoftwareSurface::OpaqueRectsUnderKey() const
{
    if (m_nOpaqueVersion == m_nVersion)
        return m_OpaqueRects;
    std::vector<RECT>& rects = m_OpaqueRects.rects;
    rects.clear();
    const int width = m_Pixels.Width(), height = m_Pixels.Height();
    std::size_t band = 0; // the first rectangle of the band the row above lies in
    for (int y = 0; y < height; ++y)
    {
        const std::size_t row = rects.size();
        for (int x = 0; x < width;)
        {
            while (x < width && Keyed(m_Pixels.Get(x, y)))
                ++x;
            const int left = x;
            while (x < width && !Keyed(m_Pixels.Get(x, y)))
                ++x;
            if (left < x)
                rects.push_back({left, y, x, y + 1});
        }
        // A row with the spans of the band above joins it.
        const auto sameSpan = [](const RECT& a, const RECT& b)
        { return a.left == b.left && a.right == b.right; };
        const auto at = [&rects](std::size_t i)
        { return rects.begin() + static_cast<std::ptrdiff_t>(i); };
        if (std::equal(at(band), at(row), at(row), rects.end(), sameSpan))
        {
            rects.resize(row);
            for (std::size_t i = band; i < row; ++i)
                rects[i].bottom = y + 1;
        }
        else
            band = row;
    }
    m_OpaqueRects.none = rects.size() == 1 && rects[0].left == 0 && rects[0].top == 0 &&
                         rects[0].right == width && rects[0].bottom == height;
    m_nOpaqueVersion = m_nVersion;
    return m_OpaqueRects;
}

void SoftwareSurface::CopyRows16(const PixelBuffer& source, const RECT& s, LONG x, LONG y,
                                 const OpaqueRects* opaque)
{
    const std::size_t outPitch = m_Pixels.Pitch(), inPitch = source.Pitch();
    // Where the source rectangle's top left corner is read and written.
    std::uint8_t* const out = m_Pixels.Row(y) + x * 2;
    const std::uint8_t* const in = source.Row(s.top) + s.left * 2;
    if (!opaque)
    {
        CopyBlock(out, outPitch, in, inPitch, static_cast<std::size_t>(s.right - s.left) * 2,
                  s.bottom - s.top);
        return;
    }
    for (const RECT& r : opaque->rects)
    {
        // Counted from the source rectangle's corner.
        const LONG left = std::max(r.left, s.left) - s.left;
        const LONG right = std::min(r.right, s.right) - s.left;
        const LONG top = std::max(r.top, s.top) - s.top;
        const LONG bottom = std::min(r.bottom, s.bottom) - s.top;
        if (left < right && top < bottom)
        {
            const std::size_t rowsAbove = static_cast<std::size_t>(top);
            CopyBlock(out + rowsAbove * outPitch + left * 2, outPitch,
                      in + rowsAbove * inPitch + left * 2, inPitch,
                      static_cast<std::size_t>(right - left) * 2, bottom - top);
        }
    }
}

SoftwareSurface::SoftwareSurface(SoftwareDirectDraw* owner, int width, int height, int bitsPerPixel,
                                 DWORD caps)
    : m_pDirectDraw(owner), m_Pixels(width, height, bitsPerPixel), m_dwCaps(caps),
      m_nGeneration(Display::Instance().LossGeneration()), m_Written{0, height}
{
    m_pDirectDraw->AddRef();
}

SoftwareSurface::~SoftwareSurface()
{
    if (m_hDC != nullptr)
        DestroySurfaceDC(m_hDC);
    if (m_pBackBuffer != nullptr)
        m_pBackBuffer->Release();
    if (m_dwCaps & DDSCAPS_PRIMARYSURFACE)
        m_pDirectDraw->ForgetPrimary(this);
    m_pDirectDraw->Release();
}

void SoftwareSurface::CreateBackBuffer()
{
    m_pBackBuffer = new SoftwareSurface(
        m_pDirectDraw, m_Pixels.Width(), m_Pixels.Height(), m_Pixels.BitsPerPixel(),
        DDSCAPS_BACKBUFFER | DDSCAPS_FLIP | DDSCAPS_COMPLEX | DDSCAPS_VIDEOMEMORY);
}

bool SoftwareSurface::Lost() const
{
    return m_nGeneration != Display::Instance().LossGeneration();
}

HRESULT SoftwareSurface::Busy() const
{
    if (Lost())
        return DDERR_SURFACELOST;
    // A surface whose device context is out is locked for GDI.
    if (m_hDC != nullptr || m_bLocked)
        return DDERR_SURFACEBUSY;
    return DD_OK;
}

bool SoftwareSurface::Keyed(std::uint32_t value) const
{
    return value >= m_ColourKey.dwColorSpaceLowValue && value <= m_ColourKey.dwColorSpaceHighValue;
}

HRESULT SoftwareSurface::SourceRect(const SoftwareSurface& from, const RECT* sourceRect,
                                    RECT& src) const
{
    // This surface itself has been checked by the caller.
    if (&from != this)
        if (const HRESULT busy = from.Busy(); busy != DD_OK)
            return busy;
    src = sourceRect != nullptr ? *sourceRect : WholeOf(from.m_Pixels);
    return Inside(src, from.m_Pixels) ? DD_OK : DDERR_INVALIDRECT;
}

HRESULT SoftwareSurface::Copyable(const SoftwareSurface& from, bool keyed) const
{
    if (from.m_Pixels.BitsPerPixel() != m_Pixels.BitsPerPixel())
        return DDERR_INVALIDPIXELFORMAT;
    if (keyed && !from.m_bHasColourKey)
        return DDERR_NOCOLORKEY;
    return DD_OK;
}

void SoftwareSurface::Written(LONG top, LONG bottom)
{
    ++m_nVersion;
    m_Written = {std::min(m_Written.top, static_cast<int>(top)),
                 std::max(m_Written.bottom, static_cast<int>(bottom))};
}

void SoftwareSurface::FillRect(const RECT& r, std::uint32_t colour)
{
    Written(r.top, r.bottom);
    const bool general = TestSeams::Get().generalBlitsOnly;
    if (m_Pixels.BitsPerPixel() == 16 && !general)
        FillRows16(m_Pixels, r, static_cast<std::uint16_t>(colour));
    else if (m_Pixels.BitsPerPixel() == 8 && !general)
        for (LONG y = r.top; y < r.bottom; ++y)
            std::memset(m_Pixels.Row(y) + r.left, static_cast<std::uint8_t>(colour),
                        static_cast<std::size_t>(r.right - r.left));
    else
        for (LONG y = r.top; y < r.bottom; ++y)
            for (LONG x = r.left; x < r.right; ++x)
                m_Pixels.Set(x, y, colour);
}

void SoftwareSurface::CopyRect(const SoftwareSurface& from, const RECT& s, const RECT& d,
                               bool keyed, bool mirrorLeftRight, bool mirrorUpDown)
{
    // Within one surface source and destination may overlap: read from a copy.
    std::optional<PixelBuffer> copy;
    if (&from == this)
        copy.emplace(m_Pixels);
    const PixelBuffer& source = copy ? *copy : from.m_Pixels;
    const int sourceWidth = s.right - s.left, sourceHeight = s.bottom - s.top;
    const int destWidth = d.right - d.left, destHeight = d.bottom - d.top;
    if (sourceWidth == destWidth && sourceHeight == destHeight && !mirrorLeftRight &&
        !mirrorUpDown && m_Pixels.BitsPerPixel() == 16 && !TestSeams::Get().generalBlitsOnly)
    {
        // Keyed, only the source's opaque rectangles are copied, unless that is all of it.
        const OpaqueRects* opaque = keyed ? &from.OpaqueRectsUnderKey() : nullptr;
        CopyRows16(source, s, d.left, d.top, opaque && !opaque->none ? opaque : nullptr);
        Written(d.top, d.bottom);
        return;
    }
    Written(d.top, d.bottom);
    // Nearest source pixel for each destination pixel.
    for (int dy = 0; dy < destHeight; ++dy)
    {
        const int row = mirrorUpDown ? destHeight - 1 - dy : dy;
        const int sy =
            s.top + static_cast<int>(static_cast<long long>(row) * sourceHeight / destHeight);
        for (int dx = 0; dx < destWidth; ++dx)
        {
            const int column = mirrorLeftRight ? destWidth - 1 - dx : dx;
            const int sx =
                s.left + static_cast<int>(static_cast<long long>(column) * sourceWidth / destWidth);
            const std::uint32_t value = source.Get(sx, sy);
            if (keyed && from.Keyed(value))
                continue;
            m_Pixels.Set(d.left + dx, d.top + dy, value);
        }
    }
}

HRESULT SoftwareSurface::Blt(RECT* destRect, IDirectDrawSurface4* source, RECT* sourceRect,
                             DWORD flags, DDBLTFX* effects)
{
    if (const HRESULT busy = Busy(); busy != DD_OK)
        return busy;
    const RECT dest = destRect != nullptr ? *destRect : WholeOf(m_Pixels);
    if (!Inside(dest, m_Pixels))
        return DDERR_INVALIDRECT;

    if (flags & DDBLT_COLORFILL)
    {
        if (effects == nullptr)
            return DDERR_INVALIDPARAMS;
        FillRect(dest, effects->dwFillColor);
        return DD_OK;
    }

    DWORD fx = 0;
    if (flags & DDBLT_DDFX)
    {
        if (effects == nullptr)
            return DDERR_INVALIDPARAMS;
        fx = effects->dwDDFX;
    }
    // A mirror without a source works on the surface itself.
    SoftwareSurface* from =
        source != nullptr ? Implementation(source) : ((flags & DDBLT_DDFX) ? this : nullptr);
    if (from == nullptr)
        return DDERR_INVALIDPARAMS;
    RECT src{};
    if (const HRESULT refused = SourceRect(*from, sourceRect, src); refused != DD_OK)
        return refused;
    const bool keyed = (flags & DDBLT_KEYSRC) != 0;
    if (const HRESULT refused = Copyable(*from, keyed); refused != DD_OK)
        return refused;

    const bool leftRight = (fx & DDBLTFX_MIRRORLEFTRIGHT) != 0;
    const bool upDown = (fx & DDBLTFX_MIRRORUPDOWN) != 0;
    CopyRect(*from, src, dest, keyed, leftRight, upDown);
    return DD_OK;
}

HRESULT SoftwareSurface::BltFast(DWORD x, DWORD y, IDirectDrawSurface4* source, RECT* sourceRect,
                                 DWORD transfer)
{
    if (source == nullptr)
        return DDERR_INVALIDPARAMS;
    SoftwareSurface* from = Implementation(source);
    if (const HRESULT busy = Busy(); busy != DD_OK)
        return busy;
    RECT src{};
    if (const HRESULT refused = SourceRect(*from, sourceRect, src); refused != DD_OK)
        return refused;
    // BltFast does not clip: the copy must fit as a whole. A negative position
    // arrives here as a huge unsigned one and is refused the same way.
    const long long right = static_cast<long long>(x) + (src.right - src.left);
    const long long bottom = static_cast<long long>(y) + (src.bottom - src.top);
    if (right > m_Pixels.Width() || bottom > m_Pixels.Height())
        return DDERR_INVALIDRECT;
    const bool keyed = (transfer & DDBLTFAST_SRCCOLORKEY) != 0;
    if (const HRESULT refused = Copyable(*from, keyed); refused != DD_OK)
        return refused;

    const RECT dest = {static_cast<LONG>(x), static_cast<LONG>(y), static_cast<LONG>(right),
                       static_cast<LONG>(bottom)};
    CopyRect(*from, src, dest, keyed, false, false);
    return DD_OK;
}

HRESULT SoftwareSurface::Flip(IDirectDrawSurface4* overrideSurface, DWORD flags)
{
    if (m_pBackBuffer == nullptr)
        return DDERR_NOTFLIPPABLE;
    if (overrideSurface != nullptr && overrideSurface != m_pBackBuffer)
        return DDERR_INVALIDPARAMS;
    if (const HRESULT busy = Busy(); busy != DD_OK)
        return busy;
    if (const HRESULT busy = m_pBackBuffer->Busy(); busy != DD_OK)
        return busy;
    // The buffers trade places: the back buffer now holds the former front picture.
    std::swap(m_Pixels, m_pBackBuffer->m_Pixels);
    std::swap(m_Written, m_pBackBuffer->m_Written);
    ++m_nVersion;
    ++m_pBackBuffer->m_nVersion;
    const bool wait = (flags & DDFLIP_WAIT) != 0 && (flags & DDFLIP_NOVSYNC) == 0;
    Display::Instance().Present(m_Pixels, wait, m_Written);
    m_Written = {m_Pixels.Height(), 0};
    return DD_OK;
}

HRESULT SoftwareSurface::GetAttachedSurface(DDSCAPS2* caps, IDirectDrawSurface4** attached)
{
    if (caps == nullptr || attached == nullptr)
        return DDERR_INVALIDPARAMS;
    *attached = nullptr;
    if (m_pBackBuffer == nullptr || !(caps->dwCaps & DDSCAPS_BACKBUFFER))
        return DDERR_NOTFOUND;
    m_pBackBuffer->AddRef();
    *attached = m_pBackBuffer;
    return DD_OK;
}

HRESULT SoftwareSurface::SetColorKey(DWORD flags, DDCOLORKEY* key)
{
    if (!(flags & DDCKEY_SRCBLT))
        return DDERR_INVALIDPARAMS;
    // No key given removes the key.
    m_bHasColourKey = key != nullptr;
    ++m_nVersion;
    if (key != nullptr)
        m_ColourKey = *key;
    return DD_OK;
}

HRESULT SoftwareSurface::GetDC(HDC* dc)
{
    if (dc == nullptr)
        return DDERR_INVALIDPARAMS;
    *dc = nullptr;
    if (Lost())
        return DDERR_SURFACELOST;
    if (m_hDC != nullptr)
        return DDERR_DCALREADYCREATED;
    if (m_bLocked)
        return DDERR_SURFACEBUSY;
    // GDI may draw on the pixels until the context is given back.
    Written(0, m_Pixels.Height());
    m_hDC = CreateSurfaceDC(m_Pixels);
    if (m_hDC == nullptr)
        return DDERR_CANTCREATEDC;
    *dc = m_hDC;
    return DD_OK;
}

HRESULT SoftwareSurface::ReleaseDC(HDC dc)
{
    if (m_hDC == nullptr)
        return DDERR_NODC;
    if (dc != m_hDC)
        return DDERR_INVALIDPARAMS;
    DestroySurfaceDC(m_hDC);
    m_hDC = nullptr;
    Written(0, m_Pixels.Height());
    return DD_OK;
}

void SoftwareSurface::MarkRestored()
{
    if (!Lost())
        return;
    std::fill(m_Pixels.Bytes().begin(), m_Pixels.Bytes().end(), std::uint8_t{0});
    Written(0, m_Pixels.Height());
    m_nGeneration = Display::Instance().LossGeneration();
}

HRESULT SoftwareSurface::Restore()
{
    // The back buffer comes back with its primary only.
    if (m_dwCaps & DDSCAPS_BACKBUFFER)
        return DDERR_IMPLICITLYCREATED;
    MarkRestored();
    if (m_pBackBuffer != nullptr)
        m_pBackBuffer->MarkRestored();
    return DD_OK;
}

HRESULT SoftwareSurface::IsLost()
{
    return Lost() ? DDERR_SURFACELOST : DD_OK;
}

HRESULT SoftwareSurface::GetUniquenessValue(DWORD* value)
{
    if (value == nullptr)
        return DDERR_INVALIDPARAMS;
    *value = static_cast<DWORD>(m_nVersion);
    return DD_OK;
}

HRESULT SoftwareSurface::GetSurfaceDesc(DDSURFACEDESC2* desc)
{
    if (desc == nullptr)
        return DDERR_INVALIDPARAMS;
    const DWORD size = desc->dwSize;
    *desc = DDSURFACEDESC2{};
    desc->dwSize = size;
    desc->dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH | DDSD_PITCH | DDSD_PIXELFORMAT;
    desc->dwWidth = static_cast<DWORD>(m_Pixels.Width());
    desc->dwHeight = static_cast<DWORD>(m_Pixels.Height());
    desc->lPitch = m_Pixels.Pitch();
    desc->ddsCaps.dwCaps = m_dwCaps;
    if (m_pBackBuffer != nullptr)
    {
        desc->dwFlags |= DDSD_BACKBUFFERCOUNT;
        desc->dwBackBufferCount = 1;
    }
    DDPIXELFORMAT& format = desc->ddpfPixelFormat;
    format.dwSize = sizeof(DDPIXELFORMAT);
    format.dwRGBBitCount = static_cast<DWORD>(m_Pixels.BitsPerPixel());
    if (m_Pixels.BitsPerPixel() == 8)
        format.dwFlags = DDPF_RGB | DDPF_PALETTEINDEXED8;
    else
    {
        format.dwFlags = DDPF_RGB;
        format.dwRBitMask = 0xF800;
        format.dwGBitMask = 0x07E0;
        format.dwBBitMask = 0x001F;
    }
    return DD_OK;
}

HRESULT SoftwareSurface::Lock(RECT* rect, DDSURFACEDESC2* desc, DWORD flags, HANDLE)
{
    if (desc == nullptr || rect != nullptr)
        return DDERR_INVALIDPARAMS;
    if (const HRESULT busy = Busy(); busy != DD_OK)
        return busy;
    GetSurfaceDesc(desc);
    desc->dwFlags |= DDSD_LPSURFACE;
    desc->lpSurface = m_Pixels.Bytes().data();
    m_bLocked = true;
    m_bLockedForWriting = (flags & DDLOCK_READONLY) == 0;
    return DD_OK;
}

HRESULT SoftwareSurface::Unlock(RECT*)
{
    if (!m_bLocked)
        return DDERR_NOTLOCKED;
    m_bLocked = false;
    if (m_bLockedForWriting)
        Written(0, m_Pixels.Height());
    return DD_OK;
}

} // namespace platform
