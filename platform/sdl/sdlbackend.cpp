// The back end's duties carried out with SDL: the window and the way the
// picture reaches it, the event pump with its one translation table, the
// controllers' stick and the system pointer; the sound device.
#include "platform/sdl/audiodevice.h"
#include "platform/sdl/controllers.h"
#include "platform/sdl/inputtranslation.h"
#include "platform/sdl/sdlcanvas.h"
#include "platform/sdl/sdlwindow.h"
#include "platform/win32/clock.h"

#include <algorithm>
#include <optional>

namespace platform
{

namespace
{

class SdlBackEnd final : public BackEnd
{
public:
    bool CanShow() override { return m_Window.VideoAvailable(); }
    bool Open(int pictureWidth, int pictureHeight) override;
    void Close() override;
    bool SwitchScreenMode(ScreenMode mode) override;
    void SetIcon(int width, int, std::span<const std::uint32_t> argb) override
    {
        m_Window.SetIcon(width, argb);
    }
    int RefreshRate() const override
    {
        return m_Window.Get() ? m_Window.RefreshRate() : kDefaultRefreshRate;
    }
    bool PacedByVsync() const override { return m_Canvas.PacedByVsync(); }

    bool ScalesItself() const override { return m_Canvas.ScalesItself(); }
    PixelFormat32 UploadFormat() const override { return {}; } // the texture's ARGB8888
    bool Upload(const RECT& rect, const std::uint32_t* pixels, int pitch) override
    {
        return m_Window.WithinSizeLimit() && m_Canvas.Upload(rect, pixels, pitch);
    }
    bool ShowPicture(const View& view) override { return m_Canvas.ShowPicture(view); }
    bool LockArea(AreaPixels& area) override
    {
        return m_Window.WithinSizeLimit() && m_Canvas.LockArea(area);
    }
    bool ShowArea(std::span<const RECT> rects) override { return m_Canvas.ShowArea(rects); }
    void AreaSize(int& width, int& height) override { m_Canvas.OutputSize(width, height); }

    bool WaitForInput(int timeoutMs) override;
    void TakeInput(std::vector<InputEvent>& events) override;
    void ShowPointer(bool visible) override { m_Window.ShowPointer(visible); }
    void WarpPointer(int x, int y) override;

    std::unique_ptr<AudioOutput> OpenAudio(AudioOutput::Source source, void* context) override
    {
        return AudioDevice::Open(source, context);
    }
    bool KeepFile(const char*) override { return true; } // the disk keeps it

private:
    // The input event of an SDL event, kind None for what is not input.
    InputEvent Translate(const SDL_Event& sdlEvent);
    // Where the pointer is in the window, where it is over it.
    std::optional<POINT> PointerInWindow() const;

