// The song list: full paths and the per-song display texts and durations, filled by the folder
// scan and the frame header analysis, read by the player and the displays.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

inline constexpr int MaxSongs = 10000;

struct SongListState {
    // Created with MaxSongs entries each and never resized. A new scan overwrites from index 0;
    // entries at and above SongCount keep older values and are never read as songs.
    std::vector<std::string> SongList = std::vector<std::string>(MaxSongs);  // full paths
    std::vector<std::string> SongBitrateText = std::vector<std::string>(MaxSongs);
    std::vector<std::string> SongSampleRateText = std::vector<std::string>(MaxSongs);
    std::vector<std::int16_t> SongDuration = std::vector<std::int16_t>(MaxSongs);  // seconds

    int SongCount = 0;      // valid entries
    int CurrentSong = 0;    // index of the current song, the setting "AktSong"
    int TotalDuration = 0;  // sum of SongDuration over the list, seconds

    std::string SongFolder;   // folder to scan, ending in the path separator ("Pfad")
    int SubfolderOption = 0;  // 1 = scan subfolders too ("Unterverz")
};
