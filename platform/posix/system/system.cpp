// POSIX system services: where the program lives, the system's name, sleeping, and directory
// identities for the folder scan's loop check.
#include <cerrno>
#include <ctime>
#include <string>

#include <sys/stat.h>
#include <sys/utsname.h>
#include <unistd.h>

#include "platform/posix/system/sound.h"
#include "platform/system.h"

namespace sys {

std::string ProgramDirectory() {
    std::string target(256, '\0');
    for (;;) {
        const ssize_t length = readlink("/proc/self/exe", target.data(), target.size());
        if (length < 0) return "";
        if (static_cast<std::size_t>(length) < target.size()) {
            target.resize(static_cast<std::size_t>(length));
            break;
        }
        target.resize(target.size() * 2);  // may have been cut short
    }
    const std::size_t slash = target.rfind('/');
    return slash == std::string::npos ? "" : target.substr(0, slash + 1);
}

std::string OperatingSystemName() {
    utsname names{};
    if (uname(&names) != 0) return "";
    return names.sysname;
}

std::string UserAppDataFolder() {
    return "";
}

std::string DirectoryIdentity(const std::string& path) {
    struct stat info {};
    if (path.empty() || stat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) return "";
    return std::to_string(static_cast<unsigned long long>(info.st_dev)) + ":" +
           std::to_string(static_cast<unsigned long long>(info.st_ino));
}

void SleepMs(int milliseconds) {
    // The main loop sleeps here when idle: the moment to close a sound that has finished.
    ReleaseFinishedSounds();
    if (milliseconds <= 0) return;
    timespec remaining{milliseconds / 1000, static_cast<long>(milliseconds % 1000) * 1000000L};
    while (nanosleep(&remaining, &remaining) != 0 && errno == EINTR) {
    }
}

std::vector<std::string> CommandLineArguments(int argc, char** argv) {
    return argc > 1 ? std::vector<std::string>(argv + 1, argv + argc) : std::vector<std::string>();
}

std::string AbsolutePath(const std::string& path) {
    if (path.empty() || path.front() == '/') return path;
    std::string folder(4096, '\0');
    if (getcwd(folder.data(), folder.size()) == nullptr) return path;
    folder.resize(folder.find('\0'));
    return folder + (folder.back() == '/' ? "" : "/") + path;
}

}  // namespace sys
