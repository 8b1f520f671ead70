// The application object: creates the frame window and runs the game's own
// loop, one message at most and then one frame per pass.
#pragma once

#include "platform/framework/framework.h"

class CGameApp : public CWinApp
{
public:
    CGameApp() = default;

    BOOL InitInstance() override;
    // Passes until the quit message; the display's flip paces them.
    int Run() override;
    // One pass: dispatches at most one waiting message, then ticks the frame.
    // False when that message was the quit message.
    bool RunPass();
};
