// Start-up and shutdown of the program around its main loop.
#pragma once

#include <string>

#include "app/app_state.h"

struct StartOptions {
    std::string programDir;  // empty: the executable's folder
};

// Reads the settings, opens the main window with its controls and scans the song folder.
// False when the window could not be opened; the caller then goes straight to Shutdown.
bool StartUp(AppState& app, const StartOptions& options);

// Takes the main window's outer top-left corner into the settings, as closing it does.
void RememberWindowPosition(AppState& app);

// Writes the settings and fades the window out. Safe after a failed StartUp.
void Shutdown(AppState& app, bool windowOpened);
