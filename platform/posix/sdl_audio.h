// Starting SDL's audio subsystem for this program: the device of the MCI emulation and the
// About window's sound both take it through here.
#pragma once

#include <SDL.h>

namespace sdl_audio {

// Takes one reference on SDL's audio subsystem; true on success. SDL would otherwise install
// handlers for SIGINT and SIGTERM that turn them into a quit event this program never reads,
// so it could not be ended by a signal; the gui backend handles those signals itself.
inline bool Start() {
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    return SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
}

}  // namespace sdl_audio
