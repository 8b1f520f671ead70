// The window of the program, full screen or not, and the presenting of its
// picture, the pointer, and the surfaces' loss when the full-screen window
// loses the focus.
#include "platform/sdl/display.h"

#include "platform/sdl/controllers.h"
#include "platform/sdl/inputtranslation.h"
#include "platform/sdl/sdlsubsystem.h"
#include "platform/sdl/sharpscale.h"
#include "platform/sdl/windowlimit.h"

#include "platform/win32/clock.h"
#include "platform/win32/messagequeue.h"
#include "platform/win32/screenmode.h"
#include "platform/win32/testseams.h"

#include <SDL.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <vector>

namespace platform
{

namespace
{

struct WindowDeleter
{
    void operator()(SDL_Window* window) const { SDL_DestroyWindow(window); }
};
struct RendererDeleter
{
    void operator()(SDL_Renderer* renderer) const { SDL_DestroyRenderer(renderer); }
};
struct TextureDeleter
{
    void operator()(SDL_Texture* texture) const { SDL_DestroyTexture(texture); }
};

constexpr int kDefaultRefreshRate = 60;

// Video drivers that draw nowhere a player could see.
bool IsInvisibleDriver(const char* driver)
{
    return SDL_strcasecmp(driver, "offscreen") == 0 || SDL_strcasecmp(driver, "dummy") == 0 ||
           SDL_strcasecmp(driver, "evdev") == 0;
}
// A picture that stood this many frames with no input between them stands
// until input comes: nothing but input changes a settled picture, so once
// nothing waits to be handled either, the loop sleeps on the window's events
// instead of waking every refresh.
constexpr int kStillFramesBeforeIdling = 2;
// Without a window nothing can come: a wait without a limit looks again after this.
constexpr int kHeadlessLookMs = 100;

// This many presents in a row that came back at once mean that the driver
// ignores vsync; the refresh period is then waited out by hand.
constexpr int kPresentsBeforeDistrustingVsync = 8;

// More changed areas than this are shown as the one rectangle around them.
constexpr std::size_t kMostChangedAreas = 16;

// Software GL costs tens of megabytes of mappings and redraws the whole
// window at every present; without a GPU device node it is all there is, so
// the picture goes to the window surface instead, rectangle by rectangle.
bool GpuDeviceExists()
{
    const char* software = std::getenv("LIBGL_ALWAYS_SOFTWARE");
    if (software != nullptr && *software != '\0' && std::strcmp(software, "0") != 0)
        return false;
    return access("/dev/dri", F_OK) == 0 || access("/dev/nvidia0", F_OK) == 0;
}

// A renderer that draws in software after all: SDL's own, or a GL driver
// that rasterizes on the CPU.
bool DrawsInSoftware(SDL_Renderer* renderer)
{
    SDL_RendererInfo info;
    if (SDL_GetRendererInfo(renderer, &info) != 0 || !(info.flags & SDL_RENDERER_ACCELERATED))
        return true;
    if (std::strncmp(info.name, "opengl", 6) != 0)
        return false;
    using GetString = const unsigned char* (*)(unsigned);
    constexpr unsigned kGlRenderer = 0x1F01;
    const auto getString = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
    const auto* name = getString ? reinterpret_cast<const char*>(getString(kGlRenderer)) : nullptr;
    return name != nullptr && (std::strstr(name, "llvmpipe") || std::strstr(name, "softpipe") ||
                               std::strstr(name, "swrast"));
}

} // namespace

struct Display::Impl
{
    bool videoTried = false;
    bool videoAvailable = false;
    std::unique_ptr<SDL_Window, WindowDeleter> window;
    std::unique_ptr<SDL_Renderer, RendererDeleter> renderer;
    std::unique_ptr<SDL_Texture, TextureDeleter> texture;
    int textureWidth = 0;
    int textureHeight = 0;
    // The picture at the whole multiple, smoothed from there to the view;
    // none where the whole multiple is 1 or fills the view exactly.
    std::unique_ptr<SDL_Texture, TextureDeleter> wholeTexture;
    int wholeTextureScale = 0;
    int width = 640;
    int height = 480;
    int refreshRate = kDefaultRefreshRate;
    bool vsync = false;
    int quickPresents = 0;
    std::uint64_t lastPresentEnd = 0;
    bool minimised = false;
    // The window does not show the picture: a change it could not take is
    // shown whole with the next present.
    bool unshown = false;

    // The picture's place in the window (renderer output or window surface).
    SharpScale view{0, 0, 640, 480, 1};
    // Without a renderer: the window surface, the picture pixels each of its
    // columns and rows shows, and two picture rows scaled across the view.
    bool windowSurface = false;
    SDL_Surface* surface = nullptr;
    int surfaceWidth = 0;
    int surfaceHeight = 0;
    std::vector<SharpTap> columnTaps;
    std::vector<SharpTap> rowTaps;
    std::vector<std::uint32_t> convertedRow;
    std::vector<std::uint32_t> scaledRows[2];
    // Of each column: the picture pixel it shows and the one it blends in.
    std::vector<std::uint32_t> firstColumns;
    std::vector<std::uint32_t> nextColumns;
    std::vector<std::uint8_t> columnWeights; // each column's weight, once per byte
    int scaledRowSource[2] = {-1, -1};

