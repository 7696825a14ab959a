// The transport and the choice of the next song.
#include "app/player.h"

#include <algorithm>
#include <chrono>
#include <random>
#include <string>
#include <vector>

#include "platform/gui.h"
#include "playback/song_commands.h"
#include "playback/time_text.h"
#include "ui/gadgets.h"

namespace {

int SelectedSong() {
    return gui::GetGadgetState(ui::SongChoice);
}

void SelectSong(int index) {
    gui::SetGadgetState(ui::SongChoice, index);
}

void StopDisplays(AppState& app);
void ShowShownSong(AppState& app);

// The current song's details: the length given, and while it is a song of the list its number,
// bitrate and sampling rate.
void ShowDetails(const SongListState& songs, const std::string& length) {
    gui::SetGadgetText(ui::SongLengthText, length);
    if (!IsListedSong(songs, songs.CurrentSong)) return;
    gui::SetGadgetText(ui::SongNumberText, std::to_string(songs.CurrentSong + 1));
    gui::SetGadgetText(ui::BitrateValue, songs.SongBitrateText[songs.CurrentSong]);
    gui::SetGadgetText(ui::SampleRateValue, songs.SongSampleRateText[songs.CurrentSong]);
}

// Opens the current song; false when it cannot be opened (or the index lies outside the list).
// The position starts again; with no poll of it yet, the next pass polls after its shortest
// wait, as the output may start a little later.
bool Open(AppState& app, OpenFailure failure) {
    const int song = app.songs.CurrentSong;
    if (!IsListedSong(app.songs, song) ||
        !OpenAndShowSong(app.mci, app.songs, app.songs.SongList[song], failure)) {
        return false;
    }
    app.player.Position = 0;
    app.player.PositionPolledAt = {};
    app.player.StillPosition = -1;  // a standstill of the song before is not this one's
    return true;
}

// Opens the song the user chose. One that cannot be opened has been reported and stops
// playback: otherwise its end would come at once and bring the message back for ever.
void OpenChosen(AppState& app) {
    if (Open(app, OpenFailure::Report)) return;
    ShowShownSong(app);
    StopDisplays(app);
}

// Closes the open song and opens the current one: previous, next and a new selection.
void SwitchTo(AppState& app) {
    app.player.Paused = 0;
    CloseSong(app.mci);
    OpenChosen(app);
}

// Previous and next: the song becomes the current and selected one, and plays at once while a
// song is playing.
void MoveTo(AppState& app, int song) {
    app.songs.CurrentSong = song;
    SelectSong(song);
    if (app.player.Playing == 1) {
        SwitchTo(app);
    } else {
        ShowShownSong(app);
    }
}

void ResumeFromPosition(AppState& app) {
    app.player.Paused = 0;
    PlaySongFrom(app.mci, app.player.Position);
}

// The end of the list, and the stop button: the position display goes back to the start.
void StopDisplays(AppState& app) {
    gui::SetGadgetState(ui::PositionSlider, 0);
    gui::SetGadgetText(ui::ElapsedText, "0:00");
    gui::SetGadgetEnabled(ui::PositionSlider, false);
    gui::SetGadgetEnabled(ui::FolderButton, true);
    app.player.Playing = 0;
}

// A song that was not opened still shows its own details and folder, so nothing shown belongs to
// the song before it.
void ShowShownSong(AppState& app) {
    const SongListState& songs = app.songs;
    if (!IsListedSong(songs, songs.CurrentSong)) return;
    ShowSongDetails(app);
    gui::SetGadgetText(ui::FolderDisplay, FolderOf(songs.SongList[songs.CurrentSong]));
}

// The entry the list moves on to by itself, or -1 when it has ended. Entries already tried in
// this advance are not tried again; random order also passes over the song that ended.
int NextSong(AppState& app, const std::vector<bool>& tried, int ended) {
    const SongListState& songs = app.songs;
    if (app.options.AllMode != 1) {
        if (app.options.RepeatMode != 1) return -1;
        const int same = SelectedSong();
        return IsListedSong(songs, same) && !tried[same] ? same : -1;
    }
    if (app.options.RandomMode == 1) {
        const int drawn = DrawRandomSong(app, tried, ended);
        if (drawn >= 0) return drawn;
    }
    int next = SelectedSong() + 1;
    if (next == songs.SongCount && app.options.RepeatMode == 1) next = 0;
    return IsListedSong(songs, next) && !tried[next] ? next : -1;
}

}  // namespace

