// The lookup tables that turn frame header bits into the display texts: version, layer,
// sampling rate, the bitrate rows and the list of bitrate codes.
#pragma once

#include <string_view>

namespace frame_tables {

struct TextByBits {
    std::string_view bits;
    std::string_view text;
};

inline constexpr TextByBits VersionTexts[] = {{"00", "2.5"}, {"01", "?"}, {"10", "2"}, {"11", "1"}};

inline constexpr TextByBits LayerTexts[] = {{"00", "?"}, {"01", "3"}, {"10", "2"}, {"11", "1"}};

struct SampleRateRow {
    std::string_view version;
    std::string_view texts[4];  // by sampling-rate code 00, 01, 10, 11
};

// Versions without a row ("2.5", "?") leave the sampling rate empty.
inline constexpr SampleRateRow SampleRateRows[] = {
    {"1", {"44100", "48000", "32000", "?????"}},
    {"2", {"22050", "24000", "16000", "?????"}},
};

struct BitrateRow {
    std::string_view version;
    std::string_view layer;
    std::string_view fields;  // 15 comma-separated fields, field n for bitrate code n
};

inline constexpr BitrateRow BitrateRows[] = {
    {"1", "1", "32,64,96,128,160,192,224,256,288,320,352,384,416,448,-1"},
    {"1", "2", "32,48,56,64,80,96,112,128,160,192,224,256,320,384,-1"},
    {"1", "3", "32,40,48,56,64,80,96,112,128,160,192,224,256,320,-1"},
    {"2", "1", "32,64,96,128,160,192,224,256,288,320,352,384,416,448,-1"},
    {"2", "2", "32,48,56,64,80,96,112,128,160,192,224,256,320,384,-1"},
    {"2", "3", "8,16,24,32,64,80,56,64,128,160,112,128,256,320,-1"},
};

// Codes 1 to 15, four characters each; code 0000 has no entry.
inline constexpr std::string_view BitrateCodes =
    "0001,0010,0011,0100,0101,0110,0111,1000,1001,1010,1011,1100,1101,1110,1111";

}  // namespace frame_tables
