// Starting one of SDL's subsystems the way the game wants it everywhere.
#pragma once

#include <SDL.h>

namespace platform
{

// SDL_InitSubSystem, but SDL keeps its hands off the signals: SIGINT, SIGTERM
// and SIGHUP end the program at once wherever it is (a dialog, the intro, a
// blocked call), writing nothing, as closing the window does.
inline bool InitSdlSubsystem(Uint32 flags)
{
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    return SDL_InitSubSystem(flags) == 0;
}

} // namespace platform
