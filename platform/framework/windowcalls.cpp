// The user32 calls around windows: peeking at and getting messages, sending and dispatching
// messages to the framework's windows, the pointer, and the program's icons.
#include "platform/framework/cwnd.h"
#include "platform/framework/messagepump.h"
#include "platform/gdi/iconimage.h"
#include "platform/present/display.h"
#include "platform/win32/messagequeue.h"
#include "platform/win32/win32.h"

#include <algorithm>
#include <climits>
#include <string>

BOOL PeekMessageA(MSG* msg, HWND window, UINT filterMin, UINT filterMax, UINT removeFlags)
{
    platform::MessageQueue& queue = platform::MessageQueue::Instance();
    const bool remove = (removeFlags & PM_REMOVE) != 0;
    // A message looked at already is taken without asking the back end
    // again: the main loop's pass pumps once, when it looks.
    if (remove && queue.Peek(msg, window, filterMin, filterMax, true))
        return TRUE;
    platform::PumpInput(0);
    return queue.Peek(msg, window, filterMin, filterMax, remove) ? TRUE : FALSE;
}

BOOL GetMessageA(MSG* msg, HWND window, UINT filterMin, UINT filterMax)
{
    MSG found{};
    while (!PeekMessageA(&found, window, filterMin, filterMax, PM_REMOVE))
        platform::PumpInput(platform::kWaitForever);
    if (msg != nullptr)
        *msg = found;
    return found.message != WM_QUIT ? TRUE : FALSE;
}

DWORD MsgWaitForMultipleObjects(DWORD count, const HANDLE*, BOOL, DWORD milliseconds, DWORD)
{
    // No kernel objects here: only the window's input is waited for.
    if (count != 0)
        return WAIT_FAILED;
    const int timeout = milliseconds == INFINITE
                            ? platform::kWaitForever
                            : static_cast<int>(std::min<DWORD>(milliseconds, INT_MAX));
    return platform::PumpInput(timeout) ? WAIT_OBJECT_0 : WAIT_TIMEOUT;
}

int ShowCursor(BOOL show)
{
    return platform::Display::Instance().ChangeCursorShowCount(show != FALSE);
}

BOOL GetCursorPos(POINT* point)
{
    if (point == nullptr)
        return FALSE;
    *point = platform::MessageQueue::Instance().Pointer();
    return TRUE;
}

BOOL SetCursorPos(int x, int y)
{
    platform::Display::Instance().WarpPointer(x, y);
    return TRUE;
}

LRESULT DispatchMessageA(const MSG* msg)
{
    if (msg == nullptr)
        return 0;
    CWnd* window = CWnd::FromHandle(msg->hwnd);
    return window != nullptr ? window->WindowProc(msg->message, msg->wParam, msg->lParam) : 0;
}

BOOL TranslateMessage(const MSG*)
{
    return FALSE;
}

LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWnd* target = CWnd::FromHandle(window);
    return target != nullptr ? target->WindowProc(message, wParam, lParam) : 0;
}

HICON LoadIconA(HINSTANCE instance, LPCSTR name)
{
    if (instance != GetModuleHandleA(nullptr) || name == nullptr)
        return nullptr;
    const auto number = reinterpret_cast<std::uintptr_t>(name);
    const std::string resource = number < 0x10000 ? std::to_string(number) : std::string(name);
    const platform::IconImage* icon = platform::IconImage::Load(resource);
    return icon != nullptr ? icon->Handle() : nullptr;
}
