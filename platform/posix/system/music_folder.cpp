// Reading the music folder out of user-dirs.dirs, and the fallbacks when it names none.
#include "platform/posix/system/music_folder.h"

#include <cerrno>
#include <cstddef>
#include <sstream>

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/system.h"

namespace sys {
namespace {

std::string_view TrimSpaces(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) {
        s.remove_suffix(1);
    }
    return s;
}

// The shell word on the right of '=': double quotes removed, backslash escapes resolved.
// Anything after the closing quote (a comment, say) is ignored.
std::string Unquote(std::string_view value) {
    std::string out;
    bool quoted = false;
    for (std::size_t i = 0; i < value.size(); ++i) {
        const char c = value[i];
        if (c == '"') {
            if (quoted) break;
            quoted = true;
        } else if (c == '\\' && i + 1 < value.size()) {
            out += value[++i];
        } else if (!quoted && (c == ' ' || c == '\t' || c == '#')) {
            break;
        } else {
            out += c;
        }
    }
    return out;
}

std::string ExpandHome(const std::string& value, std::string_view home) {
    for (std::string_view prefix : {"$HOME", "${HOME}"}) {
        if (value.compare(0, prefix.size(), prefix) != 0) continue;
        const std::string rest = value.substr(prefix.size());
        if (!rest.empty() && rest.front() != '/') return "";  // "$HOMEX" is another variable
        return std::string(home) + rest;
    }
    return value.starts_with('/') ? value : "";
}

// The text of the file at path when it is a regular file, else "". Opened without blocking and
// checked before reading: a named pipe put there must not stop the program's start.
std::string RegularFileText(const std::string& path) {
    struct Descriptor {
        int fd;
        ~Descriptor() {
            if (fd >= 0) close(fd);
        }
    } file{open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)};
    struct stat info {};
    if (file.fd < 0 || fstat(file.fd, &info) != 0 || !S_ISREG(info.st_mode)) return "";
    std::string text;
    char block[4096];
    // The real file has a dozen lines; a megabyte is more than any holds.
    while (text.size() < (1u << 20)) {
        const ssize_t got = read(file.fd, block, sizeof block);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        text.append(block, std::size_t(got));
    }
    return text;
}

std::string WithSlash(std::string path) {
    if (path.empty() || path.back() != '/') path += '/';
    return path;
}

}  // namespace

std::string MusicDirFromUserDirs(std::string_view fileText, std::string_view home) {
    static constexpr std::string_view key = "XDG_MUSIC_DIR=";
    std::string found;
    std::istringstream lines{std::string(fileText)};
    std::string line;
    while (std::getline(lines, line)) {
        std::string_view rest = TrimSpaces(line);
        if (rest.starts_with("export ")) rest = TrimSpaces(rest.substr(7));
        if (!rest.starts_with(key)) continue;
        found = ExpandHome(Unquote(rest.substr(key.size())), home);
    }
    return found;
}

std::string ChooseMusicFolder(std::string_view userDirsText, std::string_view home,
                              const std::function<bool(const std::string&)>& isDirectory) {
    const std::string homeDir(home);
    const std::string fromFile = MusicDirFromUserDirs(userDirsText, home);
    for (const std::string& candidate : {fromFile, homeDir + "/Music", homeDir}) {
        if (!candidate.empty() && isDirectory(candidate)) return WithSlash(candidate);
    }
    return "/";
}

std::string DefaultMusicFolder() {
    std::string home;
    if (const char* env = getenv("HOME"); env && *env) {
        home = env;
    } else if (const passwd* user = getpwuid(getuid()); user && user->pw_dir) {
        home = user->pw_dir;
    }
    while (!home.empty() && home.back() == '/') home.pop_back();  // "/" becomes "", the root
    std::string configDir = home + "/.config";
    if (const char* env = getenv("XDG_CONFIG_HOME"); env && env[0] == '/') configDir = env;
    return ChooseMusicFolder(RegularFileText(configDir + "/user-dirs.dirs"), home,
                             [](const std::string& path) {
                                 struct stat info {};
                                 return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
                             });
}

}  // namespace sys
