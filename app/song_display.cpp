// The main window's displays of the song list: the scan as it runs, the total, the rescan.
#include "app/song_display.h"

#include "platform/gui.h"
#include "playback/time_text.h"
#include "ui/gadgets.h"

namespace {

void ShowLevelStarted() {
    gui::SetWaitCursor(true);
    gui::SetWindowEnabled(ui::MainWindow, false);
}

void ShowLevelFinished(const SongListState& songs, bool opened) {
    if (opened) {
        if (songs.SongCount > 0) {
            gui::SetGadgetEnabled(ui::SongChoice, true);
            gui::SetGadgetState(ui::SongChoice, 0);
            gui::SetGadgetText(ui::SongCountText, std::to_string(songs.SongCount));
            gui::SetGadgetText(ui::SongNumberText, "1");
        } else {
            gui::SetGadgetEnabled(ui::SongChoice, false);
            gui::SetGadgetText(ui::SongCountText, "0");
            gui::SetGadgetText(ui::SongNumberText, "0");
        }
    } else {
        gui::ShowMessage(
            "Fehler",
            "Verzeichnis kann nicht durchsucht werden: " + gui::GetGadgetText(ui::FolderDisplay),
            gui::MessageIcon::None);
    }
    // Without a song the arrays still hold an earlier folder's first entry: show nothing.
    const bool any = songs.SongCount > 0;
    gui::SetGadgetText(ui::BitrateValue, any ? songs.SongBitrateText[0] : "");
    gui::SetGadgetText(ui::SampleRateValue, any ? songs.SongSampleRateText[0] : "");
    gui::SetWaitCursor(false);
    gui::SetWindowEnabled(ui::MainWindow, true);
}

}  // namespace

ScanDisplay MainWindowScanDisplay() {
    ScanDisplay display;
    display.levelStarted = ShowLevelStarted;
    display.songAdded = [](const std::string& name) { gui::AddGadgetItem(ui::SongChoice, name); };
    display.levelFinished = ShowLevelFinished;
    return display;
}

void ShowTotalDuration(const SongListState& songs) {
    gui::SetGadgetText(ui::TotalTimeText, FormatTotalPlayingTime(songs.TotalDuration));
}

void Rescan(AppState& app) {
    SongListState& songs = app.songs;
    gui::ClearGadgetItems(ui::SongChoice);
    songs.TotalDuration = 0;
    songs.SongCount = 0;
    ScanDirectory(songs, songs.SongFolder, 0, songs.SubfolderOption, MainWindowScanDisplay());
    ShowTotalDuration(songs);
    // A stored song beyond the list (the folder changed since) starts at the first one.
    if (!IsListedSong(songs, songs.CurrentSong)) songs.CurrentSong = 0;
}
