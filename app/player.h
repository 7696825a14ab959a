// The transport: what play, pause, stop, previous and next do, what follows the end of a song,
// and the song details shown for the current song or a song just opened. Main thread only.
#pragma once

#include <string>
#include <vector>

#include "app/app_state.h"

// Whether a song that cannot be opened is reported with "MP3 Fehler": the user chose it. A song
// the list moved on to by itself is skipped quietly instead.
enum class OpenFailure { Report, Quiet };

// Opens, measures and starts the song at path (playback/song_commands.h) and shows its length
// and folder, and the current song's number, bitrate and sampling rate (the caller opens the
// current song). When the device cannot open it, shows "MP3 Fehler" (unless quiet) and changes
// nothing else. The caller sets the playing state. Returns whether the song was opened.
bool OpenAndShowSong(MciChannel& channel, const SongListState& songs, const std::string& path,
                     OpenFailure failure = OpenFailure::Report);

// Shows the current song's number, bitrate and sampling rate, and its length when that was
// measured for it ("0:00" otherwise). For a current song outside the list (an empty list) only
// the length.
void ShowSongDetails(AppState& app);

void PressPlay(AppState& app);
void PressPause(AppState& app);
void PressStop(AppState& app);
void PressPrevious(AppState& app);
void PressNext(AppState& app);
// The user picked another entry in the song drop-down.
void PickSong(AppState& app);

// Chooses and opens what follows a song that has ended, or stops at the end of the list.
void FinishSong(AppState& app);

// The index random order plays next: uniform over every entry but `ended` and those marked in
// `tried` (empty: none), or -1 when there is no such entry.
int DrawRandomSong(AppState& app, const std::vector<bool>& tried, int ended);
