// Times the whole scan of a folder of 10,000 small MP3 files as choosing that folder runs it
// (enumeration, frame header analysis, drop-down items, total playing time) in the real main
// window, against the floor loop over the same files in the same run. Built once per gui
// backend: bench_scan_headless and bench_scan_fltk (which needs an X display).
// Usage: bench_scan_<gui> [folder]  (default: <temp>/klingtal-bench-corpus, made once, then reused)
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/song_display.h"
#include "platform/gui.h"
#if KLINGTAL_BENCH_FLTK
#include "platform/posix/gui/inspect.h"
#else
#include "platform/headless/headless.h"
#endif
#include "platform/system.h"
#include "playback/scan.h"
#include "playback/song_list.h"
#include "tools/bench/corpus/corpus.h"
#include "ui/gadgets.h"
#include "ui/images.h"
#include "ui/main_window.h"

namespace {

constexpr int Rounds = 9;

// Each backend's own read-back of the drop-down's items.
#if KLINGTAL_BENCH_FLTK
constexpr const char* GuiName = "FLTK";
namespace inspect = gui::fltk;
#else
constexpr const char* GuiName = "headless";
namespace inspect = gui::headless;
#endif

// The steps of choosing a folder, then one pass of event handling so a toolkit gets to redraw.
void ScanAsChosen(SongListState& songs, const std::string& folder) {
    gui::ClearGadgetItems(ui::SongChoice);
    songs.TotalDuration = 0;
    songs.SongCount = 0;
    ScanDirectory(songs, folder, 0, 0, MainWindowScanDisplay());
    ShowTotalDuration(songs);
    gui::PollEvent();
}

// What the scan must have produced; a fast scan that lost songs would prove nothing.
bool ScanComplete(const SongListState& songs) {
    if (songs.SongCount != bench::CorpusSize) return false;
    if (inspect::CountGadgetItems(ui::SongChoice) != bench::CorpusSize) return false;
    if (inspect::GetGadgetItemText(ui::SongChoice, bench::CorpusSize - 1) != "song9999.mp3") {
        return false;
    }
    for (int i = 0; i < songs.SongCount; ++i) {
        if (songs.SongBitrateText[std::size_t(i)] != "128") return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
#if KLINGTAL_BENCH_FLTK
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || *display == '\0') {
        std::printf("skipped: no DISPLAY\n");
        return 0;
    }
#endif
    const std::string folder = argc > 1 ? argv[1] : bench::DefaultCorpusFolder();
    const std::vector<std::string> paths = bench::PrepareCorpus(folder);
    if (paths.empty()) {
        std::fprintf(stderr, "cannot write the corpus to %s\n", folder.c_str());
        return 1;
    }

    RegisterProgramImages();
    const std::string songFolder = folder + sys::PathSeparator;
    int minimised = 0;
    if (!ui::StartMainWindow(ui::Options{}, songFolder, 0, sys::OperatingSystemName(), 0,
                             minimised)) {
        std::fprintf(stderr, "cannot open the main window\n");
        return 1;
    }

    static SongListState songs;  // four arrays of 10,000 entries
    std::int64_t floorBytes = 0;
    double floor = 1e30, scan = 1e30, firstScan = 0;
    // Alternating rounds, best of each: both see the same warm page cache. The first scan
    // also grows every container from nothing, as the program's scan at start does.
    for (int round = 0; round < Rounds; ++round) {
        floor = std::min(floor, bench::Seconds([&] { floorBytes += bench::FloorPass(paths); }));
        const double seconds = bench::Seconds([&] { ScanAsChosen(songs, songFolder); });
        if (round == 0) firstScan = seconds;
        scan = std::min(scan, seconds);
        if (!ScanComplete(songs)) {
            std::fprintf(stderr, "the scan found %d songs, the drop-down holds %d items\n",
                         songs.SongCount, inspect::CountGadgetItems(ui::SongChoice));
            return 1;
        }
    }
    gui::CloseWindow(ui::MainWindow);

    const double files = bench::CorpusSize;
    std::printf("corpus: %d files in %s, gui: %s\n", bench::CorpusSize, folder.c_str(), GuiName);
    std::printf("floor (open, read 4 KiB, size, close): %.0f files/s\n", files / floor);
    std::printf("scan, best of %d:                       %.0f files/s\n", Rounds, files / scan);
    std::printf("scan, first round:                     %.0f files/s\n", files / firstScan);
    std::printf("ratio scan/floor (time):               %.3f\n", scan / floor);
    return floorBytes > 0 ? 0 : 1;
}
