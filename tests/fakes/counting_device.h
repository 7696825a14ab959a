// A string-command device for the unit tests that counts an MP3's time the way Windows' own
// device does with VBR files: its length is the estimate at the first frame's bitrate, "play
// from N" starts at N of that estimate, the position then advances in real time, and the song
// stops when its real audio has played out. Installed into fake_mci. Main thread only.
#pragma once

#include <chrono>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace counting_device {

using Clock = std::chrono::steady_clock;

struct Song {
    std::int32_t lengthMs = 0;  // the length the device answers, milliseconds
    std::int32_t realMs = 0;    // how long its audio really plays
    // What the position does once the audio has played out: stands at its end, falls back to
    // the start (as Wine's device does), or the song never starts at all.
    enum class End { Stands, FallsBack, NeverStarts };
    End end = End::Stands;
};

// How the device counts the MP3 file at path: the bytes after the leading tags (and without a
// trailing ID3v1 tag) at the first frame's bitrate, and the real length of its audio frames.
Song CountedByFirstFrame(const std::string& path);

// Answers every command from now on, for these songs by path; other paths cannot be opened.
void Install(std::map<std::string, Song> songs);

struct Opened {
    std::string path;
    Clock::time_point opened = Clock::now();
    Clock::time_point realEnd = Clock::time_point::max();  // when its audio played out
    Clock::time_point closed = Clock::time_point::max();
    std::vector<Clock::time_point> modeAsked;  // when "status MP3Stueck mode" came
};
// Every song opened since Install, in order.
const std::vector<Opened>& History();

}  // namespace counting_device
