// The first MPEG audio frame of a song: bitrate and sampling-rate display texts and the playing
// time (exact from a Xing, Info or VBRI header, else estimated from the audio's length), which
// the folder scan records in the song list. Main thread only.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

// The search for the first frame gives up this many bytes past the leading tags: a real stream
// has its first frame long before, and a file of zeros must not be read to its end.
inline constexpr std::uint64_t FrameSearchLimit = 64 * 1024;

// One frame header's fields, by the tables of ISO/IEC 11172-3 and 13818-3.
struct FrameHeader {
    enum Version { Mpeg1, Mpeg2, Mpeg25 };
    Version version = Mpeg1;
    int layer = 0;        // 1 to 3
    int bitrateKbps = 0;  // 0 for the free format, whose frames have no fixed length
    int sampleRate = 0;   // hertz
    bool padding = false;
    bool crc = false;   // a 16-bit check follows the header
    bool mono = false;  // channel mode 11: one channel

    int SamplesPerFrame() const;
    std::uint32_t FrameBytes() const;  // header included; 0 for the free format
};

// The header in bytes[0..3] when they are one: eleven sync bits, and neither the version, the
// layer, the bitrate nor the sampling rate has its reserved code.
std::optional<FrameHeader> ParseFrameHeader(const std::uint8_t* bytes);

struct FrameHeaderTexts {
    std::string bitrateText;     // whole kbit/s as shown (the average for VBR), or empty
    std::string sampleRateText;  // whole hertz as shown, or empty
};

struct SongHeaderInfo {
    FrameHeaderTexts texts;     // both empty when no frame was found
    std::int16_t duration = 0;  // seconds, at most 32767 (what the song list holds)
    std::int64_t exactMs = 0;   // from a Xing, Info or VBRI frame count; 0 when estimated
};

// Where the search for the first frame begins: after any ID3v2 tags at the start. Nothing
// when a tag claims to run past the end of the file.
std::optional<std::uint64_t> FrameSearchStart(std::span<const std::uint8_t> fileBytes);

// The analysis of a whole file held in memory.
SongHeaderInfo AnalyseHeaderBytes(std::span<const std::uint8_t> fileBytes);

// The analysis of the song at path, reading only its start (and, for the length of a file
// without a Xing or VBRI header, three bytes of its end). Empty texts and 0 when it cannot be
// opened or has no frame.
SongHeaderInfo AnalyseSongHeader(const std::string& path);
