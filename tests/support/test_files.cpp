// Test file helpers; lame runs as a child process without a shell.
#include "support/test_files.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <system_error>

#include "platform/system.h"

#ifndef _WIN32
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
extern char** environ;
#endif

namespace testing_support {

namespace fs = std::filesystem;

namespace {

// Paths are UTF-8 throughout; Windows would read a plain string in the ANSI code page.
fs::path Utf8Path(const std::string& path) {
#ifdef _WIN32
    return fs::path(std::u8string(path.begin(), path.end()));
#else
    return fs::path(path);
#endif
}

#ifndef _WIN32
// Runs a program found on PATH with its output silenced; true when it exits with 0.
bool Run(const std::vector<std::string>& arguments) {
    std::vector<char*> argv;
    for (const auto& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t child = 0;
    const int error = posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) return false;
    int status = 0;
    if (waitpid(child, &status, 0) != child) return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

std::string Kilohertz(int hertz) {
    std::ostringstream text;
    text << hertz / 1000.0;
    return text.str();
}
#endif

}  // namespace

std::string NativePath(std::string path) {
    for (char& c : path) {
        if (c == '/') c = sys::PathSeparator;
    }
    return path;
}

TempFolder::TempFolder() {
    std::string pattern = (fs::temp_directory_path() / "klingtal-test-XXXXXX").string();
#ifdef _WIN32
    static int counter = 0;
    pattern.resize(pattern.size() - 6);
    pattern += std::to_string(std::rand()) + "-" + std::to_string(++counter);
    fs::create_directories(pattern);
    path_ = pattern + "\\";
#else
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    path_ = pattern + "/";
#endif
}

TempFolder::~TempFolder() {
    std::error_code error;
    fs::remove_all(path_, error);
}

bool WriteFile(const std::string& path, std::string_view bytes) {
    std::error_code error;
    const fs::path parent = Utf8Path(path).parent_path();
    if (!parent.empty()) fs::create_directories(parent, error);
    std::ofstream out(Utf8Path(path), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), std::streamsize(bytes.size()));
    return bool(out.flush());
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(Utf8Path(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string Id3v2Tag(std::string_view body, std::uint8_t flags) {
    const auto size = std::uint32_t(body.size());
    const char sizeBytes[4] = {char(size >> 21 & 0x7F), char(size >> 14 & 0x7F),
                               char(size >> 7 & 0x7F), char(size & 0x7F)};
    const char* version = flags & 0x10 ? "ID3\x04\x00" : "ID3\x03\x00";
    std::string header = std::string(version, 5) + char(flags) + std::string(sizeBytes, 4);
    std::string tag = header + std::string(body);
    if (flags & 0x10) tag += "3DI" + header.substr(3);
    return tag;
}

bool LameAvailable() {
#ifdef _WIN32
    return false;
#else
    static const bool available = Run({"lame", "--version"});
    return available;
#endif
}

bool MakeMp3(const std::string& path, const Mp3Options& options) {
#ifdef _WIN32
    (void)path;
    (void)options;
    return false;
#else
    if (!LameAvailable()) return false;
    // 16-bit little-endian samples of a 440 Hz tone, the same on both channels.
    const int channels = options.stereo ? 2 : 1;
    const auto frames = std::size_t(options.seconds * options.sampleRate);
    std::string pcm;
    pcm.reserve(frames * std::size_t(channels) * 2);
    for (std::size_t i = 0; i < frames; ++i) {
        const double t = double(i) / options.sampleRate;
        const auto sample = std::int16_t(8000 * std::sin(2 * 3.14159265358979 * 440 * t));
        for (int c = 0; c < channels; ++c) {
            pcm += char(sample & 0xFF);
            pcm += char((sample >> 8) & 0xFF);
        }
    }
    const std::string raw = path + ".raw";
    if (!WriteFile(raw, pcm)) return false;

    const std::string rate = Kilohertz(options.sampleRate);
    std::vector<std::string> command = {"lame",
                                        "--quiet",
                                        "-r",
                                        "-s",
                                        rate,
                                        "--resample",
                                        rate,
                                        "--bitwidth",
                                        "16",
                                        "--signed",
                                        "--little-endian",
                                        "-m",
                                        options.stereo ? "j" : "m"};
    if (options.vbr) {
        command.insert(command.end(), {"-V", "4", "-b", std::to_string(options.bitrateKbps)});
    } else {
        command.insert(command.end(), {"--cbr", "-b", std::to_string(options.bitrateKbps)});
    }
    if (!options.title.empty() || !options.artist.empty()) {
        command.insert(command.end(),
                       {"--id3v2-only", "--tt", options.title, "--ta", options.artist});
    }
    command.insert(command.end(), options.lameOptions.begin(), options.lameOptions.end());
    command.insert(command.end(), {raw, path});
    const bool made = Run(command);
    std::remove(raw.c_str());
    return made;
#endif
}

}  // namespace testing_support
