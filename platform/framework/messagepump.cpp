// Feeding the message queue from the window, and taking input out of it for
// the modal loops.
#include "platform/framework/messagepump.h"

#include "platform/present/display.h"
#include "platform/win32/messagequeue.h"

namespace platform
{

bool PumpInput(int timeoutMs)
{
    return Display::Instance().Pump(timeoutMs);
}

InputEvent TakeInput(int timeoutMs)
{
    MessageQueue& queue = MessageQueue::Instance();
    InputEvent event;
    if (!queue.TakeInput(event) && !(PumpInput(timeoutMs) && queue.TakeInput(event)))
        return {};
    // A modal box keeps the screen as it is: Alt+Enter does nothing there.
    return event.SwitchesScreenMode() ? InputEvent{} : event;
}

bool CloseRequested()
{
    PumpInput(0);
    return MessageQueue::Instance().CloseWaiting();
}

ModalInputScope::ModalInputScope()
{
    NewInputContext();
}

ModalInputScope::~ModalInputScope()
{
    NewInputContext();
}

} // namespace platform
