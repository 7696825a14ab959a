// The folder scan, depth first, in the order the system lists the entries.
#include "playback/scan.h"

#include <string>
#include <unordered_set>
#include <utility>

#include "platform/system.h"
#include "trackinfo/frame_header.h"

namespace {

constexpr int MaxLevels = 64;  // enumeration handles the system layer offers

bool IsDotEntry(const std::string& name) {
    return name == "." || name == "..";
}

struct Scan {
    SongListState& songs;
    const ScanDisplay& display;
    // Identities of every folder entered in this scan. A link back to an outer folder would
    // repeat the songs forever, and links reaching one folder twice on each level would make
    // the scan exponential.
    std::unordered_set<std::string> entered;
};

void ScanLevel(Scan& scan, const std::string& path, int level, int withSubfolders);

// True the first time a folder is met; a folder that cannot be examined has no identity and
// is left to the enumeration to report.
bool FirstVisit(Scan& scan, const std::string& path) {
    const std::string identity = sys::DirectoryIdentity(path);
    return identity.empty() || scan.entered.insert(identity).second;
}

// The steps that end every level: what the top level sets last is what stays.
void FinishLevel(Scan& scan, bool opened) {
    if (opened && scan.songs.SongCount <= 0) scan.songs.CurrentSong = 0;
    if (scan.display.levelFinished) scan.display.levelFinished(scan.songs, opened);
}

// The caller has checked that the list has room.
void AddSong(Scan& scan, const std::string& path, const std::string& name) {
    SongListState& songs = scan.songs;
    const auto index = std::size_t(songs.SongCount);
    // Assigned in place, so a rescan reuses the memory of the path it replaces.
    songs.SongList[index].assign(path).append(name);
    if (scan.display.songAdded) scan.display.songAdded(name);
    SongHeaderInfo info = AnalyseSongHeader(songs.SongList[index]);
    songs.SongBitrateText[index] = std::move(info.texts.bitrateText);
    songs.SongSampleRateText[index] = std::move(info.texts.sampleRateText);
    songs.SongDuration[index] = info.duration;
    songs.TotalDuration += info.duration;
    songs.SongCount = int(index) + 1;
}

void ScanEntries(Scan& scan, const std::string& path, int level, int withSubfolders) {
    sys::DirEntry entry;
    while (sys::NextDirectoryEntry(level, entry)) {
        if (IsDotEntry(entry.name)) continue;
        if (!entry.isDirectory) {
            if (!entry.isFile || !IsMp3Name(entry.name)) continue;
            if (scan.songs.SongCount >= MaxSongs) break;  // the list is full
            AddSong(scan, path, entry.name);
        } else if (withSubfolders == 1 && level + 1 < MaxLevels &&
                   scan.songs.SongCount < MaxSongs) {
            const std::string folder = path + entry.name + sys::PathSeparator;
            if (FirstVisit(scan, folder)) ScanLevel(scan, folder, level + 1, 1);
        }
    }
}

void ScanLevel(Scan& scan, const std::string& path, int level, int withSubfolders) {
    if (scan.display.levelStarted) scan.display.levelStarted();

    const bool opened = sys::ExamineDirectory(level, path);
    if (opened) {
        ScanEntries(scan, path, level, withSubfolders);
        sys::FinishDirectory(level);
    }
    FinishLevel(scan, opened);
}

}  // namespace

bool IsMp3Name(std::string_view name) {
    if (name.size() < 4) return false;
    // Only ASCII letters matter: the Latin-1 capitals lower-case to letters not in ".mp3".
    std::string_view tail = name.substr(name.size() - 4);
    static constexpr char wanted[] = ".mp3";
    for (std::size_t i = 0; i < 4; ++i) {
        char c = tail[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
        if (c != wanted[i]) return false;
    }
    return true;
}

void ScanDirectory(SongListState& songs, const std::string& path, int level, int withSubfolders,
                   const ScanDisplay& display) {
    Scan scan{songs, display, {}};
    FirstVisit(scan, path);
    ScanLevel(scan, path, level, withSubfolders);
}
