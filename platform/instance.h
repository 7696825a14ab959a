// One program per user and desktop: a program started while another runs hands it its folder or
// song and ends, so one program plays and writes the settings. Backends: posix/media (the session
// bus), win32/media (the running program's window), headless (in memory). Main thread only.
#pragma once

#include <string>

namespace instance {

// Called once, before the settings are read. When no other program runs, this one becomes the
// one later programs find (it takes the bus name, the session's mutex) and false is returned.
// When one runs, path (absolute, UTF-8; "" asks it only to come to the front) goes to it, and
// true means it has taken it: this program then ends at once. False too when the running one
// cannot be reached in time (hung, still starting after many seconds): this one runs beside it.
bool HandToRunning(const std::string& path);

}  // namespace instance
