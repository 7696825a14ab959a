// Given folders and songs, and the hand-over to the program already running.
#include "app/hand_over.h"

#include "app/handlers.h"
#include "platform/file.h"
#include "platform/gui.h"
#include "platform/instance.h"
#include "platform/system.h"
#include "ui/gadgets.h"

bool HandOverToRunning(const std::string& givenPath) {
    return instance::HandToRunning(givenPath.empty() ? "" : sys::AbsolutePath(givenPath));
}

void PlayGivenSong(AppState& app, const std::string& path) {
    if (app.player.Playing != 0 || !platform::FileExists(path)) return;
    for (int song = 0; song < app.songs.SongCount; ++song) {
        if (app.songs.SongList[song] != path) continue;
        gui::SetGadgetState(ui::SongChoice, song);
        HandleGadget(app, ui::SongChoice);
        HandleGadget(app, ui::PlayButton);
        return;
    }
}

void OpenHandedPath(AppState& app, const std::string& path) {
    gui::RaiseWindow(ui::MainWindow);
    if (path.empty() || gui::InModalWait()) return;
    TakeFolderDrop(app, path);
}
