// The desktop's media controls as the program sees them: a request becomes the click on the
// control it stands for, so the command handlers do the work, and after every pass the
// desktop is told what the program now plays. Main thread only.
#pragma once

#include "app/app_state.h"
#include "platform/media.h"

// Connects to the desktop's media controls, if there are any, and watches for their requests.
void StartMediaControls(AppState& app);
void StopMediaControls();

// Queues the click (or the slide of the position slider) a request stands for. Volume goes
// to the mixer directly, as dragging the knob does; raising the window needs no handler.
void HandleMediaRequest(AppState& app, const media::Request& request);

// What the desktop is shown. Reads the current song's tag once, when the song changes.
media::State MediaState(AppState& app);
void PublishMediaState(AppState& app);
