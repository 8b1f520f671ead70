// The user32 and kernel32 calls of the game: the message queue, the cursor,
// the clock, the debugger output and the module handle.
#include "platform/win32/win32.h"

#include "platform/sdl/display.h"
#include "platform/win32/clock.h"
#include "platform/win32/messagequeue.h"
#include "platform/win32/testseams.h"

#include <cstdio>

BOOL PeekMessageA(MSG* msg, HWND window, UINT filterMin, UINT filterMax, UINT removeFlags)
{
    return platform::MessageQueue::Instance().Peek(msg, window, filterMin, filterMax,
                                                   (removeFlags & PM_REMOVE) != 0)
               ? TRUE
               : FALSE;
}

BOOL GetMessageA(MSG* msg, HWND window, UINT filterMin, UINT filterMax)
{
    return platform::MessageQueue::Instance().Get(msg, window, filterMin, filterMax) ? TRUE : FALSE;
}

void PostQuitMessage(int exitCode)
{
    platform::MessageQueue::Instance().PostQuit(exitCode);
}

int ShowCursor(BOOL show)
{
    return platform::Display::Instance().ChangeCursorShowCount(show != FALSE);
}

BOOL GetCursorPos(POINT* point)
{
    if (point == nullptr)
        return FALSE;
    *point = platform::Display::Instance().CursorPosition();
    return TRUE;
}

void Sleep(DWORD milliseconds)
{
    platform::Clock::SleepMicroseconds(static_cast<std::uint64_t>(milliseconds) * 1000);
}

DWORD GetTickCount()
{
    // Wraps after 49.7 days, as the original does.
    return static_cast<DWORD>(platform::Clock::NowMicroseconds() / 1000);
}

void OutputDebugStringA(LPCSTR text)
{
    if (text == nullptr)
        return;
    std::fputs(text, stderr);
    platform::TestSeams::Get().debugOutput.emplace_back(text);
}

HMODULE GetModuleHandleA(LPCSTR moduleName)
{
    // The program is its only module; its resources are compiled in.
    static char programModule;
    if (moduleName != nullptr)
        return nullptr;
    return reinterpret_cast<HMODULE>(&programModule);
}
