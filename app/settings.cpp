// Reading and writing the settings file, and the window placement rules applied after reading.
#include "app/settings.h"

#include <optional>

#include "platform/file.h"
#include "platform/utf8.h"
#include "playback/number_text.h"

namespace {

// A number key is held either by the song list or by the options.
struct NumberKey {
    const char* name;
    int SongListState::*song;
    int ui::Options::*option;
};

using O = ui::Options;
using S = SongListState;

// File order after "Pfad", which comes first. The names are the file format.
constexpr NumberKey NumberKeys[] = {
    {"AktSong", &S::CurrentSong, nullptr},         {"AlwaysOnTop", nullptr, &O::AlwaysOnTop},
    {"OptionOn", nullptr, &O::OptionOn},           {"Transparenz", nullptr, &O::Transparency},
    {"FensterPos", nullptr, &O::RememberPosition}, {"FensterXPos", nullptr, &O::WindowX},
    {"FensterYPos", nullptr, &O::WindowY},         {"Alle", nullptr, &O::AllMode},
    {"Wiederholen", nullptr, &O::RepeatMode},      {"Zufall", nullptr, &O::RandomMode},
    {"Unterverz", &S::SubfolderOption, nullptr},
};

template <typename Songs, typename Options>
auto& Value(const NumberKey& key, Songs& songs, Options& options) {
    return key.song ? songs.*key.song : options.*key.option;
}

constexpr char FolderKey[] = "Pfad";

char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
    return true;
}

// The raw text after "key =" and any spaces on the first line holding the key, up to the end of
// that line (line feed excluded). Nothing when a section line or the end comes first.
std::optional<std::string_view> FindValue(std::string_view bytes, std::string_view key) {
    while (!bytes.empty()) {
        const std::size_t end = bytes.find('\n');
        std::string_view line = bytes.substr(0, end);
        bytes = end == std::string_view::npos ? std::string_view() : bytes.substr(end + 1);
        if (!line.empty() && line.front() == '[') return std::nullopt;

        const std::size_t start = line.find_first_not_of(' ');
        if (start == std::string_view::npos) continue;
        line.remove_prefix(start);
        if (line.front() == ';' || line.front() == '#') continue;

        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) continue;
        std::string_view name = line.substr(0, equals);
        while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
        if (!EqualIgnoringCase(name, key)) continue;

        std::string_view value = line.substr(equals + 1);
        while (!value.empty() && value.front() == ' ') value.remove_prefix(1);
        return value;
    }
    return std::nullopt;
}

// Notepad saves UTF-8 without a mark. Text that is valid UTF-8 and holds a multi-byte sequence
// is taken as that: umlauts in the ANSI code page almost never form one.
bool IsUtf8WithMultiByte(std::string_view text) {
    bool multiByte = false;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = utf8::Decode(text, i).length;
        if (length == 0) return false;
        multiByte = multiByte || length > 1;
        i += length;
    }
    return multiByte;
}

}  // namespace

std::string ReadSettingText(std::string_view fileBytes, std::string_view key,
                            std::string_view defaultValue) {
    const auto value = FindValue(fileBytes, key);
    if (!value) return std::string(defaultValue);
    std::string_view text = *value;
    // A line ending in CR LF, or trailing blanks typed by hand, are not part of a folder name.
    while (!text.empty() && (text.back() == ' ' || text.back() == '\r')) text.remove_suffix(1);
    return std::string(text);
}

int ReadSettingNumber(std::string_view fileBytes, std::string_view key, int defaultValue) {
    const auto value = FindValue(fileBytes, key);
    return value ? ParseLeadingNumber(*value).value : defaultValue;
}

void ParseSettings(std::string_view fileBytes, const std::string& defaultFolder,
                   SongListState& songs, ui::Options& options) {
    // Editors may put a UTF-8 byte-order mark in front of the first key.
    if (fileBytes.starts_with(Utf8ByteOrderMark)) fileBytes.remove_prefix(3);
    options = ui::Options{};
    songs.CurrentSong = 0;
    songs.SubfolderOption = 0;
    songs.SongFolder = ReadSettingText(fileBytes, FolderKey, defaultFolder);
    for (const NumberKey& key : NumberKeys) {
        int& value = Value(key, songs, options);
        value = ReadSettingNumber(fileBytes, key.name, value);
    }
    if (options.Transparency < MinimumTransparency) options.Transparency = MinimumTransparency;
}

void PlaceWindow(ui::Options& options, const ScreenGeometry& screen) {
    if (options.RememberPosition != 0) {
        // Overlap test in 64 bits: remembered positions can be anything a file holds.
        const long long left = options.WindowX, top = options.WindowY;
        const long long right = left + screen.windowWidth, bottom = top + screen.windowHeight;
        const long long deskRight = (long long)screen.desktopX + screen.desktopWidth;
        const long long deskBottom = (long long)screen.desktopY + screen.desktopHeight;
        const bool reachable = right > screen.desktopX && left < deskRight &&
                               bottom > screen.desktopY && top < deskBottom;
        // An empty desktop area means it is not known; the remembered position stands then.
        const bool desktopKnown = screen.desktopWidth > 0 && screen.desktopHeight > 0;
        if (reachable || !desktopKnown) return;
    }
    // Halving rounds down, also for odd sizes.
    options.WindowX = screen.screenWidth / 2 - 167;
    options.WindowY = screen.screenHeight / 2 - 63;
}

void LoadSettings(const std::string& path, const std::string& defaultFolder,
                  const ScreenGeometry& screen, SongListState& songs, ui::Options& options) {
    std::string bytes;
    platform::ReadWholeFile(path, bytes);  // a missing file reads as empty: all defaults
    ParseSettings(SettingsTextFromFile(bytes), defaultFolder, songs, options);
    PlaceWindow(options, screen);
}

std::string SettingsTextFromFile(std::string_view fileBytes) {
    if (fileBytes.starts_with(Utf8ByteOrderMark) || IsUtf8WithMultiByte(fileBytes))
        return std::string(fileBytes);
    return platform::NativeTextToUtf8(fileBytes);
}

std::string SettingsFileBytes(const SongListState& songs, const ui::Options& options) {
    const std::string text = FormatSettings(songs, options);
    if (std::optional<std::string> native = platform::Utf8ToNativeText(text)) return *native;
    return std::string(Utf8ByteOrderMark) + text;
}

std::string FormatSettings(const SongListState& songs, const ui::Options& options) {
    // A line feed in a folder name (possible on Linux) would end the line early and let the rest
    // pass for further keys, so the value stops there; it is written as it will be read back.
    std::string_view folder = songs.SongFolder;
    folder = folder.substr(0, folder.find('\n'));
    while (!folder.empty() && (folder.back() == ' ' || folder.back() == '\r'))
        folder.remove_suffix(1);
    std::string text = std::string(FolderKey) + " = " + std::string(folder) + "\r\n";
    for (const NumberKey& key : NumberKeys)
        text += std::string(key.name) + " = " + std::to_string(Value(key, songs, options)) + "\r\n";
    return text;
}

bool SaveSettings(const std::string& path, const SongListState& songs, const ui::Options& options) {
    return platform::ReplaceFileAtomically(path, SettingsFileBytes(songs, options));
}
