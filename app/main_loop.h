// One pass of the main loop: poll one event, follow the mixer's volume, show the position,
// notice the end of a song, handle the event, drag the volume knob.
#pragma once

#include "app/app_state.h"

// Runs one pass; sleeps 20 ms when no event is pending (250 ms more while minimised and
// playing). Returns false once the window has been asked to close. Main thread only.
bool LoopPass(AppState& app);

// Runs passes until the window is closed.
void RunMainLoop(AppState& app);
