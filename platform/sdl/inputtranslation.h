// SDL's events in the game's terms: one table of the keys and controller
// buttons the game and its dialogs know, and the window's events the display
// acts on. Only the platform's SDL code includes this header.
#pragma once

#include "platform/win32/inputevent.h"

#include <SDL.h>

namespace platform
{

// Kind None for everything the game does not look at. Mouse positions are
// the window's pixels, not yet mapped to the picture.
InputEvent TranslateEvent(const SDL_Event& event);

// Whether a key-down is the system's repeat of a held key. SDL folds a key let
// go and pressed again within two milliseconds (as synthetic input types it)
// into one repeat. The system repeats only the key that went down last, and
// only after a delay: a "repeat" after another key went down, or sooner
// after its own press, is the press it was.
class KeyRepeats
{
public:
    bool IsRepeat(const SDL_KeyboardEvent& key);

private:
    SDL_Scancode m_LastDown = SDL_SCANCODE_UNKNOWN;
    Uint32 m_PressedAt = 0; // when it was pressed, as SDL took it
};

} // namespace platform
