// The GDI calls: text, bitmaps from resources or files, and copies between them.
#include "platform/gdi/gdi.h"

#include "platform/gdi/bmpreader.h"
#include "platform/gdi/devicecontext.h"
#include "platform/gdi/dibitmap.h"
#include "platform/gdi/surfacedc.h"
#include "platform/gdi/textrenderer.h"
#include "platform/win32/gamepath.h"
#include "platform/win32/pixelbuffer.h"
#include "platform/win32/resources.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <span>
#include <string>
#include <sys/stat.h>
#include <unordered_set>
#include <vector>

using platform::BmpReader;
using platform::DeviceContext;
using platform::DiBitmap;
using platform::PixelBuffer;
using platform::Rgb;

namespace
{

// Handles are the objects' addresses; every call checks them against the live
// objects, so a stale or foreign handle fails instead of touching freed memory.
// Never destroyed: objects released during the program's exit still find them.
std::unordered_set<DeviceContext*>& LiveContexts()
{
    static auto* contexts = new std::unordered_set<DeviceContext*>;
    return *contexts;
}

std::unordered_set<DiBitmap*>& LiveBitmaps()
{
    static auto* bitmaps = new std::unordered_set<DiBitmap*>;
    return *bitmaps;
}

// What every new memory context holds: one black monochrome pixel.
DiBitmap& StockBitmap()
{
    static auto* stock = new DiBitmap(1, 1, 1);
    return *stock;
}

DeviceContext* ToContext(HDC dc)
{
    auto* context = reinterpret_cast<DeviceContext*>(dc);
    return LiveContexts().contains(context) ? context : nullptr;
}

HDC ToHandle(DeviceContext* context)
{
    return reinterpret_cast<HDC>(context);
}

DiBitmap* ToBitmap(HGDIOBJ object)
{
    auto* bitmap = static_cast<DiBitmap*>(object);
    if (bitmap == &StockBitmap() || LiveBitmaps().contains(bitmap))
        return bitmap;
    return nullptr;
}

HGDIOBJ ToObject(DiBitmap* bitmap)
{
    return bitmap ? bitmap : &StockBitmap();
}

Rgb FromColorRef(COLORREF colour)
{
    return {static_cast<std::uint8_t>(colour & 0xFF),
            static_cast<std::uint8_t>((colour >> 8) & 0xFF),
            static_cast<std::uint8_t>((colour >> 16) & 0xFF)};
}

// Nearest-neighbour copy of the source rectangle onto the destination
// rectangle. Destination pixels outside the buffer and those whose source
// falls outside the source image are left alone.
template <class SampleFn>
void StretchInto(PixelBuffer& dest, int xDest, int yDest, int widthDest, int heightDest,
                 int sourceWidth, int sourceHeight, std::int64_t xSource, std::int64_t ySource,
                 int widthSource, int heightSource, SampleFn sample)
{
    const std::int64_t firstColumn = std::max<std::int64_t>(0, -std::int64_t{xDest});
    const std::int64_t endColumn =
        std::min<std::int64_t>(widthDest, std::int64_t{dest.Width()} - xDest);
    const std::int64_t firstRow = std::max<std::int64_t>(0, -std::int64_t{yDest});
    const std::int64_t endRow =
        std::min<std::int64_t>(heightDest, std::int64_t{dest.Height()} - yDest);
    for (std::int64_t j = firstRow; j < endRow; ++j)
    {
        const std::int64_t sy = ySource + j * heightSource / heightDest;
        if (sy < 0 || sy >= sourceHeight)
            continue;
        for (std::int64_t i = firstColumn; i < endColumn; ++i)
        {
            const std::int64_t sx = xSource + i * widthSource / widthDest;
            if (sx < 0 || sx >= sourceWidth)
                continue;
            dest.Set(static_cast<int>(xDest + i), static_cast<int>(yDest + j),
                     dest.FromRgb(sample(static_cast<int>(sx), static_cast<int>(sy))));
        }
    }
}

std::unique_ptr<DiBitmap> ReadBitmapFile(const char* name)
{
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(OpenGameFile(name), std::fclose);
    if (!file)
        return nullptr;
    struct stat info;
    constexpr off_t kMaxFileSize = off_t{64} << 20;
    if (fstat(fileno(file.get()), &info) != 0 || info.st_size <= 0 || info.st_size > kMaxFileSize)
        return nullptr;
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(info.st_size));
    if (std::fread(bytes.data(), 1, bytes.size(), file.get()) != bytes.size())
        return nullptr;
    return BmpReader::ReadFile(bytes);
}

