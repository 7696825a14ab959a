// Files for tests: a temporary folder that removes itself, writing and reading bytes, ID3v2 tag
// bytes, and MP3 files made with lame from generated sound.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace testing_support {

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Path() const { return path_; }  // ends in the path separator
    std::string File(std::string_view name) const { return path_ + std::string(name); }

  private:
    std::string path_;
};

// Writes bytes to path, replacing it; creates missing parent folders. False on failure.
bool WriteFile(const std::string& path, std::string_view bytes);
std::string ReadFile(const std::string& path);  // "" when it cannot be read

// The path with every '/' turned into the system's separator, for expected paths in tests.
std::string NativePath(std::string path);

// An ID3v2.3 tag: the 10-byte header with the body's size as four 7-bit bytes and the body; with
// 0x10 in flags a version 2.4 tag with its footer ("3DI"), which only that version has.
std::string Id3v2Tag(std::string_view body, std::uint8_t flags = 0);

struct Mp3Options {
    int bitrateKbps = 128;   // constant bitrate, or the lowest one with vbr
    int sampleRate = 44100;  // hertz; lame picks MPEG-1, 2 or 2.5 from it
    bool stereo = true;
    bool vbr = false;
    double seconds = 1.0;
    std::string title;  // ID3v2 text tags (lame's --tt/--ta); none when both are empty
    std::string artist;
    // Further lame options (a cover with --ti, tags, -V 2); given after the bitrate options,
    // which they may override.
    std::vector<std::string> lameOptions;
};

bool LameAvailable();

// Encodes a generated tone with lame into path. False when lame is missing or fails.
bool MakeMp3(const std::string& path, const Mp3Options& options = {});

}  // namespace testing_support
