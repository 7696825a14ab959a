// Start-up in its fixed order, and the shutdown sequence that saves the settings.
#include "app/lifecycle.h"

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

// A hand-edited folder without its closing separator would glue folder and file names. Added
// only once the window is open: the folder display shows the folder as the file holds it, and a
// program whose window failed to open writes the file back as it found it.
void CloseSongFolder(SongListState& songs) {
    if (!songs.SongFolder.empty() && songs.SongFolder.back() != sys::PathSeparator) {
        songs.SongFolder += sys::PathSeparator;
    }
}

// The one option the window does not report to a handler: the remember-position choice.
void TakeRememberPosition(AppState& app) {
    app.options.RememberPosition = gui::GetGadgetState(ui::RememberPositionOption) == 1 ? 1 : 0;
}

// The screens as the window placement sees them; the window's own compact size decides
// whether a remembered position is still within reach.
ScreenGeometry Screen(int screenWidth, int screenHeight) {
    const gui::Rect desktop = gui::DesktopArea();
    ScreenGeometry screen;
    screen.screenWidth = screenWidth;
    screen.screenHeight = screenHeight;
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
    if (PrepareSettingsFolder(app.settingsPath)) {
        SaveSettings(app.settingsPath, app.songs, app.options);
    }
}

// The session ends under the running program, which may be ended without another message:
// save what closing the window would save, with the window where it is now.
void SaveAtSessionEnd(AppState& app) {
    RememberWindowPosition(app);
    TakeRememberPosition(app);
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
void FadeOut(const AppState& app) {
    for (int alpha = ui::OpacityOf(app.options.Transparency); alpha >= 1; alpha -= 2) {
        ui::ApplyTransparency(ui::MainWindow, alpha, app.system.OsName);
    }
}

}  // namespace

bool StartUp(AppState& app, const StartOptions& options) {
    PlayerState& player = app.player;
    const std::string programDir =
        options.programDir.empty() ? sys::ProgramDirectory() : options.programDir;
    RegisterProgramImages();
    app.system.OsName = sys::OperatingSystemName();
    const int screenWidth = gui::ScreenWidth();
    const int screenHeight = gui::ScreenHeight();

    const SettingsFiles files = FindSettingsFiles(CurrentSettingsEnvironment(programDir));
    app.settingsPath = files.write;
    LoadSettings(files.read, sys::DefaultMusicFolder(), Screen(screenWidth, screenHeight),
                 app.songs, app.options);

    player.LastMute = GetMute();
    if (!ui::StartMainWindow(app.options, app.songs.SongFolder, app.songs.SubfolderOption,
                             app.system.OsName, player.LastMute, player.Minimised)) {
        return false;
    }
    CloseSongFolder(app.songs);
    gui::SetSessionEndCallback([&app] { SaveAtSessionEnd(app); });
    // The list goes on while a message or the About window waits for the user.
    gui::SetModalPass([&app] { return ModalPass(app); });
    WatchMixer(true);
    // Before the scan: a program started meanwhile hands over to this one, and is answered
    // (raised) even while the scan reports a folder it cannot read.
    StartMediaControls(app);
    ScanAtStart(app);
    app.system.CaptionHeight = gui::SystemMetric(ui::CaptionHeightMetric);
    app.system.FrameSize = gui::SystemMetric(ui::FrameSizeMetric);
    return true;
}

void RememberWindowPosition(AppState& app) {
    const gui::Rect outer = gui::WindowOuterRect(ui::MainWindow);
    app.options.WindowX = outer.x;
    app.options.WindowY = outer.y;
}

void Shutdown(AppState& app, bool windowOpened) {
    gui::SetSessionEndCallback(nullptr);  // saved here; app may not outlive the window
    gui::SetModalPass(nullptr);
    WatchMixer(false);
    StopMediaControls();
    if (windowOpened) TakeRememberPosition(app);
    WriteSettings(app);
    if (windowOpened) FadeOut(app);
}
