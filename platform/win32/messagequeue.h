// The thread's message queue: messages posted by the program, the input of
// the window turned into window messages, and the quit request. The pump
// that feeds it the window's input is PeekMessageA's.
#pragma once

#include "platform/win32/win32.h"

#include "platform/win32/heldkeys.h"
#include "platform/win32/inputevent.h"

#include <deque>

namespace platform
{

class MessageQueue
{
public:
    static MessageQueue& Instance();

    void Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // The quit message comes once nothing else is waiting.
    void PostQuit(int exitCode);

    // Input messages are addressed to this window (the frame window).
    void SetInputWindow(HWND window);
    // The window's input, kept in the order it came until the main loop takes
    // it as window messages or a modal box takes it as it is: one queue, so
    // input that came before a box opened goes to the box, never after it.
    void PostInput(const InputEvent& event);
    // The oldest input not yet taken that acts here (see HeldKeys); false when
    // none waits. A close request is handed out but stays first in line: the
    // box that takes it ends, and so does every box after it, until the frame
    // window has it as WM_CLOSE.
    bool TakeInput(InputEvent& event);
    bool CloseWaiting() const;
    // Anything for the loop to take: a message, input or the quit request.
    bool HasWaiting() const;
    // Input from now on acts in another place; see HeldKeys.
    void NewInputContext() { m_HeldKeys.NewContext(); }

    // The one pointer, in picture pixels: where the mouse input taken last
    // put it, or where the program moved it since (SetCursorPos). Input is
    // taken in the order it came, so a key that moved the pointer and a
    // mouse moved after it act in that order too.
    POINT Pointer() const { return m_Pointer; }
    void MovePointer(POINT p);
    // Where the pointer stands once the input waiting now is taken.
    POINT LatestPointer() const;
    // The pointer the program moved, once no mouse input waits that would
    // put it elsewhere: the system's own pointer is to follow it there.
    bool TakePointerToFollow(POINT& p);

    // The first message for the window (null: any) within [filterMin, filterMax]
    // (both 0: all), taken out of the queue when remove is set.
    bool Peek(MSG* msg, HWND window, UINT filterMin, UINT filterMax, bool remove);

    // Forgets everything waiting (between tests).
    void Clear();

private:
    MessageQueue() = default;
    MSG Make(HWND window, UINT message, WPARAM wParam, LPARAM lParam) const;
    // The window message an input event stands for; message 0 for none.
    MSG MessageOf(const InputEvent& event) const;
    void DropFirstInput();
    // Takes input out of the queue; mouse input moves the pointer.
    void Take(std::deque<InputEvent>::iterator input);

    std::deque<MSG> m_Messages;
    std::deque<InputEvent> m_Input;
    HeldKeys m_HeldKeys;
    bool m_bQuit = false;
    int m_nExitCode = 0;
    HWND m_hInputWindow = nullptr;
    POINT m_Pointer{0, 0};        // also each message's pt
    bool m_bPointerMoved = false; // by the program, and the system's pointer not yet there
};

// Input from now on acts in another place: the screen changed under it.
inline void NewInputContext()
{
    MessageQueue::Instance().NewInputContext();
}

} // namespace platform
