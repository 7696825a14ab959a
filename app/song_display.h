// What the main window shows of the song list: the folder scan as it runs, the total playing
// time, and the rescan of the song folder. Main thread only.
#pragma once

#include <string>

#include "app/app_state.h"
#include "playback/scan.h"

// The scan shown in the main window: a wait cursor and the window disabled while a folder is
// read, each song added to the drop-down, and afterwards the song count, the first song's
// number and rates, or "Fehler" naming the shown folder when a folder cannot be read.
ScanDisplay MainWindowScanDisplay();

// Shows TotalDuration in the total playing time display.
void ShowTotalDuration(const SongListState& songs);

// Reads the song folder afresh: empties the list, the drop-down and the total, scans the folder
// (with its subfolders when SubfolderOption is 1), shows the total, and makes a current song
// outside the new list the first one.
void Rescan(AppState& app);
