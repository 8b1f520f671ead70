// One input event from the window system (or injected by a test), before it
// becomes a window message of the game or is read by a modal box's own loop.
#pragma once

#include "platform/win32/win32.h"

#include <string>

namespace platform
{

struct InputEvent
{
    enum class Kind
    {
        None,        // nothing arrived in time
        MouseMove,   // x, y in display pixels
        MouseDown,   // left button; x, y
        MouseUp,     // left button; x, y
        KeyDown,     // a key or button in keyId, its virtual key in key (0: none); shift held
        KeyUp,       // the key or button in keyId let go
        Text,        // typed characters in text, code page 1252
        Close,       // the window manager asked to close the window
        FocusLost,   // the full-screen window lost the input focus
        FocusGained, // it has the focus again
        Hidden,      // minimised or hidden: nothing is drawn (the display's own business)
        Exposed,     // visible again: the picture is shown again (the display's own business)
        Resized,     // the window's size changed: the picture is placed anew (the display's own)
        PointerStep, // a controller's stick moved the pointer by x, y picture pixels (made a
                     // MouseMove)
    };

    Kind kind = Kind::None;
    int x = 0;
    int y = 0;
    UINT key = 0;
    bool shift = false;
    std::string text;
    bool alt = false; // KeyDown: Alt held (the dialogs' mnemonics)
    // KeyDown: sent again because the key is held down (the system's key repeat).
    bool repeat = false;
    // KeyDown, KeyUp: which key or controller button, whatever its virtual key.
    unsigned keyId = 0;

    bool IsMouse() const
    {
        return kind == Kind::MouseMove || kind == Kind::MouseDown || kind == Kind::MouseUp;
    }
    // Alt+Enter: the window's own key between full screen and a window, never the game's.
    bool SwitchesScreenMode() const { return kind == Kind::KeyDown && key == VK_RETURN && alt; }
};

} // namespace platform
