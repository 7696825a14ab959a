// The corpus writer and the floor loop.
#include "tools/bench/corpus/corpus.h"

#include <cstdio>
#include <filesystem>

#include "platform/file.h"

namespace bench {
namespace {

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

}  // namespace

std::string DefaultCorpusFolder() {
    return (fs::temp_directory_path() / "klingtal-bench-corpus").string();
}

std::string SmallSong(int n) {
    std::string song = TagFor(n);
    for (int frame = 0; frame < 20; ++frame) {
        song += std::string("\xFF\xFB\x90\x64", 4);
        song += std::string(413, char(frame * 7 + n % 13));
    }
    return song;
}

std::vector<std::string> PrepareCorpus(const std::string& folder, int count) {
    std::vector<std::string> paths;
    for (int n = 0; n < count; ++n) paths.push_back(folder + "/song" + std::to_string(n) + ".mp3");
    // The marker names the count, so a smaller corpus made earlier is not taken for this one.
    const std::string done = folder + "/complete-" + std::to_string(count);
    if (fs::exists(done)) return paths;
    std::error_code error;
    fs::create_directories(folder, error);
    for (int n = 0; n < count; ++n) {
        std::FILE* f = std::fopen(paths[std::size_t(n)].c_str(), "wb");
        if (!f) return {};
        const std::string song = SmallSong(n);
        const bool written = std::fwrite(song.data(), 1, song.size(), f) == song.size();
        if (std::fclose(f) != 0 || !written) return {};
    }
    std::FILE* marker = std::fopen(done.c_str(), "wb");
    if (!marker) return {};
    std::fclose(marker);
    return paths;
}

std::int64_t FloorPass(const std::vector<std::string>& paths) {
    std::int64_t bytes = 0;
    char buffer[4096];
    for (const std::string& path : paths) {
        platform::ReadOnlyFile file(path);
        bytes += std::int64_t(file.Read(buffer, sizeof buffer));
        bytes += file.Size();
    }
    return bytes;
}

}  // namespace bench
