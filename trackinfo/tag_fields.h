// The five fields of a song's tag the program shows, whichever tag they come from. UTF-8, with
// surrounding spaces removed.
#pragma once

#include <string>

struct TagFields {
    std::string title, artist, album, year, comment;
};
