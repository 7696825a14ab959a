// The settings file "MP3Klingtal.Ini": twelve keys read once at start-up and written back at
// shutdown. Parsing works on the file's bytes alone; the window placement rules take the screen
// and desktop as parameters. Main thread only.
#pragma once

#include <string>
#include <string_view>

struct Settings {
    std::string Pfad;       // song folder, ending in the path separator
    int AktSong = 0;        // index of the current song
    int AlwaysOnTop = 0;    // 1 = window stays on top
    int OptionOn = 0;       // 1 = window opens in extended mode
    int Transparenz = 255;  // opacity; at least 30 after reading, no upper bound
    int FensterPos = 0;     // 1 = open at the remembered position, 0 = centred
    int FensterXPos = 100;  // remembered outer top-left, desktop pixels
    int FensterYPos = 100;
    int Alle = 1;
    int Wiederholen = 0;
    int Zufall = 0;
    int Unterverz = 0;  // 1 = scan subfolders
};

inline constexpr const char* SettingsFileName = "MP3Klingtal.Ini";
inline constexpr int MinimumTransparency = 30;

// What the placement rules need to know about the screens, in desktop pixels.
struct ScreenGeometry {
    int screenWidth = 0;  // primary screen
    int screenHeight = 0;
    int desktopX = 0;  // bounding box of all monitors
    int desktopY = 0;
    int desktopWidth = 0;
    int desktopHeight = 0;
    int windowWidth = 334;  // outer size of the main window
    int windowHeight = 126;
};

// The settings held in a file's bytes; every key not found keeps its default, and "Pfad"
// defaults to defaultFolder. Opacity below the minimum is raised to it.
Settings ParseSettings(std::string_view fileBytes, const std::string& defaultFolder);

// The value of one key, or defaultValue when the key is not found.
std::string ReadSettingText(std::string_view fileBytes, std::string_view key,
                            std::string_view defaultValue);
int ReadSettingNumber(std::string_view fileBytes, std::string_view key, int defaultValue);

// Centres the window when the remembered position is off, and also when the remembered
// position would put the window entirely outside the desktop (where it could not be reached).
void PlaceWindow(Settings& settings, const ScreenGeometry& screen);

// Reads the file (all defaults when it is missing or unreadable) and places the window.
Settings LoadSettings(const std::string& path, const std::string& defaultFolder,
                      const ScreenGeometry& screen);

// The file's text: twelve lines "key = value" with CR LF, in the fixed key order.
std::string FormatSettings(const Settings& settings);

// The file's bytes are in the system's 8-bit character set (the ANSI code page on Windows,
// UTF-8 elsewhere), so existing files keep working. A folder name the code page cannot hold
// makes the file UTF-8 behind a byte-order mark instead, and such a file is read as UTF-8.
inline constexpr std::string_view Utf8ByteOrderMark = "\xEF\xBB\xBF";
std::string SettingsFileBytes(const Settings& settings);
std::string SettingsTextFromFile(std::string_view fileBytes);  // UTF-8, a mark kept

// Replaces the file atomically. False (and the old file untouched) when it cannot be written;
// callers ignore that, as a settings file that cannot be written is simply not written.
bool SaveSettings(const std::string& path, const Settings& settings);
