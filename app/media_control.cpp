// Media-control requests as clicks on the main window's controls, and the state the desktop
// is shown: the playing state, the current song with its tag, the play modes and the volume.
#include "app/media_control.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

#include "app/hand_over.h"
#include "app/handlers.h"
#include "platform/gui.h"
#include "platform/mci.h"
#include "platform/system.h"
#include "playback/scan.h"
#include "trackinfo/song_tags.h"
#include "ui/gadgets.h"
#include "ui/layout.h"
#include "volume/master_volume.h"

namespace {

using Kind = media::Request::Kind;

// While a modal window waits for the user no pass takes events, so the click acts at once.
void Click(AppState& app, int gadget) {
    if (!gui::InModalWait()) {
        gui::PostEvent({gui::EventGadget, ui::MainWindow, gadget});
        return;
    }
    HandleGadget(app, gadget);
    PublishMediaState(app);
}

// A toggle changes state first, as under the user's click, and only when it must.
void SetToggle(AppState& app, int gadget, bool pressed) {
    if ((gui::GetGadgetState(gadget) == 1) == pressed) return;
    gui::SetGadgetState(gadget, pressed ? 1 : 0);
    Click(app, gadget);
}

// "Playlist" is both toggles pressed, "Track" the repeat toggle alone, "None" the repeat
// toggle released (whatever "Alle" is then).
void SetLoop(AppState& app, media::Loop loop) {
    if (loop != media::Loop::None) SetToggle(app, ui::AllToggle, loop == media::Loop::Playlist);
    SetToggle(app, ui::RepeatToggle, loop != media::Loop::None);
}

// The slider moved to where the position lies, at its own resolution of PositionSteps; its
// handler then plays from there. Only an open song has a position to move to.
void SlideTo(AppState& app, std::int64_t positionMs) {
    const std::int64_t length = app.mci.SongLength;
    if (app.player.Playing != 1 || length <= 0) return;
    gui::SetGadgetState(ui::PositionSlider,
                        static_cast<int>(positionMs * ui::PositionSteps / length));
    Click(app, ui::PositionSlider);
}

// A relative seek: before the start is the start, past the end is the next song.
void SeekBy(AppState& app, std::int64_t offsetMs) {
    if (app.player.Playing != 1) return;
    const std::int64_t target = std::max<std::int64_t>(app.player.Position + offsetMs, 0);
    if (target > app.mci.SongLength) {
        Click(app, ui::NextButton);
    } else {
        SlideTo(app, target);
    }
}

// The file name without its folder and without ".mp3".
std::string SongName(const std::string& path) {
    std::string name = path.substr(path.find_last_of(sys::PathSeparator) + 1);
    if (IsMp3Name(name)) name.resize(name.size() - 4);
    return name;
}

void TakeTag(MediaTrack& track, const std::string& path) {
    if (track.path == path) return;
    track = MediaTrack{};
    track.path = path;
    const TagFields tags = ReadMediaTags(path);
    track.title = tags.title;
    track.artist = tags.artist;
    track.album = tags.album;
    if (track.title.empty()) track.title = SongName(path);
}

}  // namespace

void StartMediaControls(AppState& app) {
    const media::Window window{ui::MainWindow, ui::PreviousImage, ui::PlayImage, ui::PauseImage,
                               ui::NextImage};
    if (!media::Start(window, [&app](const media::Request& r) { HandleMediaRequest(app, r); }))
        return;
    const int requests = media::Descriptor();
    if (requests < 0) return;
    // A desktop that goes away (its bus ends) leaves the program as it would have been without.
    gui::WatchInput(requests, [requests] {
        if (media::Process()) return;
        gui::UnwatchInput(requests);
        media::Stop();
    });
}

void StopMediaControls() {
    const int requests = media::Descriptor();  // -1 when stopped already
    if (requests >= 0) gui::UnwatchInput(requests);
    media::Stop();
}

void HandleMediaRequest(AppState& app, const media::Request& request) {
    const PlayerState& player = app.player;
    switch (request.kind) {
        case Kind::Play:
            Click(app, ui::PlayButton);
            break;
        case Kind::Pause:
            if (player.Playing == 1 && player.Paused == 0) Click(app, ui::PauseButton);
            break;
        case Kind::PlayPause:
            Click(app, player.Playing == 1 ? ui::PauseButton : ui::PlayButton);
            break;
        case Kind::Stop:
            Click(app, ui::StopButton);
            break;
        case Kind::Next:
            Click(app, ui::NextButton);
            break;
        case Kind::Previous:
            Click(app, ui::PreviousButton);
            break;
        case Kind::Seek:
            SeekBy(app, request.value);
            break;
        case Kind::SetPosition:
            if (request.value >= 0 && request.value <= app.mci.SongLength)
                SlideTo(app, request.value);
            break;
        case Kind::SetLoop:
            SetLoop(app, static_cast<media::Loop>(request.value));
            break;
        case Kind::SetShuffle:
            SetToggle(app, ui::RandomToggle, request.value != 0);
            break;
        case Kind::SetVolume:
            SetMasterVolume(request.value);
            break;
        case Kind::Quit:
            gui::PostEvent({gui::EventCloseWindow, ui::MainWindow, -1});
            break;
        case Kind::Raise:
            gui::RaiseWindow(ui::MainWindow);
            break;
        case Kind::Open:
            OpenHandedPath(app, request.path);
            break;
    }
}

media::State MediaState(AppState& app) {
    const SongListState& songs = app.songs;
    const PlayerState& player = app.player;
    media::State state;
    state.songCount = songs.SongCount;
    state.songOpen = player.Playing == 1;
    state.playback = !state.songOpen      ? media::Playback::Stopped
                     : player.Paused == 1 ? media::Playback::Paused
                                          : media::Playback::Playing;
    if (songs.SongCount > 0) {
        state.song = std::clamp(songs.CurrentSong, 0, songs.SongCount - 1);
        state.path = songs.SongList[state.song];
        TakeTag(app.mediaTrack, state.path);
        state.title = app.mediaTrack.title;
        mci::SetSongTitle(state.title);
        state.artist = app.mediaTrack.artist;
        state.album = app.mediaTrack.album;
        // An open song has been measured; any other has the estimate the scan made.
        state.lengthMs = state.songOpen
                             ? app.mci.SongLength
                             : std::max<std::int64_t>(songs.SongDuration[state.song], 0) * 1000;
    }
    state.seeks = player.Seeks;
    state.allMode = app.options.AllMode == 1;
    state.repeatMode = app.options.RepeatMode == 1;
    state.randomMode = app.options.RandomMode == 1;
    state.volume = player.LastVolume;
    return state;
}

void PublishMediaState(AppState& app) {
    // The last poll moved on while the song plays; one not polled yet has not started to move.
    const PlayerState& player = app.player;
    const bool moving = player.Playing == 1 && player.Paused == 0 &&
                        player.PositionPolledAt != std::chrono::steady_clock::time_point{};
    media::Publish(MediaState(app), media::PositionNow(player.Position, player.PositionPolledAt,
                                                       moving, app.mci.SongLength));
}
