// Reading and writing the settings file, and the window placement rules applied after reading.
#include "app/settings.h"

#include <optional>

#include "platform/file.h"
#include "playback/number_text.h"

namespace {

struct NumberKey {
    const char* name;
    int Settings::*member;
};

// File order after "Pfad", which comes first.
constexpr NumberKey NumberKeys[] = {
    {"AktSong", &Settings::AktSong},         {"AlwaysOnTop", &Settings::AlwaysOnTop},
    {"OptionOn", &Settings::OptionOn},       {"Transparenz", &Settings::Transparenz},
    {"FensterPos", &Settings::FensterPos},   {"FensterXPos", &Settings::FensterXPos},
    {"FensterYPos", &Settings::FensterYPos}, {"Alle", &Settings::Alle},
    {"Wiederholen", &Settings::Wiederholen}, {"Zufall", &Settings::Zufall},
    {"Unterverz", &Settings::Unterverz},
};

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

Settings ParseSettings(std::string_view fileBytes, const std::string& defaultFolder) {
    // Editors may put a UTF-8 byte-order mark in front of the first key.
    if (fileBytes.starts_with(Utf8ByteOrderMark)) fileBytes.remove_prefix(3);
    Settings settings;
    settings.Pfad = ReadSettingText(fileBytes, FolderKey, defaultFolder);
    for (const NumberKey& key : NumberKeys)
        settings.*key.member = ReadSettingNumber(fileBytes, key.name, settings.*key.member);
    if (settings.Transparenz < MinimumTransparency) settings.Transparenz = MinimumTransparency;
    return settings;
}

void PlaceWindow(Settings& settings, const ScreenGeometry& screen) {
    if (settings.FensterPos != 0) {
        // Overlap test in 64 bits: remembered positions can be anything a file holds.
        const long long left = settings.FensterXPos, top = settings.FensterYPos;
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
    settings.FensterXPos = screen.screenWidth / 2 - 167;
    settings.FensterYPos = screen.screenHeight / 2 - 63;
}

Settings LoadSettings(const std::string& path, const std::string& defaultFolder,
                      const ScreenGeometry& screen) {
    std::string bytes;
    platform::ReadWholeFile(path, bytes);  // a missing file reads as empty: all defaults
    Settings settings = ParseSettings(SettingsTextFromFile(bytes), defaultFolder);
    PlaceWindow(settings, screen);
    return settings;
}

std::string SettingsTextFromFile(std::string_view fileBytes) {
    if (fileBytes.starts_with(Utf8ByteOrderMark)) return std::string(fileBytes);
    return platform::NativeTextToUtf8(fileBytes);
}

std::string SettingsFileBytes(const Settings& settings) {
    const std::string text = FormatSettings(settings);
    if (std::optional<std::string> native = platform::Utf8ToNativeText(text)) return *native;
    return std::string(Utf8ByteOrderMark) + text;
}

std::string FormatSettings(const Settings& settings) {
    // A line feed in a folder name (possible on Linux) would end the line early and let the rest
    // pass for further keys, so the value stops there; it is written as it will be read back.
    std::string_view folder = settings.Pfad;
    folder = folder.substr(0, folder.find('\n'));
    while (!folder.empty() && (folder.back() == ' ' || folder.back() == '\r'))
        folder.remove_suffix(1);
    std::string text = std::string(FolderKey) + " = " + std::string(folder) + "\r\n";
    for (const NumberKey& key : NumberKeys)
        text += std::string(key.name) + " = " + std::to_string(settings.*key.member) + "\r\n";
    return text;
}

bool SaveSettings(const std::string& path, const Settings& settings) {
    return platform::ReplaceFileAtomically(path, SettingsFileBytes(settings));
}
