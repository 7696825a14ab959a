// The desktop's media controls: play, pause, next and previous from media keys, desktop
// widgets, headsets and phones, and what the program is playing shown back to them. Backends:
// posix/ (MPRIS2 over D-Bus), win32/ (media keys and taskbar buttons), headless/ (in memory).
// Main thread only.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

namespace media {

enum class Playback { Stopped, Playing, Paused };

// What the program hands over after every change.
struct State {
    Playback playback = Playback::Stopped;
    int song = -1;  // index of the current song in the list; -1 with an empty list
    int songCount = 0;
    std::string path;  // the current song's full path (UTF-8), "" without one
    std::string title, artist, album;
    std::int64_t lengthMs = 0;  // the current song's length
    int seeks = 0;              // raised each time the position jumped (a slide, a seek)
    bool songOpen = false;      // a song is open, playing or paused: it can pause and seek
    bool allMode = false, repeatMode = false, randomMode = false;
    std::uint32_t volume = 0;  // master volume, 0..65535

    bool operator==(const State&) const = default;
};

enum class Loop { None, Track, Playlist };

// What every desktop is told the same way: the loop mode the two toggles "Alle" and
// "Wiederh" make together, and what the transport can do in a state.
inline Loop LoopOf(const State& state) {
    if (!state.repeatMode) return Loop::None;
    return state.allMode ? Loop::Playlist : Loop::Track;
}
inline bool CanPlay(const State& state) {
    return state.songCount > 0;
}
inline bool CanGoPrevious(const State& state) {
    return state.songCount > 0;
}
inline bool CanGoNext(const State& state) {
    return state.songCount > 0 && state.song < state.songCount - 1;
}
inline bool CanPause(const State& state) {
    return state.songOpen;
}

// The position now (milliseconds) of a song that stood at positionMs at `at`: while it plays,
// moved on by the time since, but never past its length (0 or less: not known, no limit).
inline std::int64_t PositionNow(
    std::int64_t positionMs, std::chrono::steady_clock::time_point at, bool playing,
    std::int64_t lengthMs,
    std::chrono::steady_clock::time_point now = std::chrono::steady_clock::now()) {
    if (!playing) return positionMs;
    const std::int64_t moved =
        positionMs + std::chrono::duration_cast<std::chrono::milliseconds>(now - at).count();
    return lengthMs > 0 ? std::min(moved, lengthMs) : moved;
}

struct Request {
    enum class Kind {
        Play,
        Pause,
        PlayPause,
        Stop,
        Next,
        Previous,
        Seek,         // value: an offset in milliseconds from the current position
        SetPosition,  // value: milliseconds from the start of the current song
        SetLoop,      // value: a Loop
        SetShuffle,   // value: 1 on, 0 off
        SetVolume,    // value: 0..65535
        Quit,
        Raise,
        Open,  // path: a folder or song to open, handed over by a program started later
    };
    Kind kind = Kind::Play;
    std::int64_t value = 0;
    std::string path{};  // Open: absolute, UTF-8; the initializer lets {kind, value} omit it
};

// What the backend needs of the program's window: its number (whose taskbar entry gets the
// buttons) and the numbers of the button images the buttons show.
struct Window {
    int window = 0;
    int previousImage = 0, playImage = 0, pauseImage = 0, nextImage = 0;
};

// Connects to the desktop. onRequest runs for every request, on the main thread, from inside
// Process (or, on Windows, the window's message handling). False when there is nothing to
// connect to (no session bus, the name taken, no taskbar): the program runs on without.
bool Start(const Window& window, std::function<void(const Request&)> onRequest);
// Leaves the desktop again (releases the name, the keys, the buttons). Safe without Start.
void Stop();

// After every pass: the state (a state the same as the last one sends nothing) and the position
// now in milliseconds, which moves on by itself while playing and is only answered when asked.
void Publish(const State& state, std::int64_t positionMs);

// Readable when requests may be waiting (POSIX; -1 where they arrive as window messages or
// there is no connection). Process then takes them and answers them; false once the connection
// has gone: stop watching the descriptor, then call Stop.
int Descriptor();
bool Process();

}  // namespace media
