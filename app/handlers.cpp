// The handlers of the main window's controls. The transport buttons live in player.cpp.
#include "app/handlers.h"

#include <cstdint>
#include <optional>
#include <string>

#include "app/hand_over.h"
#include "app/player.h"
#include "app/song_display.h"
#include "platform/file.h"
#include "platform/gui.h"
#include "platform/system.h"
#include "playback/song_commands.h"
#include "trackinfo/song_tags.h"
#include "ui/about_window.h"
#include "ui/gadgets.h"
#include "ui/images.h"
#include "ui/layout.h"
#include "ui/main_window.h"
#include "volume/mixer.h"

namespace {

// The folder a dropped item stands for: a folder itself, a file the folder it is in. Anything
// else is taken as a folder too, whose scan then says that it cannot be searched.
std::string DroppedFolder(const std::string& path) {
    if (path.empty()) return {};
    const std::size_t cut = path.find_last_of(sys::PathSeparator);
    if (platform::FileExists(path) && cut != std::string::npos) return path.substr(0, cut + 1);
    return path.back() == sys::PathSeparator ? path : path + sys::PathSeparator;
}

// The new folder replaces the list. An empty one (a cancelled requester) changes nothing.
void UseFolder(AppState& app, const std::string& folder) {
    SongListState& songs = app.songs;
    if (folder.empty()) return;
    songs.SongFolder = folder;
    gui::SetGadgetText(ui::FolderDisplay, folder);
    Rescan(app);
    // The list shows its first song now: that is the one remembered and played.
    songs.CurrentSong = 0;
    ShowSongDetails(app);
}

void ChooseFolder(AppState& app) {
    // A drop onto the window comes as a click on this button and answers for the requester.
    const std::string dropped = gui::TakeDroppedPath();
    std::string folder = DroppedFolder(dropped);
    if (folder.empty()) {
        folder = gui::RequestFolder("Wähle das Verzeichnis mit den zu spielenden MP3-Musikstücken:",
                                    app.songs.SongFolder);
    }
    UseFolder(app, folder);
    PlayGivenSong(app, dropped);
}

void MoveToSliderPosition(AppState& app) {
    PlayerState& player = app.player;
    player.Idle = 0;
    player.SliderValue = gui::GetGadgetState(ui::PositionSlider);
    // 64 bits: 500 times a song of over 71 minutes does not fit 32.
    player.Position = static_cast<int>(static_cast<std::int64_t>(player.SliderValue) *
                                       app.mci.SongLength / ui::PositionSteps);
    ++player.Seeks;
    if (player.Paused == 0) {
        PlaySongFrom(app.mci, player.Position);
    }
}

void ShowTagInfo(AppState& app) {
    const SongListState& songs = app.songs;
    // Without a current song there is no file to read (stale entries are not songs).
    if (!IsListedSong(songs, songs.CurrentSong)) return;
    const std::optional<std::string> text = ReadTagInfo(songs.SongList[songs.CurrentSong]);
    if (text) gui::ShowMessage("ID3-Info", *text, gui::MessageIcon::None);
}

void SetExtended(AppState& app, bool extended) {
    ui::SetExtendedMode(extended);
    app.options.AlwaysOnTop = gui::GetGadgetState(ui::OnTopOption);
    gui::SetWindowTopmost(ui::MainWindow, app.options.AlwaysOnTop == 1);
    app.options.OptionOn = extended ? 1 : 0;
}

void SetAllMode(AppState& app) {
    if (app.options.RandomMode == 1) {
        gui::SetGadgetState(ui::AllToggle, 1);  // random order needs all songs
    } else {
        app.options.AllMode = gui::GetGadgetState(ui::AllToggle);
    }
}

void SetRandomMode(AppState& app) {
    if (gui::GetGadgetState(ui::RandomToggle) == 1) {
        app.options.RandomMode = 1;
        if (app.options.AllMode == 0) {
            app.options.AllMode = 1;
            gui::SetGadgetState(ui::AllToggle, 1);
        }
    } else {
        app.options.RandomMode = 0;
    }
}

// The mute and unmute buttons: the other button shows, and the mixer is told. Unmuting asks
// the mixer before and after the buttons swap, as the program always has; the second request
// changes nothing on the mixers we know and is kept so the button acts as it always did.
void PressMute(int muted) {
    if (muted == 0) SetMute(0);
    ui::ShowMuteState(muted);
    SetMute(muted);
}

}  // namespace

void TakeFolderDrop(AppState& app, const std::string& path) {
    if (gui::IsGadgetEnabled(ui::FolderButton) && gui::IsGadgetVisible(ui::FolderButton)) {
        UseFolder(app, DroppedFolder(path));
        PlayGivenSong(app, path);
    }
}

void HandleGadget(AppState& app, int gadget) {
    PlayerState& player = app.player;
    switch (gadget) {
        case ui::FolderButton:
            ChooseFolder(app);
            break;
        case ui::PlayButton:
            PressPlay(app);
            break;
        case ui::PauseButton:
            PressPause(app);
            break;
        case ui::NextButton:
            PressNext(app);
            break;
        case ui::PreviousButton:
            PressPrevious(app);
            break;
        case ui::StopButton:
            PressStop(app);
            break;
        case ui::AllToggle:
            SetAllMode(app);
            break;
        case ui::RepeatToggle:
            app.options.RepeatMode = gui::GetGadgetState(ui::RepeatToggle);
            break;
        case ui::RandomToggle:
            SetRandomMode(app);
            break;
        case ui::SongChoice:
            PickSong(app);
            break;
        case ui::PositionSlider:
            MoveToSliderPosition(app);
            break;
        case ui::MuteButton:
            PressMute(1);
            break;
        case ui::UnmuteButton:
            PressMute(0);
            break;
        case ui::InfoButton:
            ShowTagInfo(app);
            break;
        case ui::ExpandButton:
            SetExtended(app, true);
            break;
        case ui::ShrinkButton:
            SetExtended(app, false);
            break;
        case ui::OnTopOption:
            app.options.AlwaysOnTop = gui::GetGadgetState(ui::OnTopOption);
            gui::SetWindowTopmost(ui::MainWindow, app.options.AlwaysOnTop == 1);
            break;
        case ui::SubfolderOption:
            app.songs.SubfolderOption = gui::GetGadgetState(ui::SubfolderOption);
            break;
        case ui::TransparencySlider:
            app.options.Transparency = gui::GetGadgetState(ui::TransparencySlider);
            ui::ApplyTransparency(ui::MainWindow, app.options.Transparency, app.system.OsName);
            break;
        case ui::AboutButton:
            RegisterAboutImage();
            ui::ShowAboutWindow(ui::SystemAboutActions());
            break;
        case ui::VolumeKnob:
            player.VolumeDrag = 0;
            break;
        default:
            break;
    }
}