    std::optional<PixelBuffer> shown;
    std::vector<RECT> lastChanges;
    // Whether the last present told its written rows, and the rows it changed.
    bool lastWritten = false;
    Display::Rows lastChangedRows;
    int uploads = 0;
    std::uint64_t lossGeneration = 0;
    int cursorShowCount = 0;
    bool cursorVisible = true;
    POINT cursor{0, 0};
    // Where the pointer was warped to, until SDL reports the motion.
    std::optional<POINT> warped;
    Controllers controllers;
    KeyRepeats keyRepeats;
    std::vector<std::uint32_t> icon; // ARGB8888
    int iconWidth = 0;
    // RGB565 and 3-3-2 to the window's 32-bit format (ARGB8888 for the texture).
    std::vector<std::uint32_t> colours16;
    std::vector<std::uint32_t> colours8;
    std::uint32_t coloursFormat = SDL_PIXELFORMAT_ARGB8888;

    bool VideoAvailable();
    bool OpenWindow(int w, int h);
    SDL_Rect FullScreenBounds(int displayIndex) const;
    SDL_Rect WindowBounds(int displayIndex) const;
    // Takes the window to that mode; false when the system refused.
    bool SwitchWindow(ScreenMode mode);
    bool CreateRenderer(bool rateKnown);
    // Shows the changed rectangles of the picture (all of it when none are
    // given); false when the window could not take them.
    bool Render(const PixelBuffer& picture, const std::vector<SDL_Rect>& changed);
    bool RenderTexture(const PixelBuffer& picture, const std::vector<SDL_Rect>& changed);
    bool RenderSurface(const PixelBuffer& picture, std::vector<SDL_Rect> changed);
    // The window within the size limit; else asked back to it, and false.
    bool WithinSizeLimit();
    // The shown picture whole, placed in the window as it is now.
    void ShowWhole();
    // After a size change: the view, the pointer's mapping and the picture.
    void PlaceAnew();
    // Picture row sourceRow scaled across the view columns [left, right).
    const std::uint32_t* ScaledRow(const PixelBuffer& picture, int sourceRow, int left, int right);
    void PlaceView(int windowWidth, int windowHeight);
    // The view placed in the window as it is now.
    void FitView();
    POINT ToPicture(int x, int y) const;
    // The window pixel in the middle of a picture pixel.
    POINT ToWindow(POINT p) const;
    void WaitForRefresh() const;
    int stillFrames = 0;
    bool inputSincePresent = false;
    const std::vector<std::uint32_t>& Colours(int bitsPerPixel, std::uint32_t format);
    void Apply(const InputEvent& event);
    void ShowIcon();
    POINT Clamp(int x, int y) const
    {
        return {std::clamp(x, 0, width - 1), std::clamp(y, 0, height - 1)};
    }
};

bool Display::Impl::VideoAvailable()
{
    if (!videoTried)
    {
        videoTried = true;
        const char* requested = std::getenv("SDL_VIDEODRIVER");
        const bool server = std::getenv("DISPLAY") != nullptr ||
                            std::getenv("WAYLAND_DISPLAY") != nullptr || requested != nullptr;
        videoAvailable = server && InitSdlSubsystem(SDL_INIT_VIDEO);
        // A display server that is not there (a stale DISPLAY, a server not up
        // yet) makes SDL fall through to a driver that shows nothing; such a
        // game would wait where nobody sees it. Only asked for by name.
        const char* driver = videoAvailable ? SDL_GetCurrentVideoDriver() : nullptr;
        if (driver != nullptr && IsInvisibleDriver(driver) &&
            (requested == nullptr || SDL_strcasecmp(requested, driver) != 0))
        {
            SDL_QuitSubSystem(SDL_INIT_VIDEO);
            videoAvailable = false;
        }
    }
    return videoAvailable;
}

bool Display::Impl::CreateRenderer(bool rateKnown)
{
    windowSurface = !GpuDeviceExists();
    if (!windowSurface)
    {
        // Scaling must be nearest-neighbour before the texture exists.
        SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
        // Vsync only where the refresh rate is known; else the period is waited out.
        renderer.reset(
            SDL_CreateRenderer(window.get(), -1, rateKnown ? SDL_RENDERER_PRESENTVSYNC : 0));
        windowSurface = !renderer || DrawsInSoftware(renderer.get());
    }
    if (windowSurface)
    {
        renderer.reset();
        // Or SDL would put a renderer of its own behind the window surface.
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
        surface = nullptr;
        vsync = false;
        const SDL_Surface* pixels = SDL_GetWindowSurface(window.get());
        if (pixels != nullptr && pixels->format->BytesPerPixel == 4 && !SDL_MUSTLOCK(pixels))
            return true;
        // A window of another depth: SDL's own software renderer converts.
        windowSurface = false;
        renderer.reset(SDL_CreateRenderer(window.get(), -1, SDL_RENDERER_SOFTWARE));
        if (!renderer)
            return false;
    }
    SDL_RendererInfo info;
    vsync = SDL_GetRendererInfo(renderer.get(), &info) == 0 &&
            (info.flags & SDL_RENDERER_PRESENTVSYNC) != 0;
    return true;
}

SDL_Rect Display::Impl::FullScreenBounds(int displayIndex) const
{
    // The desktop's size and place, so that the picture covers the screen even
    // where no window manager makes the window full-screen.
    SDL_Rect bounds{0, 0, width, height};
    SDL_GetDisplayBounds(displayIndex, &bounds);
    return bounds;
}

SDL_Rect Display::Impl::WindowBounds(int displayIndex) const
{
    // The largest whole multiple of the picture that fits, centred.
    SDL_Rect bounds{0, 0, width, height};
    SDL_GetDisplayUsableBounds(displayIndex, &bounds);
    const int scale = std::max(1, std::min(bounds.w / width, bounds.h / height));
    const auto centred = static_cast<int>(SDL_WINDOWPOS_CENTERED_DISPLAY(displayIndex));
    return {centred, centred, width * scale, height * scale};
}

bool Display::Impl::OpenWindow(int w, int h)
{
    width = w;
    height = h;
    if (!window)
    {
        const bool inWindow = GetScreenMode() == ScreenMode::Window;
        const SDL_Rect bounds = inWindow ? WindowBounds(0) : FullScreenBounds(0);
        window.reset(
            SDL_CreateWindow("TamZelon", bounds.x, bounds.y, bounds.w, bounds.h,
                             inWindow ? SDL_WINDOW_RESIZABLE : SDL_WINDOW_FULLSCREEN_DESKTOP));
        if (!window)
            return false;
        // A window manager keeps to this; the limit is enforced where one does not.
        SDL_SetWindowMaximumSize(window.get(), kLongestWindowSide, kLongestWindowSide);
        SDL_DisplayMode mode;
        const bool rateKnown =
            SDL_GetDesktopDisplayMode(SDL_GetWindowDisplayIndex(window.get()), &mode) == 0 &&
            mode.refresh_rate > 0;
        refreshRate = rateKnown ? mode.refresh_rate : kDefaultRefreshRate;
        if (!CreateRenderer(rateKnown))
        {
            window.reset();
            return false;
        }
        quickPresents = 0;
        minimised = false;
        ShowIcon();
        controllers.Start();
        SDL_ShowCursor(cursorVisible ? SDL_ENABLE : SDL_DISABLE);
    }
    if (windowSurface)
    {
        FitView();
        surface = nullptr; // the next picture is shown whole
        return true;
    }
    if (!texture || textureWidth != w || textureHeight != h)
    {
        texture.reset(SDL_CreateTexture(renderer.get(), SDL_PIXELFORMAT_ARGB8888,
                                        SDL_TEXTUREACCESS_STREAMING, w, h));
        if (!texture)
        {
            renderer.reset();
            window.reset();
            return false;
        }
        textureWidth = w;
        textureHeight = h;
        wholeTexture.reset();
    }
    FitView();
    SDL_SetRenderDrawColor(renderer.get(), 0, 0, 0, 255);
    SDL_RenderClear(renderer.get());
    SDL_RenderPresent(renderer.get());
    return true;
}

const std::vector<std::uint32_t>& Display::Impl::Colours(int bitsPerPixel, std::uint32_t format)
{
    if (format != coloursFormat)
    {
        colours8.clear();
        colours16.clear();
        coloursFormat = format;
    }
    std::vector<std::uint32_t>& table = bitsPerPixel == 8 ? colours8 : colours16;
    if (table.empty())
    {
        SDL_PixelFormat* target = SDL_AllocFormat(format);
        table.resize(bitsPerPixel == 8 ? 256 : 65536);
        for (std::size_t value = 0; value < table.size(); ++value)
        {
            const Rgb c = PixelBuffer::ToRgb(static_cast<std::uint32_t>(value), bitsPerPixel);
            table[value] = target ? SDL_MapRGB(target, c.r, c.g, c.b) : 0;
        }
        SDL_FreeFormat(target);
    }
    return table;
}

namespace
{

// Converts a rectangle of the picture into 32-bit pixels at out (its top-left
// corner), pitch bytes apart.
void ConvertRect(const PixelBuffer& picture, const SDL_Rect& r,
                 const std::vector<std::uint32_t>& colours, std::uint8_t* out, int pitch)
{
    for (int y = r.y; y < r.y + r.h; ++y, out += pitch)
    {
        auto* row = reinterpret_cast<std::uint32_t*>(out);
        const std::uint8_t* in = picture.Row(y);
        if (picture.BitsPerPixel() == 8)
            for (int x = r.x; x < r.x + r.w; ++x)
                row[x - r.x] = colours[in[x]];
        else
            for (int x = r.x; x < r.x + r.w; ++x)
            {
                std::uint16_t value;
                std::memcpy(&value, in + 2 * x, sizeof value);
                row[x - r.x] = colours[value];
            }
    }
}

} // namespace

void Display::Impl::PlaceView(int windowWidth, int windowHeight)
{
    view = SharpScale::Fit(width, height, windowWidth, windowHeight);
    if (windowSurface)
    {
        columnTaps = SharpTaps(width, view.whole, view.width);
        rowTaps = SharpTaps(height, view.whole, view.height);
        firstColumns.resize(columnTaps.size());
        nextColumns.resize(columnTaps.size());
        columnWeights.clear();
        for (const SharpTap& tap : columnTaps)
            columnWeights.insert(columnWeights.end(), 4, static_cast<std::uint8_t>(tap.weight));
    }
}

void Display::Impl::FitView()
{
    int viewWidth = 0, viewHeight = 0;
    if (windowSurface)
        SDL_GetWindowSize(window.get(), &viewWidth, &viewHeight);
    else
        SDL_GetRendererOutputSize(renderer.get(), &viewWidth, &viewHeight);
    PlaceView(viewWidth, viewHeight);
}

POINT Display::Impl::ToPicture(int x, int y) const
{
    if (view.width <= 0 || view.height <= 0)
        return Clamp(x, y);
    const auto along = [](int at, int start, int size, int pictureSize)
    {
        const long long offset = static_cast<long long>(at) - start;
        return static_cast<int>(offset < 0 ? -1 : offset * pictureSize / size);
    };
    return Clamp(along(x, view.x, view.width, width), along(y, view.y, view.height, height));
}

POINT Display::Impl::ToWindow(POINT p) const
{
    const auto along = [](int at, int start, int size, int pictureSize)
    { return start + static_cast<int>((2LL * at + 1) * size / (2LL * pictureSize)); };
    return {along(p.x, view.x, view.width, width), along(p.y, view.y, view.height, height)};
}

void Display::Impl::ShowIcon()
{
    if (!window || icon.empty())
        return;
    const int height = static_cast<int>(icon.size()) / iconWidth;
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(
        icon.data(), iconWidth, height, 32, iconWidth * 4, SDL_PIXELFORMAT_ARGB8888);
    if (surface == nullptr)
        return;
    SDL_SetWindowIcon(window.get(), surface);
    SDL_FreeSurface(surface);
}

bool Display::Impl::Render(const PixelBuffer& picture, const std::vector<SDL_Rect>& changed)
{
    if (picture.Width() != width || picture.Height() != height ||
        (!windowSurface && (picture.Width() != textureWidth || picture.Height() != textureHeight)))
        if (!OpenWindow(picture.Width(), picture.Height()))
            return false;
    if (!WithinSizeLimit())
        return false;
    const bool shownAll =
        windowSurface ? RenderSurface(picture, changed) : RenderTexture(picture, changed);

    const std::uint64_t now = Clock::NowMicroseconds();
    if (vsync)
    {
        const std::uint64_t halfPeriod = 500000 / static_cast<std::uint64_t>(refreshRate);
        quickPresents = now - lastPresentEnd < halfPeriod ? quickPresents + 1 : 0;
        if (quickPresents >= kPresentsBeforeDistrustingVsync)
            vsync = false;
    }
    lastPresentEnd = now;
    return shownAll;
}

bool Display::Impl::WithinSizeLimit()
{
    int w = 0, h = 0;
    SDL_GetWindowSize(window.get(), &w, &h);
    const WindowSize allowed = AllowedWindowSize(w, h);
    if (allowed.width == w && allowed.height == h)
        return true;
    // Its size change brings the picture back.
    SDL_SetWindowSize(window.get(), allowed.width, allowed.height);
    return false;
}

void Display::Impl::ShowWhole()
{
    if (shown && window)
        unshown = minimised || !Render(*shown, {});
}

void Display::Impl::PlaceAnew()
{
    FitView();
    surface = nullptr;
    ShowWhole();
}

bool Display::Impl::RenderTexture(const PixelBuffer& picture, const std::vector<SDL_Rect>& changed)
{
    const std::vector<std::uint32_t>& colours =
        Colours(picture.BitsPerPixel(), SDL_PIXELFORMAT_ARGB8888);
    const std::vector<SDL_Rect> whole{{0, 0, picture.Width(), picture.Height()}};
    for (const SDL_Rect& r : changed.empty() ? whole : changed)
    {
        void* pixels = nullptr;
        int pitch = 0;
        if (SDL_LockTexture(texture.get(), &r, &pixels, &pitch) != 0)
            return false;
        ConvertRect(picture, r, colours, static_cast<std::uint8_t*>(pixels), pitch);
        SDL_UnlockTexture(texture.get());
    }
    FitView();
    // Nearest neighbour up to the whole multiple, smoothed for the rest.
    SDL_Texture* scaled = texture.get();
    const bool exact = view.IsWhole(width, height);
    if (!exact && view.whole > 1 && SDL_RenderTargetSupported(renderer.get()))
    {
        if (!wholeTexture || wholeTextureScale != view.whole)
        {
            wholeTexture.reset(SDL_CreateTexture(renderer.get(), SDL_PIXELFORMAT_ARGB8888,
                                                 SDL_TEXTUREACCESS_TARGET, width * view.whole,
                                                 height * view.whole));
            wholeTextureScale = view.whole;
            if (wholeTexture)
                SDL_SetTextureScaleMode(wholeTexture.get(), SDL_ScaleModeLinear);
        }
        if (wholeTexture && SDL_SetRenderTarget(renderer.get(), wholeTexture.get()) == 0)
        {
            SDL_SetTextureScaleMode(texture.get(), SDL_ScaleModeNearest);
            SDL_RenderCopy(renderer.get(), texture.get(), nullptr, nullptr);
            SDL_SetRenderTarget(renderer.get(), nullptr);
            scaled = wholeTexture.get();
        }
    }
    if (scaled == texture.get())
        SDL_SetTextureScaleMode(texture.get(), exact ? SDL_ScaleModeNearest : SDL_ScaleModeLinear);
    // After a present the renderer's buffer is undefined: the whole frame
    // every time, and the border around the picture stays black.
    const SDL_Rect place{view.x, view.y, view.width, view.height};
    SDL_RenderClear(renderer.get());
    SDL_RenderCopy(renderer.get(), scaled, nullptr, &place);
    SDL_RenderPresent(renderer.get());
    return true;
}

namespace
{

// Blends of rows, byte by byte: each byte of out is the one of from moved
// towards the one of to by a weight in 256ths. Loops of a fixed 16 bytes over
// unaliased rows, so that the compiler does each block at once.
constexpr int kBlendBlock = 16;

// One weight per byte (each pixel's weight four times).
void BlendBytes(const std::uint8_t* __restrict from, const std::uint8_t* __restrict to,
                const std::uint8_t* __restrict weights, std::uint8_t* __restrict out, int bytes)
{
    int i = 0;
    for (; i + kBlendBlock <= bytes; i += kBlendBlock)
        for (int k = 0; k < kBlendBlock; ++k)
            out[i + k] = static_cast<std::uint8_t>(
                (from[i + k] * (256 - weights[i + k]) + to[i + k] * weights[i + k]) >> 8);
    for (; i < bytes; ++i)
        out[i] =
            static_cast<std::uint8_t>((from[i] * (256 - weights[i]) + to[i] * weights[i]) >> 8);
}

// One weight for the whole row.
void BlendBytes(const std::uint8_t* __restrict from, const std::uint8_t* __restrict to, int weight,
                std::uint8_t* __restrict out, int bytes)
{
    const int keep = 256 - weight;
    int i = 0;
    for (; i + kBlendBlock <= bytes; i += kBlendBlock)
        for (int k = 0; k < kBlendBlock; ++k)
            out[i + k] = static_cast<std::uint8_t>((from[i + k] * keep + to[i + k] * weight) >> 8);
    for (; i < bytes; ++i)
        out[i] = static_cast<std::uint8_t>((from[i] * keep + to[i] * weight) >> 8);
}

const std::uint8_t* Bytes(const std::uint32_t* pixels)
{
    return reinterpret_cast<const std::uint8_t*>(pixels);
}

} // namespace

const std::uint32_t* Display::Impl::ScaledRow(const PixelBuffer& picture, int sourceRow, int left,
                                              int right)
{
    // The two rows kept are the ones a view row blends; the lower one goes.
    for (int kept = 0; kept < 2; ++kept)
        if (scaledRowSource[kept] == sourceRow)
            return scaledRows[kept].data();
    const int slot = scaledRowSource[0] < scaledRowSource[1] ? 0 : 1;
    scaledRowSource[slot] = sourceRow;
    // The picture pixels the columns use, converted once each.
    const int first = columnTaps[left].first;
    const int last = std::min(columnTaps[right - 1].first + 1, width - 1);
    const SDL_Rect span{first, sourceRow, last - first + 1, 1};
    convertedRow.resize(static_cast<std::size_t>(span.w));
    ConvertRect(picture, span, Colours(picture.BitsPerPixel(), surface->format->format),
                reinterpret_cast<std::uint8_t*>(convertedRow.data()), 0);
    std::vector<std::uint32_t>& row = scaledRows[slot];
    row.resize(columnTaps.size());
    const bool smooth = !view.IsWhole(width, height);
    std::uint32_t* const nearest = smooth ? firstColumns.data() : row.data();
    for (int x = left; x < right; ++x)
    {
        const SharpTap tap = columnTaps[x];
        const std::uint32_t* at = &convertedRow[static_cast<std::size_t>(tap.first - first)];
        nearest[x] = at[0];
        nextColumns[x] = at[tap.weight > 0];
    }
    if (smooth)
        BlendBytes(Bytes(firstColumns.data() + left), Bytes(nextColumns.data() + left),
                   columnWeights.data() + 4 * left,
                   reinterpret_cast<std::uint8_t*>(row.data() + left), 4 * (right - left));
    return row.data();
}

bool Display::Impl::RenderSurface(const PixelBuffer& picture, std::vector<SDL_Rect> changed)
{
    // A new window surface (the first, or after a resize) starts black.
    SDL_Surface* now = SDL_GetWindowSurface(window.get());
    if (now == nullptr || now->format->BytesPerPixel != 4 || SDL_MUSTLOCK(now))
        return false;
    if (now != surface || now->w != surfaceWidth || now->h != surfaceHeight)
    {
        surface = now;
        surfaceWidth = now->w;
        surfaceHeight = now->h;
        PlaceView(now->w, now->h);
        SDL_FillRect(now, nullptr, SDL_MapRGB(now->format, 0, 0, 0));
        changed.clear();
    }
    const bool whole = changed.empty();
    if (whole)
        changed.push_back({0, 0, picture.Width(), picture.Height()});
    std::vector<SDL_Rect> shownRects;
    for (const SDL_Rect& r : changed)
    {
        const auto [left, right] = SharpSpan(columnTaps, r.x, r.x + r.w);
        const auto [top, bottom] = SharpSpan(rowTaps, r.y, r.y + r.h);
        if (left >= right || top >= bottom)
            continue;
        // The rows kept scaled belong to another rectangle.
        scaledRowSource[0] = scaledRowSource[1] = -1;
        auto* base = static_cast<std::uint8_t*>(now->pixels);
        for (int y = top; y < bottom; ++y)
        {
            auto* out = reinterpret_cast<std::uint32_t*>(
                            base + static_cast<std::size_t>(view.y + y) * now->pitch) +
                        view.x;
            const SharpTap tap = rowTaps[y];
            const std::uint32_t* upper = ScaledRow(picture, tap.first, left, right);
            if (tap.weight == 0)
            {
                std::memcpy(out + left, upper + left, static_cast<std::size_t>(right - left) * 4);
                continue;
            }
            const std::uint32_t* lower = ScaledRow(picture, tap.first + 1, left, right);
            BlendBytes(Bytes(upper + left), Bytes(lower + left), tap.weight,
                       reinterpret_cast<std::uint8_t*>(out + left), 4 * (right - left));
        }
        shownRects.push_back({view.x + left, view.y + top, right - left, bottom - top});
    }
    if (whole)
        return SDL_UpdateWindowSurface(window.get()) == 0;
    return shownRects.empty() ||
           SDL_UpdateWindowSurfaceRects(window.get(), shownRects.data(),
                                        static_cast<int>(shownRects.size())) == 0;
}

bool Display::Impl::SwitchWindow(ScreenMode mode)
{
    SDL_Window* const w = window.get();
    const int displayIndex = std::max(0, SDL_GetWindowDisplayIndex(w));
    if (mode == ScreenMode::Window)
    {
        if (SDL_SetWindowFullscreen(w, 0) != 0)
            return false;
        SDL_SetWindowGrab(w, SDL_FALSE);
        SDL_SetWindowResizable(w, SDL_TRUE);
        const SDL_Rect bounds = WindowBounds(displayIndex);
        SDL_SetWindowSize(w, bounds.w, bounds.h);
        SDL_SetWindowPosition(w, bounds.x, bounds.y);
        return true;
    }
    // Covering the screen first, for where no window manager does it.
    const SDL_Rect bounds = FullScreenBounds(displayIndex);
    SDL_SetWindowPosition(w, bounds.x, bounds.y);
    SDL_SetWindowSize(w, bounds.w, bounds.h);
    if (SDL_SetWindowFullscreen(w, SDL_WINDOW_FULLSCREEN_DESKTOP) != 0)
        return false;
    if (SDL_GetWindowFlags(w) & SDL_WINDOW_INPUT_FOCUS)
        SDL_SetWindowGrab(w, SDL_TRUE);
    return true;
}

void Display::Impl::WaitForRefresh() const
{
    // Up to the next vertical blank of a display refreshing at refreshRate.
    const std::uint64_t period = 1000000 / static_cast<std::uint64_t>(refreshRate);
    const std::uint64_t now = Clock::NowMicroseconds();
    Clock::SleepMicroseconds((now / period + 1) * period - now);
}

void Display::Impl::Apply(const InputEvent& event)
{
    switch (event.kind)
    {
    case InputEvent::Kind::MouseMove:
    case InputEvent::Kind::MouseDown:
    case InputEvent::Kind::MouseUp:
        cursor = Clamp(event.x, event.y);
        warped.reset();
        break;
    case InputEvent::Kind::FocusLost:
        // As in exclusive mode: the video memory is gone, the mouse is free.
        // A window on the desktop loses nothing and never held the mouse.
        if (GetScreenMode() == ScreenMode::Window)
            break;
        ++lossGeneration;
        if (window)
            SDL_SetWindowGrab(window.get(), SDL_FALSE);
        break;
    case InputEvent::Kind::FocusGained:
        if (window && GetScreenMode() == ScreenMode::FullScreen)
            SDL_SetWindowGrab(window.get(), SDL_TRUE);
        break;
    case InputEvent::Kind::Hidden:
        minimised = true;
        break;
    case InputEvent::Kind::Exposed:
        minimised = false;
        ShowWhole();
        break;
    case InputEvent::Kind::Resized:
        // At once, also where no exposure follows.
        if (window)
            PlaceAnew();
        break;
    default:
        break;
    }
}

Display::Display() : m_pImpl(std::make_unique<Impl>()) {}

Display::~Display() = default;

bool Display::IsHeadless() const
{
    return TestSeams::Get().headless || !m_pImpl->VideoAvailable();
}

bool Display::OpenFullScreen(int width, int height, int bitsPerPixel)
{
    if (width <= 0 || height <= 0 || (bitsPerPixel != 8 && bitsPerPixel != 16))
        return false;
    Impl& m = *m_pImpl;
    if (TestSeams::Get().headless)
    {
        m.width = width;
        m.height = height;
        return true;
    }
    // Without a display server there is no screen to switch: the mode is refused,
    // so the player learns why instead of a game running where nobody sees it.
    if (!m.VideoAvailable())
        return false;
    return m.OpenWindow(width, height);
}

void Display::Close()
{
    Impl& m = *m_pImpl;
    m.wholeTexture.reset();
    m.texture.reset();
    m.textureWidth = m.textureHeight = 0;
    m.renderer.reset();
    m.surface = nullptr;
    m.window.reset();
}

namespace
{

// The rectangles in which picture differs from shown within rows, taking the
// changed rows into shown: bands of adjacent changed rows, each as wide as its
// changes.
std::vector<SDL_Rect> TakeChanges(PixelBuffer& shown, const PixelBuffer& picture,
                                  Display::Rows rows)
{
    std::vector<SDL_Rect> changed;
    const int bytesPerPixel = picture.BytesPerPixel();
    const std::size_t pitch = static_cast<std::size_t>(picture.Pitch());
    bool open = false;
    for (int y = std::max(rows.top, 0); y < std::min(rows.bottom, picture.Height()); ++y)
    {
        const std::uint8_t* now = picture.Row(y);
        std::uint8_t* before = shown.Row(y);
        if (std::memcmp(now, before, pitch) == 0)
        {
            open = false;
            continue;
        }
        // Eight bytes at a time up to the first and last difference, then bytewise.
        const auto same8 = [&](std::size_t at)
        {
            std::uint64_t a, b;
            std::memcpy(&a, now + at, 8);
            std::memcpy(&b, before + at, 8);
            return a == b;
        };
        std::size_t first = 0, last = pitch;
        while (first + 8 <= pitch && same8(first))
            first += 8;
        while (now[first] == before[first])
            ++first;
        while (last >= first + 8 && same8(last - 8))
            last -= 8;
        while (now[last - 1] == before[last - 1])
            --last;
        const int left = static_cast<int>(first) / bytesPerPixel;
        const int right = static_cast<int>(last + bytesPerPixel - 1) / bytesPerPixel;
        std::memcpy(before, now, pitch);
        if (!open)
            changed.push_back({left, y, right - left, 1});
        else
        {
            SDL_Rect& band = changed.back();
            const int bandRight = std::max(band.x + band.w, right);
            band.x = std::min(band.x, left);
            band.w = bandRight - band.x;
            ++band.h;
        }
        open = true;
    }
    if (changed.size() > kMostChangedAreas)
    {
        SDL_Rect all = changed.front();
        for (const SDL_Rect& r : changed)
            SDL_UnionRect(&all, &r, &all);
        changed.assign(1, all);
    }
    return changed;
}

} // namespace

void Display::SetWindowIcon(int width, int height, std::span<const std::uint32_t> argb)
{
    Impl& m = *m_pImpl;
    if (width <= 0 || height <= 0 || argb.size() != static_cast<std::size_t>(width) * height)
        return;
    m.icon.assign(argb.begin(), argb.end());
    m.iconWidth = width;
    m.ShowIcon();
}

void Display::Present(const PixelBuffer& picture, bool wait, std::optional<Rows> written)
{
    Impl& m = *m_pImpl;
    // The left stick moves the pointer a little every frame.
    if (m.window)
        if (const POINT step = m.controllers.TakePointerMotion(Clock::NowMicroseconds());
            step.x != 0 || step.y != 0)
        {
            const POINT at = CursorPosition();
            WarpPointer(at.x + step.x, at.y + step.y);
        }
    if (m.controllers.StickLeaning())
        m.inputSincePresent = true; // moving, even where no whole pixel was reached
    const bool comparable = m.shown && m.shown->Width() == picture.Width() &&
                            m.shown->Height() == picture.Height() &&
                            m.shown->BitsPerPixel() == picture.BitsPerPixel();
    std::vector<SDL_Rect> changed;
    Rows rows{0, picture.Height()};
    if (written && m.lastWritten)
        rows = {std::min(written->top, m.lastChangedRows.top),
                std::max(written->bottom, m.lastChangedRows.bottom)};
    if (comparable)
        changed = TakeChanges(*m.shown, picture, rows);
    else
        m.shown = picture;
    m.lastWritten = comparable && written;
    m.lastChangedRows = {picture.Height(), 0};
    for (const SDL_Rect& r : changed)
        m.lastChangedRows = {std::min(m.lastChangedRows.top, r.y),
                             std::max(m.lastChangedRows.bottom, r.y + r.h)};
    const bool fresh = !comparable || !changed.empty();
    if (fresh)
    {
        ++m.uploads;
        m.lastChanges.clear();
        for (const SDL_Rect& r : changed)
            m.lastChanges.push_back({r.x, r.y, r.x + r.w, r.y + r.h});
        if (changed.empty())
            m.lastChanges.push_back({0, 0, picture.Width(), picture.Height()});
        if (!m.window && !IsHeadless())
            m.OpenWindow(picture.Width(), picture.Height());
    }
    bool waitedForVsync = false;
    if (m.unshown)
        m.ShowWhole();
    else if (fresh && m.window)
    {
        // Nothing is drawn while minimised; the picture is shown on return.
        m.unshown = m.minimised || !m.Render(*m.shown, changed);
        waitedForVsync = !m.unshown && m.vsync;
    }
    // A window that failed to take the picture is tried again every frame; a
    // minimised one shows it when it comes back.
    const bool retry = m.unshown && !m.minimised;
    m.stillFrames =
        comparable && changed.empty() && !m.inputSincePresent && !retry ? m.stillFrames + 1 : 0;
    m.inputSincePresent = false;
    if (wait && !waitedForVsync)
    {
        // Idling waits for the window's next event, which stays for the pump;
        // only what the player does, or the window system, wakes it.
        if (m.window && m.stillFrames >= kStillFramesBeforeIdling &&
            !MessageQueue::Instance().HasWaiting())
            SDL_WaitEvent(nullptr);
        else
            m.WaitForRefresh();
    }
}

void Display::SwitchScreenMode()
{
    Impl& m = *m_pImpl;
    const ScreenMode next =
        GetScreenMode() == ScreenMode::Window ? ScreenMode::FullScreen : ScreenMode::Window;
    if (!m.window)
    {
        SetScreenMode(next); // taken when the window is made
        return;
    }
    // The crosshair stays on the picture pixel it stood on.
    const POINT at = CursorPosition();
    if (!m.SwitchWindow(next))
        return;
    SetScreenMode(next);
    // The new size is shown whole at once, without waiting for a changed picture.
    m.PlaceAnew();
    WarpPointer(at.x, at.y);
}

const PixelBuffer* Display::ShownPicture() const
{
    return m_pImpl->shown ? &*m_pImpl->shown : nullptr;
}

InputEvent Display::NextEvent(int timeoutMs)
{
    Impl& m = *m_pImpl;
    auto& injected = TestSeams::Get().injectedEvents;
    if (!injected.empty())
    {
        InputEvent event = injected.front();
        injected.pop_front();
        m.inputSincePresent = true;
        m.Apply(event);
        return event;
    }
    if (!m.window)
    {
        if (timeoutMs != 0)
            Clock::SleepMicroseconds(
                static_cast<std::uint64_t>(timeoutMs > 0 ? timeoutMs : kHeadlessLookMs) * 1000);
        return {};
    }
    const Uint64 deadline = SDL_GetTicks64() + static_cast<Uint64>(std::max(timeoutMs, 0));
    for (;;)
    {
        SDL_Event sdlEvent;
        const Uint64 now = SDL_GetTicks64();
        const int got = timeoutMs < 0 ? SDL_WaitEvent(&sdlEvent)
                        : now < deadline
                            ? SDL_WaitEventTimeout(&sdlEvent, static_cast<int>(deadline - now))
                            : SDL_PollEvent(&sdlEvent);
        if (!got)
            return {};
        m.inputSincePresent = true;
        m.controllers.Handle(sdlEvent);
        InputEvent event = TranslateEvent(sdlEvent);
        if (sdlEvent.type == SDL_KEYDOWN)
            event.repeat = m.keyRepeats.IsRepeat(sdlEvent.key);
        if (event.IsMouse())
        {
            const POINT p = m.ToPicture(event.x, event.y);
            event.x = p.x;
            event.y = p.y;
        }
        m.Apply(event);
        if (event.kind != InputEvent::Kind::None && event.kind != InputEvent::Kind::Hidden &&
            event.kind != InputEvent::Kind::Exposed && event.kind != InputEvent::Kind::Resized)
            return event;
    }
}

POINT Display::CursorPosition() const
{
    const Impl& m = *m_pImpl;
    if (m.window && m.warped)
        return *m.warped;
    if (!m.window)
        return m.cursor;
    // The window is not made for high density, so the renderer's output has
    // the window's size and the mouse state is in the view's pixels.
    int x = 0, y = 0;
    SDL_GetMouseState(&x, &y);
    return m.ToPicture(x, y);
}

void Display::WarpPointer(int x, int y)
{
    Impl& m = *m_pImpl;
    m.cursor = m.Clamp(x, y);
    if (!m.window)
        return;
    const POINT at = m.ToWindow(m.cursor);
    SDL_WarpMouseInWindow(m.window.get(), at.x, at.y);
    m.warped = m.cursor;
}

void Display::SetSystemCursorVisible(bool visible)
{
    m_pImpl->cursorVisible = visible;
    if (m_pImpl->window)
        SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
}

int Display::ChangeCursorShowCount(bool show)
{
    const int count = m_pImpl->cursorShowCount += show ? 1 : -1;
    SetSystemCursorVisible(count >= 0);
    return count;
}

std::uint64_t Display::LossGeneration() const
{
    return m_pImpl->lossGeneration;
}

void Display::LoseSurfaces()
{
    ++m_pImpl->lossGeneration;
}

int Display::PictureUploads() const
{
    return m_pImpl->uploads;
}

const std::vector<RECT>& Display::LastChanges() const
{
    return m_pImpl->lastChanges;
}

void Display::Reset()
{
    Impl& m = *m_pImpl;
    m.shown.reset();
    m.lastChanges.clear();
    m.uploads = 0;
    m.cursorShowCount = 0;
    m.cursor = {0, 0};
    m.warped.reset();
    SetSystemCursorVisible(true);
}

} // namespace platform
