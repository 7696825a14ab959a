// The driver's media-control commands: a request injected as a desktop would send it, and the
// state the program last handed to the media backend, one "key<TAB>value" line each.
#pragma once

#include <istream>
#include <string>

// Injects the named request (Play, Pause, PlayPause, Stop, Next, Previous, Quit, Raise; Seek
// and SetPosition take milliseconds, Loop takes None, Track or Playlist, Shuffle 0 or 1,
// Volume 0..65535); names are case-insensitive. False for an unknown request or argument.
bool InjectMediaRequest(const std::string& name, std::istream& arguments);

std::string MediaDump();