std::unique_ptr<DiBitmap> ReadBitmapResource(LPCSTR name)
{
    // MAKEINTRESOURCE numbers are named by their decimal digits.
    const auto ordinal = reinterpret_cast<std::uintptr_t>(name);
    const std::string key = ordinal < 0x10000 ? std::to_string(ordinal) : std::string(name);
    const EmbeddedResource* resource = FindEmbeddedResource("BITMAP", key);
    if (!resource)
        return nullptr;
    const std::span<const std::uint8_t> bytes(resource->data, resource->size);
    if (bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M')
        return BmpReader::ReadFile(bytes);
    return BmpReader::ReadPackedDib(bytes);
}

} // namespace

namespace platform
{

HDC CreateSurfaceDC(PixelBuffer& pixels)
{
    auto* context = new DeviceContext(pixels);
    LiveContexts().insert(context);
    return ToHandle(context);
}

void DestroySurfaceDC(HDC dc)
{
    DeviceContext* context = ToContext(dc);
    if (!context || !context->Target())
        return;
    LiveContexts().erase(context);
    delete context;
}

} // namespace platform

int SetBkMode(HDC dc, int mode)
{
    DeviceContext* context = ToContext(dc);
    if (!context || (mode != TRANSPARENT && mode != OPAQUE))
        return 0;
    const int previous = context->BkMode();
    context->SetBkMode(mode);
    return previous;
}

COLORREF SetTextColor(HDC dc, COLORREF colour)
{
    DeviceContext* context = ToContext(dc);
    if (!context)
        return CLR_INVALID;
    const COLORREF previous = context->TextColour();
    context->SetTextColour(colour);
    return previous;
}

BOOL TextOutA(HDC dc, int x, int y, LPCSTR text, int length)
{
    DeviceContext* context = ToContext(dc);
    if (!context || !context->Target() || length < 0 || (length > 0 && !text))
        return FALSE;
    if (length == 0)
        return TRUE;

    auto& renderer = platform::TextRenderer::Instance();
    if (renderer.LineHeight(platform::TextFace::System) == 0)
        return FALSE; // the font could not be opened
    PixelBuffer& target = *context->Target();
    const std::string_view line(text, static_cast<std::size_t>(length));
    if (context->BkMode() == OPAQUE)
    {
        const platform::TextMask& mask = renderer.Render(platform::TextFace::System, line);
        const std::uint32_t background = target.FromRgb(FromColorRef(context->BkColour()));
        const int left = std::max(0, x), top = std::max(0, y);
        const int right =
            static_cast<int>(std::min<std::int64_t>(target.Width(), std::int64_t{x} + mask.width));
        const int bottom = static_cast<int>(
            std::min<std::int64_t>(target.Height(), std::int64_t{y} + mask.height));
        for (int py = top; py < bottom; ++py)
            for (int px = left; px < right; ++px)
                target.Set(px, py, background);
    }
    renderer.Draw(target, x, y, platform::TextFace::System, line,
                  target.FromRgb(FromColorRef(context->TextColour())));
    return TRUE;
}

HDC CreateCompatibleDC(HDC dc)
{
    if (dc && !ToContext(dc))
        return nullptr;
    auto* context = new DeviceContext();
    LiveContexts().insert(context);
    return ToHandle(context);
}

BOOL DeleteDC(HDC dc)
{
    // A surface's context goes back through its surface, not here.
    DeviceContext* context = ToContext(dc);
    if (!context || context->Target())
        return FALSE;
    LiveContexts().erase(context);
    delete context;
    return TRUE;
}

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object)
{
    DeviceContext* context = ToContext(dc);
    DiBitmap* bitmap = ToBitmap(object);
    if (!context || !bitmap)
        return nullptr;
    DiBitmap* previous = nullptr;
    if (!context->Select(bitmap == &StockBitmap() ? nullptr : bitmap, previous))
        return nullptr;
    return ToObject(previous);
}

BOOL DeleteObject(HGDIOBJ object)
{
    DiBitmap* bitmap = ToBitmap(object);
    if (!bitmap)
        return FALSE;
    if (bitmap == &StockBitmap())
        return TRUE;
    // Still selected: a context would be left pointing at freed pixels.
    if (bitmap->SelectedInto())
        return FALSE;
    LiveBitmaps().erase(bitmap);
    delete bitmap;
    return TRUE;
}

