// The folder scan: collects every .mp3 file of a folder (and, when asked, of all folders below
// it) into the song list, analyses each one's first frame header and shows the result.
#pragma once

#include <string>
#include <string_view>

#include "playback/song_list.h"

// True when the last four characters of name are ".mp3" in any mix of cases.
bool IsMp3Name(std::string_view name);

// Scans path (ending in the path separator) with enumeration handle level. Callers reset
// SongCount first (and TotalDuration and the song drop-down for a new folder) and call it
// with (SongFolder, 0, SubfolderOption); afterwards they call ShowTotalDuration. Adding stops
// at MaxSongs songs; only regular files (or links to them) are songs, and a folder already
// entered in this scan (reached again through a symbolic link) is not entered again. Main thread
// only; the window is disabled meanwhile.
void ScanDirectory(SongListState& songs, const std::string& path, int level, int withSubfolders);

// Shows TotalDuration in the total playing time display.
void ShowTotalDuration(const SongListState& songs);
