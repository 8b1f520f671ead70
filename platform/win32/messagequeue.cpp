// Posted messages and the window's input as window messages, in order, and the
// quit request that comes once nothing else waits.
#include "platform/win32/messagequeue.h"

#include "platform/win32/inputevent.h"

#include <algorithm>

namespace platform
{

namespace
{

constexpr WPARAM kLeftButton = 0x0001; // MK_LBUTTON
constexpr LPARAM kAltHeld = 1 << 29;
constexpr LPARAM kPreviouslyDown = 1 << 30; // a repeat of a key held down

bool Matches(const MSG& msg, HWND window, UINT filterMin, UINT filterMax)
{
    if (window != nullptr && msg.hwnd != window)
        return false;
    if (filterMin == 0 && filterMax == 0)
        return true;
    return msg.message >= filterMin && msg.message <= filterMax;
}

LPARAM MakePointParam(int x, int y)
{
    return static_cast<LPARAM>((static_cast<DWORD>(y & 0xFFFF) << 16) |
                               static_cast<DWORD>(x & 0xFFFF));
}

} // namespace

MessageQueue& MessageQueue::Instance()
{
    static MessageQueue queue;
    return queue;
}

MSG MessageQueue::Make(HWND window, UINT message, WPARAM wParam, LPARAM lParam) const
{
    return {window, message, wParam, lParam, GetTickCount(), m_Pointer};
}

void MessageQueue::Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    m_Messages.push_back(Make(window, message, wParam, lParam));
}

void MessageQueue::PostQuit(int exitCode)
{
    m_bQuit = true;
    m_nExitCode = exitCode;
}

void MessageQueue::SetInputWindow(HWND window)
{
    m_hInputWindow = window;
}

void MessageQueue::PostInput(const InputEvent& event)
{
    m_Input.push_back(event);
}

void MessageQueue::Take(std::deque<InputEvent>::iterator input)
{
    if (input->IsMouse())
    {
        m_Pointer = {input->x, input->y};
        m_bPointerMoved = false;
    }
    m_Input.erase(input);
}

void MessageQueue::DropFirstInput()
{
    Take(m_Input.begin());
}

void MessageQueue::MovePointer(POINT p)
{
    m_Pointer = p;
    m_bPointerMoved = true;
}

POINT MessageQueue::LatestPointer() const
{
    const auto last = std::find_if(m_Input.rbegin(), m_Input.rend(),
                                   [](const InputEvent& event) { return event.IsMouse(); });
    return last == m_Input.rend() ? m_Pointer : POINT{last->x, last->y};
}

bool MessageQueue::TakePointerToFollow(POINT& p)
{
    if (!m_bPointerMoved || std::any_of(m_Input.begin(), m_Input.end(),
                                        [](const InputEvent& event) { return event.IsMouse(); }))
        return false;
    m_bPointerMoved = false;
    p = m_Pointer;
    return true;
}

bool MessageQueue::TakeInput(InputEvent& event)
{
    while (!m_Input.empty())
    {
        const InputEvent first = m_Input.front();
        if (first.kind != InputEvent::Kind::Close)
            DropFirstInput();
        if (first.kind == InputEvent::Kind::Close || m_HeldKeys.Admit(first))
        {
            event = first;
            return true;
        }
    }
    return false;
}

bool MessageQueue::CloseWaiting() const
{
    return std::any_of(m_Input.begin(), m_Input.end(),
                       [](const InputEvent& event)
                       { return event.kind == InputEvent::Kind::Close; });
}

bool MessageQueue::HasWaiting() const
{
    return !m_Messages.empty() || !m_Input.empty() || m_bQuit;
}

MSG MessageQueue::MessageOf(const InputEvent& event) const
{
    switch (event.kind)
    {
    case InputEvent::Kind::KeyDown:
    {
        if (event.key == 0)
            return {};
        // Repeat count 1; a held key arrives as further presses. Alt+Enter is
        // a system key (context bit 29: Alt held) for the frame's default handling.
        const LPARAM context = (event.repeat ? kPreviouslyDown : 0) | 1;
        if (event.SwitchesScreenMode())
            return Make(m_hInputWindow, WM_SYSKEYDOWN, event.key, kAltHeld | context);
        return Make(m_hInputWindow, WM_KEYDOWN, event.key, context);
    }
    case InputEvent::Kind::MouseDown:
    {
        MSG msg =
            Make(m_hInputWindow, WM_LBUTTONDOWN, kLeftButton, MakePointParam(event.x, event.y));
        msg.pt = {event.x, event.y};
        return msg;
    }
    case InputEvent::Kind::Close:
        return Make(m_hInputWindow, WM_CLOSE, 0, 0);
    default:
        // Movement is read with GetCursorPos; typed text only by the dialogs.
        return {};
    }
}

bool MessageQueue::Peek(MSG* msg, HWND window, UINT filterMin, UINT filterMax, bool remove)
{
    for (auto it = m_Messages.begin(); it != m_Messages.end(); ++it)
    {
        if (!Matches(*it, window, filterMin, filterMax))
            continue;
        if (msg != nullptr)
            *msg = *it;
        if (remove)
            m_Messages.erase(it);
        return true;
    }
    // Input that makes no message, or that does not act here (a key held
    // from another place), is passed over for good once it is first in line.
    while (!m_Input.empty() &&
           (!m_HeldKeys.Admit(m_Input.front()) || MessageOf(m_Input.front()).message == 0))
        DropFirstInput();
    for (auto it = m_Input.begin(); it != m_Input.end(); ++it)
    {
        const MSG input = MessageOf(*it);
        if (input.message == 0 || !Matches(input, window, filterMin, filterMax))
            continue;
        if (msg != nullptr)
            *msg = input;
        if (remove)
            Take(it);
        return true;
    }
    const MSG quit = Make(nullptr, WM_QUIT, static_cast<WPARAM>(m_nExitCode), 0);
    if (m_bQuit && window == nullptr && Matches(quit, nullptr, filterMin, filterMax))
    {
        if (msg != nullptr)
            *msg = quit;
        if (remove)
            m_bQuit = false;
        return true;
    }
    return false;
}

void MessageQueue::Clear()
{
    m_Messages.clear();
    m_Input.clear();
    m_bQuit = false;
    m_nExitCode = 0;
    m_hInputWindow = nullptr;
    m_Pointer = {0, 0};
    m_bPointerMoved = false;
    m_HeldKeys.Clear();
}

} // namespace platform
