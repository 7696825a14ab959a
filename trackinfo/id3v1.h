// The ID3v1 tag in the last 128 bytes of a song, as the text of the info message. Main thread
// only (it reads the file).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "trackinfo/tag_fields.h"

inline constexpr std::size_t Id3v1TagSize = 128;

// Shown when the song has no tag.
inline constexpr const char* Id3v1MissingText =
    "Für dieses Lied sind leider\rKEINE ID3-V1-Tags vorhanden";

using Id3v1Fields = TagFields;

// The fields of the tag a file's last 128 bytes hold; nothing when they hold none (or when the
// file is shorter than a tag).
std::optional<Id3v1Fields> ParseId3v1(std::span<const std::uint8_t> tail);

// The info text for a file's last 128 bytes (or all of a shorter file, which has no tag):
// title, artist, album, year and comment, each on a line of its own ending in a carriage
// return, converted to UTF-8 from UTF-8 where a field is that, else from the system's 8-bit
// character set; or the no-tag text.
std::string Id3v1InfoText(std::span<const std::uint8_t> tail);

// The five lines of the info message for a tag's fields, each ending in a carriage return.
std::string TagInfoText(const TagFields& fields);

// Reads the tag of the file at path and closes the file again. Nothing when it cannot be
// opened.
std::optional<std::string> ReadId3v1Info(const std::string& path);
// The same, as fields; nothing also when the file has no tag.
std::optional<Id3v1Fields> ReadId3v1Fields(const std::string& path);
