// Feeding the message queue from the window, and taking input out of it for
// the modal loops.
#include "platform/framework/messagepump.h"

#include "platform/sdl/display.h"
#include "platform/win32/messagequeue.h"

namespace platform
{

void PumpInput(int timeoutMs)
{
    Display& display = Display::Instance();
    MessageQueue& queue = MessageQueue::Instance();
    for (InputEvent event = display.NextEvent(timeoutMs); event.kind != InputEvent::Kind::None;
         event = display.NextEvent(0))
        queue.PostInput(event);
}

InputEvent TakeInput(int timeoutMs)
{
    MessageQueue& queue = MessageQueue::Instance();
    InputEvent event;
    if (!queue.TakeInput(event))
    {
        PumpInput(timeoutMs);
        queue.TakeInput(event);
    }
    // A modal box keeps the screen as it is: Alt+Enter does nothing there.
    return event.SwitchesScreenMode() ? InputEvent{} : event;
}

} // namespace platform
