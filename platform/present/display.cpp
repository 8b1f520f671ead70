// Presenting through whichever back end is in use: what changed goes to it,
// paced to the refresh or idling; its input goes to the message queue with
// positions in picture pixels.
#include "platform/present/display.h"

#include "platform/present/headlessbackend.h"
#include "platform/present/pacing.h"
#include "platform/present/picturesender.h"
#include "platform/present/sharpscale.h"
#include "platform/win32/clock.h"
#include "platform/win32/messagequeue.h"
#include "platform/win32/screenmode.h"
#include "platform/win32/testseams.h"

#include <algorithm>

namespace platform
{

struct Display::Impl
{
    std::unique_ptr<BackEnd> backEnd = std::make_unique<HeadlessBackEnd>();
    bool areaOpen = false;
    // The picture's size: the display mode's, or that of the last picture shown.
    int width = kDesktopWidth;
    int height = kDesktopHeight;
    PictureSender sender;
    platform::ShownPicture shown;
    FramePacer pacer;
    IdlePolicy idle;
    bool minimised = false;
    // The area does not show the picture: a change it could not take is
    // shown whole with the next present.
    bool unshown = false;
    int uploads = 0;
    std::uint64_t lossGeneration = 0;
    int cursorShowCount = 0;

    bool Open(int w, int h);
    // Shows the changed rectangles of the picture (all of it when none are
    // given); false when the area could not take them.
    bool Show(const PixelBuffer& picture, const std::vector<RECT>& changed);
    // The shown picture whole, placed in the area as it is now.
    void ShowWhole();
    // Takes what waits at the back end; true when any of it is for the queue.
    bool TakeInput();
    // The back end's own business, or input for the queue in picture pixels.
    bool Apply(InputEvent& event);
    // The picture pixel of an area pixel, or of a picture pixel beyond the edge.
    POINT ToPicture(int x, int y) const
    {
        return AreaToPicture(areaOpen ? sender.Placed() : View{}, width, height, x, y);
    }
    // The system's pointer to that picture pixel.
    void WarpTo(POINT p)
    {
        if (!areaOpen)
            return;
        const POINT at = PictureToArea(sender.Placed(), width, height, p);
        backEnd->WarpPointer(at.x, at.y);
    }
};

bool Display::Impl::Open(int w, int h)
{
    width = w;
    height = h;
    areaOpen = backEnd->Open(w, h);
    if (areaOpen)
        sender.Place(*backEnd, w, h);
    minimised = false;
    return areaOpen;
}

bool Display::Impl::Show(const PixelBuffer& picture, const std::vector<RECT>& changed)
{
    if (picture.Width() != width || picture.Height() != height)
        if (!Open(picture.Width(), picture.Height()))
            return false;
    if (!sender.Send(*backEnd, picture, changed))
        return false;
    pacer.Shown(backEnd->PacedByVsync(), backEnd->RefreshRate(), Clock::NowMicroseconds());
    return true;
}

void Display::Impl::ShowWhole()
{
    if (shown.Picture() && areaOpen)
        unshown = minimised || !Show(*shown.Picture(), {});
}

bool Display::Impl::TakeInput()
{
    std::vector<InputEvent> events;
    backEnd->TakeInput(events);
    bool came = false;
    for (InputEvent& event : events)
    {
        idle.InputCame();
        if (Apply(event))
        {
            MessageQueue::Instance().PostInput(event);
            came = true;
        }
    }
    return came;
}

bool Display::Impl::Apply(InputEvent& event)
{
    switch (event.kind)
    {
    case InputEvent::Kind::MouseMove:
    case InputEvent::Kind::MouseDown:
    case InputEvent::Kind::MouseUp:
    {
        const POINT p = ToPicture(event.x, event.y);
        event.x = p.x;
        event.y = p.y;
        return true;
    }
    case InputEvent::Kind::PointerStep:
    {
        // A pointer of its own, moved now: the system's pointer goes along.
        const POINT from = MessageQueue::Instance().LatestPointer();
        const POINT to = AreaToPicture(View{}, width, height, from.x + event.x, from.y + event.y);
        WarpTo(to);
        event.kind = InputEvent::Kind::MouseMove;
        event.x = to.x;
        event.y = to.y;
        return true;
    }
    case InputEvent::Kind::FocusLost:
        // As in exclusive mode: the video memory is gone. A window on the
        // desktop loses nothing.
        if (GetScreenMode() == ScreenMode::FullScreen)
            ++lossGeneration;
        return true;
    case InputEvent::Kind::Hidden:
        minimised = true;
        return false;
    case InputEvent::Kind::Exposed:
        minimised = false;
        ShowWhole();
        return false;
    case InputEvent::Kind::Resized:
        // At once, also where no exposure follows.
        if (areaOpen)
        {
            sender.Place(*backEnd, width, height);
            ShowWhole();
        }
        return false;
    default:
        return event.kind != InputEvent::Kind::None;
    }
}

Display::Display() : m_pImpl(std::make_unique<Impl>()) {}

Display::~Display() = default;

void Display::UseBackEnd(std::unique_ptr<BackEnd> backEnd)
{
    Close();
    m_pImpl->backEnd = std::move(backEnd);
}

bool Display::IsHeadless() const
{
    return TestSeams::Get().headless || !m_pImpl->backEnd->CanShow();
}

bool Display::OpenFullScreen(int width, int height, int bitsPerPixel)
{
    if (width <= 0 || height <= 0 || (bitsPerPixel != 8 && bitsPerPixel != 16))
        return false;
    Impl& m = *m_pImpl;
    // Without a display server there is no screen to switch: the mode is refused,
    // so the player learns why instead of a game running where nobody sees it.
    if (IsHeadless())
    {
        m.width = width;
        m.height = height;
        return TestSeams::Get().headless;
    }
    return m.Open(width, height);
}

void Display::Close()
{
    Impl& m = *m_pImpl;
    m.backEnd->Close();
    m.areaOpen = false;
    m.pacer.Reset();
}

void Display::SetWindowIcon(int width, int height, std::span<const std::uint32_t> argb)
{
    if (width > 0 && height > 0 && argb.size() == static_cast<std::size_t>(width) * height)
        m_pImpl->backEnd->SetIcon(width, height, argb);
}

void Display::Present(const PixelBuffer& picture, bool wait, std::optional<Rows> written)
{
    Impl& m = *m_pImpl;
    const ShownPicture::Changes changes = m.shown.Take(picture, written);
    if (changes.Any())
    {
        ++m.uploads;
        if (!m.areaOpen && !IsHeadless())
            m.Open(picture.Width(), picture.Height());
    }
    bool waitedForVsync = false;
    if (m.unshown)
        m.ShowWhole();
    else if (changes.Any() && m.areaOpen)
    {
        // Nothing is drawn while minimised; the picture is shown on return.
        m.unshown = m.minimised || !m.Show(*m.shown.Picture(), changes.rects);
        waitedForVsync = !m.unshown && m.pacer.Trusts(m.backEnd->PacedByVsync());
    }
    // An area that failed to take the picture is tried again every frame; a
    // minimised one shows it when it comes back.
    const bool retry = m.unshown && !m.minimised;
    m.idle.Presented(!changes.Any() && !retry);
    if (wait && !waitedForVsync)
    {
        // Idling waits for the back end's next input, which stays for the pump;
        // only what the player does, or the window system, wakes it.
        if (m.areaOpen && m.idle.MayIdle() && !MessageQueue::Instance().HasWaiting())
            m.backEnd->WaitForInput(kWaitForever);
        else
            FramePacer::WaitForRefresh(m.backEnd->RefreshRate());
    }
}

void Display::SwitchScreenMode()
{
    Impl& m = *m_pImpl;
    const ScreenMode next =
        GetScreenMode() == ScreenMode::Window ? ScreenMode::FullScreen : ScreenMode::Window;
    if (!m.areaOpen)
    {
        SetScreenMode(next); // taken when the area is made
        return;
    }
    if (!m.backEnd->SwitchScreenMode(next))
        return;
    SetScreenMode(next);
    // The new size is shown whole at once, without waiting for a changed
    // picture; the back end tells where its pointer now lies on it.
    m.sender.Place(*m.backEnd, m.width, m.height);
    m.ShowWhole();
}

const PixelBuffer* Display::ShownPicture() const
{
    return m_pImpl->shown.Picture();
}

bool Display::Pump(int timeoutMs)
{
    Impl& m = *m_pImpl;
    if (POINT p; MessageQueue::Instance().TakePointerToFollow(p))
        m.WarpTo(p);
    const std::uint64_t deadline =
        Clock::NowMicroseconds() + static_cast<std::uint64_t>(std::max(timeoutMs, 0)) * 1000;
    for (;;)
    {
        const std::uint64_t now = Clock::NowMicroseconds();
        const int left =
            timeoutMs <= 0 ? timeoutMs : static_cast<int>((std::max(deadline, now) - now) / 1000);
        if (timeoutMs != 0 && !m.backEnd->WaitForInput(left))
            return false;
        if (m.TakeInput())
            return true;
        // Only the back end's own business came: wait on for input.
        if (timeoutMs == 0 || (timeoutMs > 0 && Clock::NowMicroseconds() >= deadline))
            return false;
    }
}

void Display::WarpPointer(int x, int y)
{
    const Impl& m = *m_pImpl;
    MessageQueue::Instance().MovePointer(AreaToPicture(View{}, m.width, m.height, x, y));
}

int Display::ChangeCursorShowCount(bool show)
{
    const int count = m_pImpl->cursorShowCount += show ? 1 : -1;
    m_pImpl->backEnd->ShowPointer(count >= 0);
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

std::unique_ptr<AudioOutput> Display::OpenAudio(AudioOutput::Source source, void* context)
{
    return m_pImpl->backEnd->OpenAudio(source, context);
}

bool Display::KeepFile(const char* path)
{
    return m_pImpl->backEnd->KeepFile(path);
}

int Display::PictureUploads() const
{
    return m_pImpl->uploads;
}

void Display::Reset()
{
    Impl& m = *m_pImpl;
    m.shown.Forget();
    m.uploads = 0;
    m.cursorShowCount = 0;
    m.backEnd->ShowPointer(true);
}

} // namespace platform
