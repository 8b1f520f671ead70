// SDL's events in the game's terms: one table of the keys and controller
// buttons the game and its dialogs know, and the window's events the display
// acts on. Only the platform's SDL code includes this header.
#pragma once

#include "platform/win32/inputevent.h"

#include <SDL.h>

namespace platform
{

// Kind None for everything the game does not look at. Mouse positions are
// the logical 640 x 480 pixels SDL reports, not yet clamped to the picture.
InputEvent TranslateEvent(const SDL_Event& event);

} // namespace platform
