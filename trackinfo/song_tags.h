// What the program shows of a song's tags: the info message (ID3v1, else ID3v2, else the
// notice) and the media controls' title, artist and album (ID3v2 first, then ID3v1). Main
// thread only: both read the file.
#pragma once

#include <optional>
#include <string>

#include "trackinfo/tag_fields.h"

// The info message's text for the song at path; nothing when the file cannot be opened.
std::optional<std::string> ReadTagInfo(const std::string& path);

// Title, artist and album, each from the ID3v2 tag where it has it, else from the ID3v1 tag;
// empty where neither has it or the file cannot be read.
TagFields ReadMediaTags(const std::string& path);
