// What the program's arguments ask for: a folder or song to open, the usage or the version.
#pragma once

#include <string>
#include <vector>

struct CommandLine {
    enum class Kind { Run, Help, Version, Unknown };
    Kind kind = Kind::Run;
    std::string path;  // Run: the first folder or file given, "" for none
};

// The arguments after the program's name. The first of --help and --version decides; any other
// argument that starts with '-' is unknown, unless it follows "--", after which every argument
// is a path. Of several paths the first counts.
CommandLine ParseCommandLine(const std::vector<std::string>& arguments);

inline constexpr const char* UsageLine =
    "Usage: mp3klingtal [--help | --version] [FOLDER | FILE.mp3]";
