// The transport and the choice of the next song.
#include "app/player.h"

#include <random>
#include <string>

#include "platform/gui.h"
#include "playback/mci_channel.h"
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

// Opens the current song. A song that cannot be opened (or an index outside the list) stops
// playback: otherwise its "0:00" would count as its end on every pass and bring the error
// message back for ever.
void Open(AppState& app) {
    const int song = app.songs.CurrentSong;
    if (song < 0 || song >= app.songs.SongCount ||
        !OpenSong(app.mci, app.songs, app.songs.SongList[song])) {
        StopDisplays(app);
    }
}

// Closes the open song and opens the current one: previous, next and a new selection.
void SwitchTo(AppState& app) {
    app.player.Paused = 0;
    SendMci(app.mci, "close MP3Stueck");
    Open(app);
}

void ResumeFromPosition(AppState& app) {
    app.player.Paused = 0;
    SendMci(app.mci, "play MP3Stueck from " + std::to_string(app.player.Position));
}

// The end of the list, and the stop button: the position display goes back to the start.
void StopDisplays(AppState& app) {
    gui::SetGadgetState(ui::PositionSlider, 0);
    gui::SetGadgetText(ui::ElapsedText, "0:00");
    gui::SetGadgetEnabled(ui::PositionSlider, false);
    gui::SetGadgetEnabled(ui::FolderButton, true);
    app.player.Playing = 0;
}

}  // namespace

void ShowSongDetails(AppState& app) {
    const SongListState& songs = app.songs;
    // A length measured for another song must not pass for this one's.
    const bool listed = songs.CurrentSong >= 0 && songs.CurrentSong < songs.SongCount;
    const bool measured = listed && app.mci.SongLengthPath == songs.SongList[songs.CurrentSong];
    gui::SetGadgetText(ui::SongLengthText,
                       measured ? FormatMinSec(app.mci.SongLength / 1000) : "0:00");
    if (songs.SongCount <= 0) return;
    gui::SetGadgetText(ui::SongNumberText, std::to_string(songs.CurrentSong + 1));
    gui::SetGadgetText(ui::BitrateValue, songs.SongBitrateText[songs.CurrentSong]);
    gui::SetGadgetText(ui::SampleRateValue, songs.SongSampleRateText[songs.CurrentSong]);
}

void PressPlay(AppState& app) {
    if (app.songs.SongCount <= 0) return;
    if (app.player.Paused == 1) {
        ResumeFromPosition(app);
    } else if (app.player.Playing == 0) {
        const int selected = SelectedSong();
        app.songs.CurrentSong = selected >= 0 && selected < app.songs.SongCount ? selected : 0;
        app.player.Playing = 1;
        Open(app);
    }
}

void PressPause(AppState& app) {
    if (app.player.Playing != 1) return;
    if (app.player.Paused == 0) {
        app.player.Paused = 1;
        SendMci(app.mci, "pause MP3Stueck wait");
    } else {
        ResumeFromPosition(app);
    }
}

void PressStop(AppState& app) {
    app.player.Paused = 0;
    SendMci(app.mci, "close MP3Stueck");
    gui::SetGadgetText(ui::ElapsedText, "0:00");
    gui::SetGadgetEnabled(ui::FolderButton, true);
    gui::SetGadgetState(ui::PositionSlider, 0);
    gui::SetGadgetEnabled(ui::PositionSlider, false);
    app.player.Playing = 0;
}

void PressPrevious(AppState& app) {
    if (app.songs.SongCount <= 0) return;
    const int previous = SelectedSong() - 1;
    app.songs.CurrentSong = previous < 0 ? 0 : previous;
    SelectSong(app.songs.CurrentSong);
    if (app.player.Playing == 1) {
        SwitchTo(app);
    } else {
        ShowSongDetails(app);
    }
}

void PressNext(AppState& app) {
    const int next = SelectedSong() + 1;
    // On the last entry there is no next one: selection and current song stay in the list.
    if (next < 1 || next >= app.songs.SongCount) return;
    app.songs.CurrentSong = next;
    SelectSong(next);
    if (app.player.Playing == 1) {
        SwitchTo(app);
    } else {
        ShowSongDetails(app);
    }
}

void PickSong(AppState& app) {
    const int selected = SelectedSong();
    if (selected < 0 || selected >= app.songs.SongCount) return;
    if (app.player.Playing == 1) {
        if (selected == app.songs.CurrentSong) return;
        // The number of the song still sounding, until the new one is open.
        gui::SetGadgetText(ui::SongNumberText, std::to_string(app.songs.CurrentSong + 1));
        app.songs.CurrentSong = selected;
        if (app.player.Paused == 0) {
            SendMci(app.mci, "close MP3Stueck");
            Open(app);
        }
    } else {
        app.songs.CurrentSong = selected;
        ShowSongDetails(app);
    }
}

int DrawRandomSong(AppState& app) {
    const int count = app.songs.SongCount;
    const int current = app.songs.CurrentSong;
    const bool currentInList = current >= 0 && current < count;
    const int candidates = currentInList ? count - 1 : count;
    if (candidates < 1) return -1;
    std::uniform_int_distribution<int> draw(0, candidates - 1);
    int song = draw(app.random);
    if (currentInList && song >= current) ++song;  // every entry but the current one
    return song;
}

void FinishSong(AppState& app) {
    SongListState& songs = app.songs;
    if (app.player.AllMode == 1) {
        const int drawn = gui::GetGadgetState(ui::RandomToggle) == 1 ? DrawRandomSong(app) : -1;
        songs.CurrentSong = drawn >= 0 ? drawn : SelectedSong() + 1;
        if (songs.CurrentSong < songs.SongCount) {
            SelectSong(songs.CurrentSong);
            Open(app);
        } else if (songs.CurrentSong == songs.SongCount && app.player.RepeatMode == 1) {
            songs.CurrentSong = 0;
            SelectSong(0);
            Open(app);
        } else {
            // The list has played out; its last song, still shown, stays the current one.
            songs.CurrentSong = SelectedSong();
            StopDisplays(app);
        }
    } else if (gui::GetGadgetState(ui::RepeatToggle) == 1) {
        songs.CurrentSong = SelectedSong();
        Open(app);
    } else {
        StopDisplays(app);
    }
}
