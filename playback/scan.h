// The folder scan: collects every .mp3 file of a folder (and, when asked, of all folders below
// it) into the song list and analyses each one's first frame header; the caller shows it.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "playback/song_list.h"

// True when the last four characters of name are ".mp3" in any mix of cases.
bool IsMp3Name(std::string_view name);

// What the scan shows while it runs, in the caller's window; an empty member shows nothing.
struct ScanDisplay {
    std::function<void()> levelStarted;                      // a folder is about to be read
    std::function<void(const std::string& name)> songAdded;  // a song joined the list
    // A folder has been read (opened) or could not be; the list as it stands. What the top
    // level shows last is what stays.
    std::function<void(const SongListState& songs, bool opened)> levelFinished;
};

// Scans path (ending in the path separator) with enumeration handle level. Callers reset
// SongCount first (and TotalDuration and the song drop-down for a new folder) and call it
// with (SongFolder, 0, SubfolderOption); afterwards they show TotalDuration. Adding stops
// at MaxSongs songs; only regular files (or links to them) are songs, and a folder already
// entered in this scan (reached again through a symbolic link) is not entered again. A folder
// read without songs makes CurrentSong 0. Main thread only; the display disables the window
// meanwhile.
void ScanDirectory(SongListState& songs, const std::string& path, int level, int withSubfolders,
                   const ScanDisplay& display = {});
