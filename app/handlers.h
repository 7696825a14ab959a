// What each control of the main window does when the main loop receives its event.
#pragma once

#include <string>

#include "app/app_state.h"

// Runs the one handler of gadget; gadgets without a handler are ignored. Main thread only.
void HandleGadget(AppState& app, int gadget);

// A folder or file (standing for its folder) taken as if dropped onto the window: the folder
// button's answer, only while that button takes clicks; a song given so then plays. Main
// thread only.
void TakeFolderDrop(AppState& app, const std::string& path);
