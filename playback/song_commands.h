// What the program asks of the string-command device about its one open song, the alias
// MP3Stueck: each request is one function and the only place its command strings are written.
// Main thread only.
#pragma once

#include <cstdint>
#include <string>

#include "playback/mci_channel.h"

// Every time handed in or out here is real milliseconds of the song, whatever the device counts
// (playback/device_clock.h).

// Opens the song at path (a full path from the song list) under MP3Stueck, measures its length
// into SongLength (and SongLengthPath) and starts it from millisecond 1. The song's header
// decides whether the device's length is its real one. False, with nothing else sent or
// changed, when the device cannot open it.
bool OpenSong(MciChannel& channel, const std::string& path);

// The open song's length in the device's milliseconds, in that time format from now on. A device
// that cannot seek to the end is asked for the length; 0 when it knows none either.
std::int32_t MeasureSongLength(MciChannel& channel);

// Plays the open song from positionMs (milliseconds), also to resume it after a pause.
void PlaySongFrom(MciChannel& channel, int positionMs);

// Pauses the open song and returns once it has stopped.
void PauseSong(MciChannel& channel);

// Closes the open song; with none open the device answers with an error, which is of no concern.
void CloseSong(MciChannel& channel);

// The open song's position in milliseconds, as far as the device has played it; 0 when it
// cannot tell.
std::int32_t PollSongPosition(MciChannel& channel);

// Whether the device says the open song has stopped (it played out, or never started). Asked
// only while its position stands still; an error or any other answer is no.
bool SongHasStopped(MciChannel& channel);
