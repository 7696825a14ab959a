// The settings file "MP3Klingtal.Ini": twelve keys read once at start-up straight into the state
// the program runs on (the song list's folder, current song and subfolder option, and the play
// modes and window options), and written back from it at shutdown. Parsing works on the file's
// bytes alone; the window placement rules take the screen and desktop as parameters. Main
// thread only.
#pragma once

#include <string>
#include <string_view>

#include "playback/song_list.h"
#include "ui/options.h"

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

// Sets the song list's SongFolder ("Pfad"), CurrentSong ("AktSong") and SubfolderOption
// ("Unterverz") and every option from a file's bytes; every key not found gives its default,
// and "Pfad" defaults to defaultFolder. Opacity below the minimum is raised to it.
void ParseSettings(std::string_view fileBytes, const std::string& defaultFolder,
                   SongListState& songs, ui::Options& options);

// The value of one key, or defaultValue when the key is not found.
std::string ReadSettingText(std::string_view fileBytes, std::string_view key,
                            std::string_view defaultValue);
int ReadSettingNumber(std::string_view fileBytes, std::string_view key, int defaultValue);

// Centres the window when the remembered position is off, and also when the remembered
// position would put the window entirely outside the desktop (where it could not be reached).
void PlaceWindow(ui::Options& options, const ScreenGeometry& screen);

// Reads the file (all defaults when it is missing or unreadable) and places the window.
void LoadSettings(const std::string& path, const std::string& defaultFolder,
                  const ScreenGeometry& screen, SongListState& songs, ui::Options& options);

// The file's text: twelve lines "key = value" with CR LF, in the fixed key order.
std::string FormatSettings(const SongListState& songs, const ui::Options& options);

// The file's bytes are in the system's 8-bit character set (the ANSI code page on Windows,
// UTF-8 elsewhere), so existing files keep working. A folder name the code page cannot hold
// makes the file UTF-8 behind a byte-order mark instead, and such a file is read as UTF-8.
inline constexpr std::string_view Utf8ByteOrderMark = "\xEF\xBB\xBF";
std::string SettingsFileBytes(const SongListState& songs, const ui::Options& options);
std::string SettingsTextFromFile(std::string_view fileBytes);  // UTF-8, a mark kept

// Replaces the file atomically. False (and the old file untouched) when it cannot be written;
// callers ignore that, as a settings file that cannot be written is simply not written.
bool SaveSettings(const std::string& path, const SongListState& songs, const ui::Options& options);
