// The pump between the window and the message queue. The main loop and every
// modal box take the window's input through the one queue, so each event is
// seen once and in the order it came.
#pragma once

#include "platform/win32/inputevent.h"

namespace platform
{

// Moves the input waiting at the window into the queue, waiting up to
// timeoutMs for the first event.
void PumpInput(int timeoutMs);

// The oldest input in the queue, pumping up to timeoutMs when it is empty;
// kind None when nothing came.
InputEvent TakeInput(int timeoutMs);

} // namespace platform