bool OpenAndShowSong(MciChannel& channel, const SongListState& songs, const std::string& path,
                     OpenFailure failure) {
    if (!OpenSong(channel, path)) {
        if (failure == OpenFailure::Report) {
            gui::ShowMessage("MP3 Fehler", "Fehler beim Öffnen der MP3 Datei!\r" + path,
                             gui::MessageIcon::Error);
        }
        return false;
    }
    gui::SetGadgetEnabled(ui::FolderButton, false);
    gui::SetGadgetEnabled(ui::PositionSlider, true);
    ShowDetails(songs, FormatMinSec(channel.SongLength / 1000));
    gui::SetGadgetText(ui::FolderDisplay, FolderOf(path));
    return true;
}

void ShowSongDetails(AppState& app) {
    const SongListState& songs = app.songs;
    // A length measured for another song must not pass for this one's.
    const bool measured = IsListedSong(songs, songs.CurrentSong) &&
                          app.mci.SongLengthPath == songs.SongList[songs.CurrentSong];
    ShowDetails(songs, measured ? FormatMinSec(app.mci.SongLength / 1000) : "0:00");
}

void PressPlay(AppState& app) {
    if (app.songs.SongCount <= 0) return;
    if (app.player.Paused == 1) {
        ResumeFromPosition(app);
    } else if (app.player.Playing == 0) {
        const int selected = SelectedSong();
        app.songs.CurrentSong = IsListedSong(app.songs, selected) ? selected : 0;
        app.player.Playing = 1;
        OpenChosen(app);
    }
}

void PressPause(AppState& app) {
    if (app.player.Playing != 1) return;
    if (app.player.Paused == 0) {
        app.player.Paused = 1;
        PauseSong(app.mci);
    } else {
        ResumeFromPosition(app);
    }
}

void PressStop(AppState& app) {
    app.player.Paused = 0;
    CloseSong(app.mci);
    StopDisplays(app);
}

void PressPrevious(AppState& app) {
    if (app.songs.SongCount <= 0) return;
    const int previous = SelectedSong() - 1;
    MoveTo(app, previous < 0 ? 0 : previous);
}

void PressNext(AppState& app) {
    const int next = SelectedSong() + 1;
    // On the last entry there is no next one, and without a selection none either: selection
    // and current song stay in the list.
    if (next < 1 || !IsListedSong(app.songs, next)) return;
    MoveTo(app, next);
}

void PickSong(AppState& app) {
    const int selected = SelectedSong();
    if (!IsListedSong(app.songs, selected)) return;
    if (app.player.Playing == 1) {
        if (selected == app.songs.CurrentSong) return;
        // The number of the song still sounding, until the new one is open.
        gui::SetGadgetText(ui::SongNumberText, std::to_string(app.songs.CurrentSong + 1));
        app.songs.CurrentSong = selected;
        if (app.player.Paused == 0) {
            CloseSong(app.mci);
            OpenChosen(app);
        }
    } else {
        app.songs.CurrentSong = selected;
        ShowShownSong(app);
    }
}

int DrawRandomSong(AppState& app, const std::vector<bool>& tried, int ended) {
    std::vector<int> candidates;
    for (int song = 0; song < app.songs.SongCount; ++song) {
        if (song != ended && (tried.empty() || !tried[song])) candidates.push_back(song);
    }
    if (candidates.empty()) return -1;
    std::uniform_int_distribution<std::size_t> draw(0, candidates.size() - 1);
    return candidates[draw(app.random)];
}

void FinishSong(AppState& app) {
    SongListState& songs = app.songs;
    const int ended = songs.CurrentSong;
    // A song that cannot be opened is skipped, each at most once: a folder of broken files
    // ends stopped instead of going round for ever.
    std::vector<bool> tried(static_cast<std::size_t>(std::max(songs.SongCount, 0)), false);
    for (;;) {
        const int next = NextSong(app, tried, ended);
        if (next < 0) {
            if (std::find(tried.begin(), tried.end(), true) != tried.end()) ShowShownSong(app);
            StopDisplays(app);
            return;
        }
        tried[next] = true;
        songs.CurrentSong = next;
        SelectSong(next);
        if (Open(app, OpenFailure::Quiet)) return;
    }
}
