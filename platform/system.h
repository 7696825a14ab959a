// Operating-system services other than windows and sound: where the program lives, what the
// system is called, directory listing, sleeping, opening a web page and playing a short WAV.
// Backends: posix/system/system.cpp, win32/system/system.cpp. Main thread only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace sys {

#ifdef _WIN32
inline constexpr char PathSeparator = '\\';
#else
inline constexpr char PathSeparator = '/';
#endif

// Directory of the running executable, ending in PathSeparator; "" when it cannot be found.
std::string ProgramDirectory();

// The operating system's name as the program shows and tests it ("Windows XP", "Linux", ...).
std::string OperatingSystemName();

// Folder a fresh installation starts in, ending in PathSeparator.
std::string DefaultMusicFolder();

// Windows: the user's roaming application data folder (%APPDATA%), ending in PathSeparator;
// "" when the system does not tell it. Elsewhere always "" (the XDG variables decide there).
std::string UserAppDataFolder();

// An environment variable that places the user's settings on POSIX systems ("XDG_CONFIG_HOME",
// "HOME"); "" when it is unset, and always on Windows, where UserAppDataFolder decides.
std::string ConfigVariable(const char* name);

// Whether the program in programDir (ending in PathSeparator or not) was installed for every
// user of the system: its desktop entry lies where the install rules put it, in
// share/applications beside its bin folder (the Debian package, `cmake --install`). Never on
// Windows, whose zips are portable.
bool IsInstalledProgram(const std::string& programDir);

// What the About window credits for this build: the tool it was made with, the line that says
// where to read about it (each fits 190 pixels in the small font) and that page's address.
struct BuildCredits {
    std::string_view tool;
    std::string_view link;
    std::string_view webAddress;
};
BuildCredits ProgramCredits();

struct DirEntry {
    std::string name;
    bool isDirectory = false;
    // A regular file, or a link to one; never a pipe, socket, device or dangling link, which
    // the scan must not take for songs.
    bool isFile = false;
};

// Directory enumeration by handle number (0..63), so nested scans can each keep their own.
// Entries come in the order a file manager lists them, "." and ".." included.
bool ExamineDirectory(int handle, const std::string& path);
bool NextDirectoryEntry(int handle, DirEntry& entry);
void FinishDirectory(int handle);

// An identity for a directory that is the same for every path leading to it (device and inode,
// volume serial and file index); "" when the directory cannot be examined.
std::string DirectoryIdentity(const std::string& path);

void SleepMs(int milliseconds);

// The program's arguments after its own name, as UTF-8: on Windows from the wide command line
// (argv there holds them in the ANSI code page), elsewhere argv as given.
std::vector<std::string> CommandLineArguments(int argc, char** argv);

// The path made absolute against the current folder; unchanged when it already is, or when it
// cannot be made so.
std::string AbsolutePath(const std::string& path);

// Opens a web address in the default browser, without a shell; failures are ignored.
void OpenUrl(std::string_view url);

// Plays RIFF/WAVE bytes once, in the background. False when there is no sound output.
bool PlayWav(const std::uint8_t* wav, std::size_t size);

}  // namespace sys
