// The user32 calls around windows: sending and dispatching messages to the
// framework's windows, and the program's icons.
#include "platform/framework/cwnd.h"
#include "platform/gdi/iconimage.h"
#include "platform/win32/win32.h"

#include <string>

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
