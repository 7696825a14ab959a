// Everything the program keeps between passes of its main loop, in one place: the song list,
// the play modes and window options, the string-command channel, the player's own flags and
// what the program learnt about the system at start-up. Main thread only.
#pragma once

#include <chrono>
#include <cstdint>
#include <random>
#include <string>

#include "playback/mci_channel.h"
#include "playback/song_list.h"
#include "ui/options.h"

// Whether song indexes an entry of the list: entries past SongCount are left from an earlier
// folder, and a stored or selected index may be anything.
inline bool IsListedSong(const SongListState& songs, int song) {
    return song >= 0 && song < songs.SongCount;
}

struct PlayerState {
    int Playing = 0;      // a song is open and running
    int Paused = 0;       // the open song is paused
    int Position = 0;     // last polled position, milliseconds
    int SliderValue = 0;  // position slider, 0..ui::PositionSteps
    int Seeks = 0;        // how often the slider moved the position, for the media controls
    // When Position was polled: the next whole second of the display is due from then.
    std::chrono::steady_clock::time_point PositionPolledAt{};
    // The position the last polls in a row have all found, and since when: a song without a
    // known length ends once its position stands still. -1: the last pass did not poll.
    int StillPosition = -1;
    std::chrono::steady_clock::time_point StillSince{};
    int Idle = 0;       // the last pass found no event; the loop may move the slider
    int Minimised = 0;  // set by the window's size callback
    std::uint32_t LastVolume = 0;
    int LastMute = 0;  // the mixer's mute the buttons show
    int VolumeDrag = 0;
    int Quit = 0;
};

// What the program reads about the system once at start-up and keeps for the run.
struct SystemFacts {
    std::string OsName;                    // decides whether the window may be translucent
    int CaptionHeight = 0, FrameSize = 0;  // turn mouse positions into client coordinates
};

// The current song's tag as the desktop's media controls show it, read when the song changes.
struct MediaTrack {
    std::string path;
    std::string title, artist, album;  // title: the tag's, else the file name without ".mp3"
};

struct AppState {
    std::string settingsPath;  // where the settings file is written
    SongListState songs;       // also holds the song folder, current song and subfolder option
    ui::Options options;
    MciChannel mci;
    PlayerState player;
    SystemFacts system;
    std::mt19937 random{std::random_device{}()};  // random play order
    MediaTrack mediaTrack;
};