    SdlWindow m_Window;
    SdlCanvas m_Canvas;
    Controllers m_Controllers;
    KeyRepeats m_KeyRepeats;
    // Where the pointer was warped to, until the motion SDL reports for it,
    // which is no input of the player's.
    std::optional<POINT> m_WarpEcho;
    // The window changed its size or place under the pointer, which SDL
    // reports no motion for: where the pointer now is is told as one.
    bool m_bPointerToTell = false;
};

bool SdlBackEnd::Open(int pictureWidth, int pictureHeight)
{
    if (!m_Window.VideoAvailable() || !m_Window.Create(pictureWidth, pictureHeight))
        return false;
    if (!m_Canvas.Open(m_Window.Get(), pictureWidth, pictureHeight, m_Window.RateKnown()))
    {
        m_Window.Destroy();
        return false;
    }
    m_Controllers.Start();
    return true;
}

void SdlBackEnd::Close()
{
    m_Canvas.Close();
    m_Window.Destroy();
}

bool SdlBackEnd::SwitchScreenMode(ScreenMode mode)
{
    m_bPointerToTell = m_Window.Get() && m_Window.Switch(mode);
    return m_bPointerToTell;
}

std::optional<POINT> SdlBackEnd::PointerInWindow() const
{
    int x = 0, y = 0, left = 0, top = 0, width = 0, height = 0;
    SDL_GetGlobalMouseState(&x, &y);
    SDL_GetWindowPosition(m_Window.Get(), &left, &top);
    SDL_GetWindowSize(m_Window.Get(), &width, &height);
    x -= left;
    y -= top;
    if (x < 0 || y < 0 || x >= width || y >= height)
        return std::nullopt;
    return POINT{x, y};
}

bool SdlBackEnd::WaitForInput(int timeoutMs)
{
    if (!m_Window.Get())
    {
        // Without a window nothing can come.
        if (timeoutMs != 0)
            Clock::SleepMicroseconds(
                static_cast<std::uint64_t>(timeoutMs > 0 ? timeoutMs : kLookAgainMs) * 1000);
        return false;
    }
    // A leaning stick moves the pointer: input, at the latest by the next refresh.
    if (m_Controllers.StickLeaning())
    {
        const int refresh = 1000 / RefreshRate();
        if (timeoutMs != 0)
            SDL_WaitEventTimeout(nullptr, timeoutMs < 0 ? refresh : std::min(timeoutMs, refresh));
        return true;
    }
    if (timeoutMs < 0)
        return SDL_WaitEvent(nullptr) != 0;
    return SDL_WaitEventTimeout(nullptr, timeoutMs) != 0;
}

InputEvent SdlBackEnd::Translate(const SDL_Event& sdlEvent)
{
    m_Controllers.Handle(sdlEvent);
    InputEvent event = TranslateEvent(sdlEvent);
    switch (event.kind)
    {
    case InputEvent::Kind::KeyDown:
        if (sdlEvent.type == SDL_KEYDOWN)
            event.repeat = m_KeyRepeats.IsRepeat(sdlEvent.key);
        break;
    case InputEvent::Kind::MouseMove:
    {
        const bool echo = m_WarpEcho && m_WarpEcho->x == event.x && m_WarpEcho->y == event.y;
        m_WarpEcho.reset();
        if (echo)
            event.kind = InputEvent::Kind::None;
        break;
    }
    case InputEvent::Kind::FocusLost:
    case InputEvent::Kind::FocusGained:
        m_Window.Focus(event.kind == InputEvent::Kind::FocusGained);
        break;
    case InputEvent::Kind::Resized:
        m_bPointerToTell = true;
        break;
    default:
        break;
    }
    return event;
}

void SdlBackEnd::TakeInput(std::vector<InputEvent>& events)
{
    if (!m_Window.Get())
        return;
    SDL_PumpEvents();
    SDL_Event sdlEvent;
    while (SDL_PeepEvents(&sdlEvent, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0)
        if (const InputEvent event = Translate(sdlEvent); event.kind != InputEvent::Kind::None)
            events.push_back(event);
    if (const std::optional<POINT> at = m_bPointerToTell ? PointerInWindow() : std::nullopt)
    {
        InputEvent event;
        event.kind = InputEvent::Kind::MouseMove;
        event.x = at->x;
        event.y = at->y;
        events.push_back(event);
    }
    m_bPointerToTell = false;
    // The left stick moves the pointer a little every time.
    if (const POINT step = m_Controllers.TakePointerMotion(Clock::NowMicroseconds());
        step.x != 0 || step.y != 0)
    {
        InputEvent event;
        event.kind = InputEvent::Kind::PointerStep;
        event.x = step.x;
        event.y = step.y;
        events.push_back(event);
    }
}

void SdlBackEnd::WarpPointer(int x, int y)
{
    if (!m_Window.Get())
        return;
    SDL_WarpMouseInWindow(m_Window.Get(), x, y);
    m_WarpEcho = POINT{x, y};
}

} // namespace

std::unique_ptr<BackEnd> MakeBackEnd()
{
    return std::make_unique<SdlBackEnd>();
}

} // namespace platform
