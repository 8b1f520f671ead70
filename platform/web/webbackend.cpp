// The back end's duties carried out in a browser page: the canvas, which the
// presenting room scales the picture into at the canvas's device pixels, the
// page's input, its sound output and its storage.
#include "platform/web/pagecalls.h"
#include "platform/web/webaudio.h"
#include "platform/web/webgamepads.h"
#include "platform/web/webinput.h"
#include "platform/win32/clock.h"
#include "platform/win32/screenmode.h"

#include <emscripten.h>

#include <algorithm>
#include <sys/stat.h>
#include <vector>

namespace platform
{

namespace
{

class WebBackEnd final : public BackEnd
{
public:
    WebBackEnd() { s_pLive = this; }
    ~WebBackEnd() override { s_pLive = nullptr; }
    WebBackEnd(const WebBackEnd&) = delete;
    WebBackEnd& operator=(const WebBackEnd&) = delete;

    // The tab closes: to the game, its window is closed.
    static void Closed()
    {
        InputEvent event;
        event.kind = InputEvent::Kind::Close;
        if (s_pLive != nullptr)
            s_pLive->m_Input.Add(event);
    }

    bool CanShow() override { return true; }
    bool Open(int pictureWidth, int pictureHeight) override;
    void Close() override {}
    bool SwitchScreenMode(ScreenMode mode) override
    {
        return tz_page_full_screen(mode == ScreenMode::FullScreen) != 0;
    }
    void SetIcon(int, int, std::span<const std::uint32_t>) override {} // the page has its own
    int RefreshRate() const override { return kDefaultRefreshRate; }
    // Showing waits for the browser's next painted frame.
    bool PacedByVsync() const override { return true; }

    bool ScalesItself() const override { return false; }
    PixelFormat32 UploadFormat() const override { return kCanvasFormat; }
    bool Upload(const RECT&, const std::uint32_t*, int) override { return false; }
    bool ShowPicture(const View&) override { return false; }
    bool LockArea(AreaPixels& area) override;
    bool ShowArea(std::span<const RECT> rects) override;
    void AreaSize(int& width, int& height) override { tz_page_area_size(&width, &height); }

    bool WaitForInput(int timeoutMs) override;
    void TakeInput(std::vector<InputEvent>& events) override;
    void ShowPointer(bool visible) override { tz_page_show_pointer(visible); }
    // By design: a page cannot move the system's pointer; the game's own
    // pointer moves, and the next motion of the mouse takes it back.
    void WarpPointer(int, int) override {}

    std::unique_ptr<AudioOutput> OpenAudio(AudioOutput::Source source, void* context) override
    {
        return WebAudio::Open(source, context);
    }
    bool KeepFile(const char* path) override { return tz_page_keep_file(path) != 0; }

private:
    // ImageData's bytes: R, G, B, A in memory order.
    static constexpr PixelFormat32 kCanvasFormat{0x000000FF, 0x0000FF00, 0x00FF0000, 0xFF000000};

    // Input of the gamepads into the queue of the rest.
    void LookAtGamepads();

    static inline WebBackEnd* s_pLive = nullptr;
    WebInput m_Input;
    WebGamepads m_Gamepads;
    bool m_bListening = false;
    std::vector<std::uint32_t> m_Area;
    int m_nAreaWidth = 0;
    int m_nAreaHeight = 0;
};

bool WebBackEnd::Open(int, int)
{
    if (!m_bListening)
    {
        m_Input.Start();
        m_Gamepads.Start();
    }
    m_bListening = true;
    // A page starts in the browser's window; only the player makes it full screen.
    SetScreenMode(tz_page_is_full_screen() ? ScreenMode::FullScreen : ScreenMode::Window);
    return true;
}

bool WebBackEnd::LockArea(AreaPixels& area)
{
    int width = 0, height = 0;
    tz_page_area_size(&width, &height);
    if (width <= 0 || height <= 0)
        return false;
    area.fresh = width != m_nAreaWidth || height != m_nAreaHeight;
    if (area.fresh)
    {
        m_Area.assign(static_cast<std::size_t>(width) * height, 0);
        m_nAreaWidth = width;
        m_nAreaHeight = height;
    }
    area.pixels = reinterpret_cast<std::uint8_t*>(m_Area.data());
    area.pitch = 4 * width;
    area.width = width;
    area.height = height;
    area.format = kCanvasFormat;
    return true;
}

bool WebBackEnd::ShowArea(std::span<const RECT> rects)
{
    const auto* pixels = reinterpret_cast<const std::uint8_t*>(m_Area.data());
    if (rects.empty())
        tz_page_show_area(pixels, m_nAreaWidth, m_nAreaHeight, 0, 0, m_nAreaWidth, m_nAreaHeight);
    for (const RECT& r : rects)
        tz_page_show_area(pixels, m_nAreaWidth, m_nAreaHeight, r.left, r.top, r.right - r.left,
                          r.bottom - r.top);
    tz_page_frame_shown();
    return true;
}

void WebBackEnd::LookAtGamepads()
{
    std::vector<InputEvent> events;
    m_Gamepads.Look(events, Clock::NowMicroseconds());
    for (const InputEvent& event : events)
        m_Input.Add(event);
}

bool WebBackEnd::WaitForInput(int timeoutMs)
{
    LookAtGamepads();
    const std::uint64_t start = Clock::NowMicroseconds();
    while (!m_Input.Waiting() && timeoutMs != 0)
    {
        int wait = timeoutMs;
        if (timeoutMs > 0)
        {
            const auto waited = static_cast<int>((Clock::NowMicroseconds() - start) / 1000);
            if (waited >= timeoutMs)
                break;
            wait = timeoutMs - waited;
        }
        // A gamepad tells nothing by itself: it is looked at every refresh.
        const bool gamepads = m_Gamepads.Connected();
        const int refresh = 1000 / RefreshRate();
        tz_page_wait(gamepads && (wait < 0 || wait > refresh) ? refresh : wait);
        LookAtGamepads();
        if (!gamepads)
            break; // the page's own input ended the wait, or its time is up
    }
    return m_Input.Waiting();
}

void WebBackEnd::TakeInput(std::vector<InputEvent>& events)
{
    const std::size_t first = events.size();
    m_Input.Take(events);
    // The page goes full screen or back also by the page's own control and
    // by the browser's Escape: the mode is what the browser shows.
    if (std::any_of(events.begin() + static_cast<std::ptrdiff_t>(first), events.end(),
                    [](const InputEvent& e) { return e.kind == InputEvent::Kind::Resized; }))
        SetScreenMode(tz_page_is_full_screen() ? ScreenMode::FullScreen : ScreenMode::Window);
}

} // namespace

std::unique_ptr<BackEnd> MakeBackEnd()
{
    // Emscripten's C library starts with a mask that takes every right from
    // a new file; the game's files are made as a desktop makes them.
    umask(022);
    return std::make_unique<WebBackEnd>();
}

} // namespace platform

// The page's word that its tab closes.
extern "C" EMSCRIPTEN_KEEPALIVE void tamzelon_close()
{
    platform::WebBackEnd::Closed();
}
