// Times the frame header analysis over 10,000 small MP3 files against a floor loop that only
// opens each file, reads its first 4 KiB, takes its size and closes it.
// Usage: bench_header [folder]  (default: <temp>/klingtal-bench-header, made once, then reused)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/file.h"
#include "playback/song_list.h"
#include "trackinfo/frame_header.h"

namespace {

constexpr int FileCount = 10000;
constexpr int Rounds = 5;
namespace fs = std::filesystem;

// An ID3v2.3 tag with a UTF-16 title (its byte-order mark holds a 255) and some padding.
std::string TagFor(int n) {
    const std::string title = "Lied " + std::to_string(n);
    std::string frame = "TIT2";
    const std::size_t size = 3 + 2 * title.size();
    frame += std::string("\0\0\0", 3) + char(size) + std::string("\0\0\x01\xFF\xFE", 5);
    for (char c : title) frame += std::string(1, c) + '\0';
    frame += std::string(std::size_t(n % 7) * 64, '\0');
    const std::size_t body = frame.size();
    return std::string("ID3\x03\x00\x00", 6) + char(body >> 21 & 0x7F) + char(body >> 14 & 0x7F) +
           char(body >> 7 & 0x7F) + char(body & 0x7F) + frame;
}

// MPEG-1 layer 3 frames at 128 kbit/s and 44100 Hz with quiet payload.
std::string SongFor(int n) {
    std::string song = TagFor(n);
    for (int frame = 0; frame < 20; ++frame) {
        song += std::string("\xFF\xFB\x90\x64", 4);
        song += std::string(413, char(frame * 7 + n % 13));
    }
    return song;
}

std::vector<std::string> PrepareCorpus(const std::string& folder) {
    std::vector<std::string> paths;
    for (int n = 0; n < FileCount; ++n)
        paths.push_back(folder + "/song" + std::to_string(n) + ".mp3");
    const std::string done = folder + "/complete";
    if (fs::exists(done)) return paths;
    fs::create_directories(folder);
    for (int n = 0; n < FileCount; ++n) {
        std::FILE* f = std::fopen(paths[std::size_t(n)].c_str(), "wb");
        if (!f) return {};
        const std::string song = SongFor(n);
        std::fwrite(song.data(), 1, song.size(), f);
        std::fclose(f);
    }
    std::fclose(std::fopen(done.c_str(), "wb"));
    return paths;
}

template <class Work>
double Seconds(Work work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
    const std::string folder =
        argc > 1 ? argv[1] : (fs::temp_directory_path() / "klingtal-bench-header").string();
    const std::vector<std::string> paths = PrepareCorpus(folder);
    if (paths.empty()) {
        std::fprintf(stderr, "cannot write the corpus to %s\n", folder.c_str());
        return 1;
    }

    SongListState songs;
    std::int64_t floorBytes = 0;
    double analysis = 1e30, floor = 1e30;
    // Alternating rounds, best of each: both see the same warm page cache.
    for (int round = 0; round < Rounds; ++round) {
        floor = std::min(floor, Seconds([&] {
                             char buffer[4096];
                             for (const std::string& path : paths) {
                                 platform::ReadOnlyFile file(path);
                                 floorBytes += std::int64_t(file.Read(buffer, sizeof buffer));
                                 floorBytes += file.Size();
                             }
                         }));
        analysis = std::min(analysis, Seconds([&] {
                                songs.TotalDuration = 0;
                                for (std::size_t i = 0; i < paths.size(); ++i)
                                    AnalyseSongHeader(paths[i], int(i), songs);
                            }));
    }
    for (std::size_t i = 0; i < paths.size(); ++i) {
        if (songs.SongBitrateText[i] != "128" || songs.SongSampleRateText[i] != "44100") {
            std::fprintf(stderr, "%s: unexpected \"%s\" \"%s\"\n", paths[i].c_str(),
                         songs.SongBitrateText[i].c_str(), songs.SongSampleRateText[i].c_str());
            return 1;
        }
    }
    std::printf("corpus: %d files in %s\n", FileCount, folder.c_str());
    std::printf("floor (open, read 4 KiB, size, close): %.0f files/s\n", FileCount / floor);
    std::printf("AnalyseSongHeader:                     %.0f files/s\n", FileCount / analysis);
    std::printf("ratio analysis/floor (time):           %.3f\n", analysis / floor);
    return floorBytes > 0 ? 0 : 1;
}
