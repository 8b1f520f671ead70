// The kernel32 calls of the game and the quit request: the clock, the
// debugger output and the module handle.
#include "platform/win32/win32.h"

#include "platform/win32/clock.h"
#include "platform/win32/messagequeue.h"
#include "platform/win32/testseams.h"

#include <cstdio>

void PostQuitMessage(int exitCode)
{
    platform::MessageQueue::Instance().PostQuit(exitCode);
}

void Sleep(DWORD milliseconds)
{
    platform::Clock::SleepMicroseconds(static_cast<std::uint64_t>(milliseconds) * 1000);
}

DWORD GetTickCount()
{
    // By design: wraps after 49.7 days, as a 32-bit millisecond count does.
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
