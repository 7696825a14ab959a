// The ID3v2 tag (versions 2.2, 2.3 and 2.4) at the start of a song: title, artist, album, year
// and the first comment. Main thread only for the file reader; the parser is pure.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "trackinfo/tag_fields.h"

// The fields of the tag at the start of fileStart (the file's first bytes, as many as there
// are or as the tag claims); nothing when it does not start with a tag this reader knows. A
// tag or frame whose size runs past the bytes given yields what is there. Fields the tag
// lacks, and compressed or encrypted frames, stay empty.
std::optional<TagFields> ParseId3v2(std::span<const std::uint8_t> fileStart);

// Reads the tag of the file at path and closes the file again; nothing when the file cannot be
// opened or has no tag.
std::optional<TagFields> ReadId3v2Fields(const std::string& path);
