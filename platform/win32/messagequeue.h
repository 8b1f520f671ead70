// The thread's message queue: messages posted by the program, the input of
// the window turned into window messages, and the quit request.
#pragma once

#include "platform/win32/win32.h"

#include <deque>

namespace platform
{

struct InputEvent;

class MessageQueue
{
public:
    static MessageQueue& Instance();

    void Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // The quit message comes once nothing else is waiting.
    void PostQuit(int exitCode);

    // Input messages are addressed to this window (the frame window).
    void SetInputWindow(HWND window);

    // The first message for the window (null: any) within [filterMin, filterMax]
    // (both 0: all), taken out of the queue when remove is set.
    bool Peek(MSG* msg, HWND window, UINT filterMin, UINT filterMax, bool remove);
    // Waits for such a message and takes it; false when it is the quit message.
    bool Get(MSG* msg, HWND window, UINT filterMin, UINT filterMax);

    // Forgets everything waiting (between tests).
    void Clear();

private:
    MessageQueue() = default;
    // Turns waiting input into messages, waiting up to timeoutMs for the first.
    void PumpInput(int timeoutMs);
    void PostInput(const InputEvent& event);
    MSG Make(HWND window, UINT message, WPARAM wParam, LPARAM lParam) const;

    std::deque<MSG> m_Messages;
    bool m_bQuit = false;
    int m_nExitCode = 0;
    HWND m_hInputWindow = nullptr;
};

} // namespace platform