int GetObjectA(HGDIOBJ object, int size, LPVOID buffer)
{
    const DiBitmap* bitmap = ToBitmap(object);
    if (!bitmap)
        return 0;
    if (!buffer)
        return sizeof(BITMAP);
    if (size < static_cast<int>(sizeof(BITMAP)))
        return 0;
    // The pixels are kept in their own form, so no bits pointer is handed out.
    const BITMAP info{0,
                      bitmap->Width(),
                      bitmap->Height(),
                      bitmap->RowBytes(),
                      1,
                      static_cast<WORD>(bitmap->BitsPerPixel()),
                      nullptr};
    std::memcpy(buffer, &info, sizeof info);
    return sizeof(BITMAP);
}

BOOL StretchBlt(HDC dest, int xDest, int yDest, int widthDest, int heightDest, HDC source,
                int xSource, int ySource, int widthSource, int heightSource, DWORD rop)
{
    DeviceContext* target = ToContext(dest);
    DeviceContext* from = ToContext(source);
    if (!target || !target->Target() || !from || from->Target() || rop != SRCCOPY)
        return FALSE;
    if (widthDest <= 0 || heightDest <= 0 || widthSource <= 0 || heightSource <= 0)
        return FALSE;
    const DiBitmap& bitmap = from->Bitmap() ? *from->Bitmap() : StockBitmap();
    StretchInto(*target->Target(), xDest, yDest, widthDest, heightDest, bitmap.Width(),
                bitmap.Height(), xSource, ySource, widthSource, heightSource,
                [&bitmap](int x, int y) { return bitmap.Pixel(x, y); });
    return TRUE;
}

int StretchDIBits(HDC dest, int xDest, int yDest, int widthDest, int heightDest, int xSource,
                  int ySource, int widthSource, int heightSource, const void* bits,
                  const BITMAPINFO* info, UINT usage, DWORD rop)
{
    DeviceContext* target = ToContext(dest);
    if (!target || !target->Target() || !bits || !info || usage != DIB_RGB_COLORS || rop != SRCCOPY)
        return GDI_ERROR;
    const BITMAPINFOHEADER& header = info->bmiHeader;
    if (header.biSize < sizeof(BITMAPINFOHEADER) || header.biPlanes != 1 ||
        header.biBitCount != 32 || header.biCompression != BI_RGB || header.biWidth <= 0 ||
        header.biHeight == 0 || header.biHeight == INT32_MIN)
        return GDI_ERROR;
    if (widthDest <= 0 || heightDest <= 0 || widthSource <= 0 || heightSource <= 0)
        return GDI_ERROR;

    const int width = header.biWidth;
    const bool topDown = header.biHeight < 0;
    const int height = topDown ? -header.biHeight : header.biHeight;
    const auto* pixels = static_cast<const std::uint8_t*>(bits);
    // A bottom-up image counts its source rectangle from the lower-left corner.
    const std::int64_t yTop =
        topDown ? ySource : std::int64_t{height} - ySource - std::int64_t{heightSource};
    StretchInto(*target->Target(), xDest, yDest, widthDest, heightDest, width, height, xSource,
                yTop, widthSource, heightSource,
                [=](int x, int y)
                {
                    const int row = topDown ? y : height - 1 - y;
                    const std::uint8_t* p =
                        pixels + (static_cast<std::size_t>(row) * width + x) * 4;
                    return Rgb{p[2], p[1], p[0]};
                });
    return heightSource;
}

HANDLE LoadImageA(HINSTANCE module, LPCSTR name, UINT type, int width, int height, UINT flags)
{
    // Only bitmaps at their own size.
    if (!name || type != IMAGE_BITMAP || width != 0 || height != 0)
        return nullptr;
    std::unique_ptr<DiBitmap> bitmap;
    if (flags & LR_LOADFROMFILE)
    {
        if (reinterpret_cast<std::uintptr_t>(name) < 0x10000)
            return nullptr;
        bitmap = ReadBitmapFile(name);
    }
    else if (module)
    {
        bitmap = ReadBitmapResource(name);
    }
    if (!bitmap)
        return nullptr;
    DiBitmap* handle = bitmap.release();
    LiveBitmaps().insert(handle);
    return handle;
}
