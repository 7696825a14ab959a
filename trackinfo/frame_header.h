// The first MPEG audio frame header of a song: bitrate and sampling-rate display texts and an
// estimated playing time, which the folder scan records in the song list. Main thread only.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

// Bit n of value, n counted from 1 (least significant) to 8; 0 or 1.
constexpr int BitOfByte(int value, int n) {
    if (n < 1 || n > 8) return 0;
    return (value >> (n - 1)) & 1;
}

struct FrameHeaderTexts {
    std::string bitrateText;     // kbit/s as shown, "-1" for the reserved code, or empty
    std::string sampleRateText;  // hertz as shown, "?????" for the reserved code, or empty
};

// The texts for the two bytes after the header's first byte 255.
FrameHeaderTexts DecodeFrameHeader(std::uint8_t b1, std::uint8_t b2);

// Playing time in whole seconds from the whole file's length and the two texts: 0 unless both
// read as numbers above 0, and at most 32767 (what the song list holds).
std::int16_t EstimateDuration(std::uint64_t fileLength, const FrameHeaderTexts& texts);

struct SongHeaderInfo {
    FrameHeaderTexts texts;  // both empty when no header was found
    std::int16_t duration = 0;
};

// Where the search for the first byte 255 begins: after any ID3v2 tags at the start. Nothing
// when a tag claims to run past the end of the file.
std::optional<std::uint64_t> FrameSearchStart(std::span<const std::uint8_t> fileBytes);

// The analysis of a whole file held in memory.
SongHeaderInfo AnalyseHeaderBytes(std::span<const std::uint8_t> fileBytes);

// The analysis of the song at path: its bitrate and sampling-rate texts and its estimated
// playing time. Empty texts and 0 when it cannot be opened or has no header.
SongHeaderInfo AnalyseSongHeader(const std::string& path);
