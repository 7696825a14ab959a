// The benchmarks' shared corpus of small MP3 files and the floor loop they are measured
// against: what merely opening each file, reading its first 4 KiB and taking its size costs.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace bench {

inline constexpr int CorpusSize = 10000;

// The default corpus folder below the system's temporary folder.
std::string DefaultCorpusFolder();

// Song n of the corpus: an ID3v2.3 tag with a UTF-16 title, then twenty MPEG-1 layer 3
// frames at 128 kbit/s and 44100 Hz. About 8.5 KiB.
std::string SmallSong(int n);

// The paths folder/song0.mp3 .. song<count-1>.mp3, written unless a marker file says an
// earlier run completed them. Empty when the folder cannot be written.
std::vector<std::string> PrepareCorpus(const std::string& folder, int count = CorpusSize);

// Opens each file, reads its first 4 KiB, takes its size and closes it; returns the bytes
// read plus the sizes, so the work cannot be left out.
std::int64_t FloorPass(const std::vector<std::string>& paths);

// Wall-clock seconds one call of work takes.
template <class Work>
double Seconds(Work work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace bench
