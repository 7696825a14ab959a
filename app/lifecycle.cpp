// Start-up in its fixed order, and the shutdown sequence that saves the settings.
#include "app/lifecycle.h"

#include <algorithm>
#include <string>

#include "app/main_loop.h"
#include "app/media_control.h"
#include "app/player.h"
#include "app/settings.h"
#include "app/settings_location.h"
#include "app/song_display.h"
#include "platform/gui.h"
#include "platform/system.h"
#include "ui/gadgets.h"
#include "ui/images.h"
#include "ui/layout.h"
#include "ui/main_window.h"
#include "volume/mixer.h"

namespace {

// Play modes and window options, as the controls will show them.
void TakeSettings(AppState& app) {
    const Settings& s = app.settings;
    PlayerState& player = app.player;
    player.AllMode = s.Alle;
    player.RepeatMode = s.Wiederholen;
    player.RandomMode = s.Zufall;
    player.AlwaysOnTop = s.AlwaysOnTop;
    player.OptionOn = s.OptionOn;
    player.Transparency = s.Transparenz;
    app.songs.SongFolder = s.Pfad;
    // A hand-edited folder without its closing separator would glue folder and file names.
    if (!s.Pfad.empty() && s.Pfad.back() != sys::PathSeparator) {
        app.songs.SongFolder += sys::PathSeparator;
    }
    app.songs.CurrentSong = s.AktSong;
    app.songs.SubfolderOption = s.Unterverz;
}

void GiveSettings(AppState& app) {
    Settings& s = app.settings;
    const PlayerState& player = app.player;
    s.Pfad = app.songs.SongFolder;
    s.AktSong = app.songs.CurrentSong;
    s.AlwaysOnTop = player.AlwaysOnTop;
    s.OptionOn = player.OptionOn;
    s.Transparenz = player.Transparency;
    s.FensterPos = gui::GetGadgetState(ui::RememberPositionOption) == 1 ? 1 : 0;
    s.Alle = player.AllMode;
    s.Wiederholen = player.RepeatMode;
    s.Zufall = player.RandomMode;
    s.Unterverz = app.songs.SubfolderOption;
}

// The screens as the window placement sees them; the window's own compact size decides
// whether a remembered position is still within reach.
ScreenGeometry Screen(const AppState& app) {
    const gui::Rect desktop = gui::DesktopArea();
    ScreenGeometry screen;
    screen.screenWidth = app.player.ScreenWidth;
    screen.screenHeight = app.player.ScreenHeight;
    screen.desktopX = desktop.x;
    screen.desktopY = desktop.y;
    screen.desktopWidth = desktop.width;
    screen.desktopHeight = desktop.height;
    screen.windowWidth = ui::CompactOuterWidth;
    screen.windowHeight = ui::CompactOuterHeight;
    return screen;
}

void ScanAtStart(AppState& app) {
    Rescan(app);
    gui::SetGadgetState(ui::SongChoice, app.songs.CurrentSong);
    ShowSongDetails(app);
}

// A settings file that cannot be written is simply not written: nothing to report.
void WriteSettings(const AppState& app) {
    if (PrepareSettingsFolder(app.settingsPath)) SaveSettings(app.settingsPath, app.settings);
}

// The session ends under the running program, which may be ended without another message:
// save what closing the window would save, with the window where it is now.
void SaveAtSessionEnd(AppState& app) {
    RememberWindowPosition(app);
    GiveSettings(app);
    WriteSettings(app);
}

// The main loop's wait also ends when the mixer reports a change made elsewhere. Its
// descriptor stays the same for the run; where there is none (Windows), changes arrive as
// window messages.
void WatchMixer(bool watch) {
    const int changes = MixerChangeDescriptor();
    if (changes < 0) return;
    if (watch) {
        gui::WatchInput(changes, [] { TakeMixerChanges(); });
    } else {
        gui::UnwatchInput(changes);
    }
}

// From the window's opacity down to 1 in steps of 2. A stored opacity above 255 (the settings
// keep any value) fades from opaque, so the fade never takes more than 128 steps.
void FadeOut(const PlayerState& player) {
    for (int alpha = std::min(player.Transparency, 255); alpha >= 1; alpha -= 2) {
        ui::ApplyTransparency(ui::MainWindow, alpha, player.OsName);
    }
}

}  // namespace

bool StartUp(AppState& app, const StartOptions& options) {
    PlayerState& player = app.player;
    player.ProgramDir = options.programDir.empty() ? sys::ProgramDirectory() : options.programDir;
    RegisterProgramImages();
    player.OsName = sys::OperatingSystemName();
    player.ScreenWidth = gui::ScreenWidth();
    player.ScreenHeight = gui::ScreenHeight();

    const SettingsFiles files = FindSettingsFiles(CurrentSettingsEnvironment(player.ProgramDir));
    app.settingsPath = files.write;
    app.settings = LoadSettings(files.read, sys::DefaultMusicFolder(), Screen(app));
    TakeSettings(app);

    player.LastMute = GetMute();
    if (!ui::StartMainWindow(ui::WindowSettingsFrom(app.settings), player.OsName, player.LastMute,
                             player.Minimised)) {
        return false;
    }
    gui::SetSessionEndCallback([&app] { SaveAtSessionEnd(app); });
    // The list goes on while a message or the About window waits for the user.
    gui::SetModalPass([&app] { return ModalPass(app); });
    WatchMixer(true);
    ScanAtStart(app);
    StartMediaControls(app);
    player.CaptionHeight = gui::SystemMetric(ui::CaptionHeightMetric);
    player.FrameSize = gui::SystemMetric(ui::FrameSizeMetric);
    return true;
}

void RememberWindowPosition(AppState& app) {
    const gui::Rect outer = gui::WindowOuterRect(ui::MainWindow);
    app.settings.FensterXPos = outer.x;
    app.settings.FensterYPos = outer.y;
}

void Shutdown(AppState& app, bool windowOpened) {
    gui::SetSessionEndCallback(nullptr);  // saved here; app may not outlive the window
    gui::SetModalPass(nullptr);
    WatchMixer(false);
    StopMediaControls();
    if (windowOpened) GiveSettings(app);
    WriteSettings(app);
    if (windowOpened) FadeOut(app.player);
}
