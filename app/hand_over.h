// A folder or song given to the program (its command line, "Open with", a drop, a program
// started later) and the hand-over of one to the program already running. Main thread only.
#pragma once

#include <string>

#include "app/app_state.h"

// In a program just started, before any settings are read: when another program runs, it
// takes the given folder or song (made absolute; without one it comes to the front) and true
// says this one ends now, writing nothing.
bool HandOverToRunning(const std::string& givenPath);

// After the folder of path became the list: a song of that list given while no song is open
// is chosen in the drop-down and played, as the user's choice and play would. Anything else
// (a folder, a file that is not in the list) does nothing more.
void PlayGivenSong(AppState& app, const std::string& path);

// A folder or song a program started later handed over: the window comes to the front and
// takes it as a drop. While a message or the About window waits for the user, only the window
// comes forward.
void OpenHandedPath(AppState& app, const std::string& path);
