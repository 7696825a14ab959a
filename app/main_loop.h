// One pass of the main loop: poll one event, follow the mixer's volume, show the position,
// notice the end of a song, handle the event, drag the volume knob.
#pragma once

#include "app/app_state.h"

// Runs one pass; when no event is pending it first waits for one: while a song plays until its
// next whole second or its end is due, 20 ms while the volume knob is dragged, otherwise until
// something arrives (or a second, when the mixer cannot report changes). It sleeps 250 ms more
// while minimised and playing. Returns false once the window has been asked to close. Main thread.
bool LoopPass(AppState& app);

// The pass's own work without an event, for the wait of a modal window (a message, the About
// window): follows the mixer, the position and the end of the song, and tells the media
// controls. Returns how long until it is due again, as the pass would wait. Main thread.
int ModalPass(AppState& app);

// Runs passes until the window is closed.
void RunMainLoop(AppState& app);
