// What each control of the main window does when the main loop receives its event.
#pragma once

#include "app/app_state.h"

// Runs the one handler of gadget; gadgets without a handler are ignored. Main thread only.
void HandleGadget(AppState& app, int gadget);
