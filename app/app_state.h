// Everything the program keeps between passes of its main loop, in one place: the settings,
// the song list, the string-command channel and the player's own flags. Main thread only.
#pragma once

#include <chrono>
#include <cstdint>
#include <random>
#include <string>

#include "app/settings.h"
#include "playback/mci_channel.h"
#include "playback/song_list.h"

struct PlayerState {
    int Playing = 0;  // a song is open and running
    std::uint8_t Paused = 0;
    int Position = 0;     // last polled position, milliseconds
    int SliderValue = 0;  // position slider, 0..500
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
    int MouseX = 0, MouseY = 0;  // client pixels
    int Quit = 0;

    // Play modes and window options, shown by their controls and stored in the settings.
    int AllMode = 1, RepeatMode = 0, RandomMode = 0;
    int AlwaysOnTop = 0, OptionOn = 0, Transparency = 255;

    std::string ProgramDir;  // ends in the path separator
    std::string OsName;
    int ScreenWidth = 0, ScreenHeight = 0;
    int CaptionHeight = 0, FrameSize = 0;  // turn mouse positions into client coordinates
};

// The current song's tag as the desktop's media controls show it, read when the song changes.
struct MediaTrack {
    std::string path;
    std::string title, artist, album;  // title: the tag's, else the file name without ".mp3"
};

struct AppState {
    Settings settings;
    std::string settingsPath;  // where the settings file is written
    SongListState songs;
    MciChannel mci;
    PlayerState player;
    std::mt19937 random{std::random_device{}()};  // random play order
    MediaTrack mediaTrack;
};
