// The pump between the window and the message queue. The main loop and every
// modal box take the window's input through the one queue, so each event is
// seen once and in the order it came.
#pragma once

#include "platform/win32/backend.h"
#include "platform/win32/inputevent.h"

namespace platform
{

// Moves the input waiting at the window into the queue, waiting up to
// timeoutMs for the first event; true when any came.
bool PumpInput(int timeoutMs);

// The oldest input in the queue that acts here, pumping up to timeoutMs when
// none waits; kind None when nothing came.
InputEvent TakeInput(int timeoutMs);

// The window was asked to close and the frame window has not had it yet.
bool CloseRequested();

// A modal box's time: keys held down into it, and out of it again, act only
// once pressed anew.
class ModalInputScope
{
public:
    ModalInputScope();
    ~ModalInputScope();
    ModalInputScope(const ModalInputScope&) = delete;
    ModalInputScope& operator=(const ModalInputScope&) = delete;
};

} // namespace platform
