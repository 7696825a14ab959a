// The main loop: one event per pass; a pass without one waits a little for the next.
#include "app/main_loop.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <string>

#include "app/handlers.h"
#include "app/lifecycle.h"
#include "app/media_control.h"
#include "app/player.h"
#include "app/volume_knob.h"
#include "platform/gui.h"
#include "platform/system.h"
#include "playback/song_commands.h"
#include "playback/time_text.h"
#include "ui/gadgets.h"
#include "ui/layout.h"
#include "volume/mixer.h"

namespace {

// How long a pass without an event waits for one (milliseconds; negative: until something
// arrives). An event, a mixer change or a media-control request ends the wait at once. While a
// song plays, the pass wakes just after the next whole second of the position is due (the
// position text shows whole seconds and the slider moves with it), or just after the song's end
// is due, whichever comes first. Dragging the knob follows the mouse, which sends no events,
// every 20 ms. A mixer that cannot report changes is asked once a second.
constexpr int DragWaitMs = 20;
constexpr int UnreportedMixerWaitMs = 1000;
constexpr int SecondMs = 1000;
// Wakes this much after the second or the end is due, so that the poll never lands just before
// it; and waits at least this long, for a device that has not moved since the last poll (a song
// just opened or moved by the slider starts a few tens of milliseconds later).
constexpr int DueMarginMs = 2;
constexpr int ShortestPlayingWaitMs = 20;
// A song whose length the device cannot tell has ended when its position has not moved for
// this long while it plays.
constexpr auto StandstillEnd = std::chrono::milliseconds(1000);
// Any song whose position has not moved on for this long while it plays is asked after: a
// device that says it has stopped has played it out (or never started it), whatever its
// position and length say.
constexpr auto StandstillAsk = std::chrono::milliseconds(1500);

int WaitMs(const AppState& app) {
    const PlayerState& player = app.player;
    if (player.VolumeDrag == 1) return DragWaitMs;
    if (player.Playing == 1 && player.Paused == 0) {
        const auto sincePoll = std::chrono::duration_cast<std::chrono::milliseconds>(
                                   std::chrono::steady_clock::now() - player.PositionPolledAt)
                                   .count();
        std::int64_t untilDue = SecondMs - player.Position % SecondMs;
        const std::int32_t end = SongEndMs(app.mci.clock, app.mci.SongLength);
        if (end > player.Position) {
            untilDue = std::min<std::int64_t>(untilDue, end - player.Position);
        }
        return static_cast<int>(std::clamp<std::int64_t>(untilDue + DueMarginMs - sincePoll,
                                                         ShortestPlayingWaitMs, SecondMs));
    }
    return MixerReportsChanges() ? -1 : UnreportedMixerWaitMs;
}

void ShowPosition(AppState& app) {
    PlayerState& player = app.player;
    player.Position = PollSongPosition(app.mci);
    player.PositionPolledAt = std::chrono::steady_clock::now();
    if (player.Position != player.StillPosition) {
        player.StillPosition = player.Position;
        player.StillSince = player.PositionPolledAt;
    }
    const std::string elapsed = FormatMinSec(player.Position / 1000);
    gui::SetGadgetText(ui::ElapsedText, elapsed);
    if (player.Minimised == 1) {
        // The taskbar entry of the minimised window shows the running time and the song.
        gui::SetWindowTitle(ui::MainWindow, elapsed + " " + gui::GetGadgetText(ui::SongChoice));
        sys::SleepMs(250);
    }
}

void MoveSlider(AppState& app) {
    PlayerState& player = app.player;
    // A song of length 0 has no position on the slider.
    if (player.Position <= 0 || player.Idle != 1 || player.Playing != 1) return;
    if (app.mci.SongLength <= 0) return;
    // A song may play on past the length its device answered; the slider stays at its end.
    player.SliderValue = static_cast<int>(std::min<std::int64_t>(
        static_cast<std::int64_t>(player.Position) * ui::PositionSteps / app.mci.SongLength,
        ui::PositionSteps));
    gui::SetGadgetState(ui::PositionSlider, player.SliderValue);
}

// The song has ended when its polled position has reached its length (milliseconds), so it
// plays to its last sample. Without a length, when its position has stood still for a second
// away from the start: a device that cannot measure the song must not race through the list.
// And whenever the position has stood still for a while and the device says it has stopped:
// no song waits for ever at an end its position never reaches. A song that may sound on past
// its length is asked after as soon as its position stands there.
bool SongHasEnded(AppState& app) {
    const PlayerState& player = app.player;
    const auto still = player.PositionPolledAt - player.StillSince;
    const std::int32_t length = app.mci.SongLength;
    if (length > 0 && player.Position >= SongEndMs(app.mci.clock, length)) {
        if (!MayPlayPastLength(app.mci.clock)) return true;
        return still > std::chrono::steady_clock::duration::zero() && SongHasStopped(app.mci);
    }
    if (length <= 0 && player.Position > 0 && still >= StandstillEnd) return true;
    return still >= StandstillAsk && SongHasStopped(app.mci);
}

// Polls the position of a playing song and moves on when it has ended. A paused song does not
// move; polling it would overwrite the position the slider chose for the next resume.
void FollowSong(AppState& app) {
    PlayerState& player = app.player;
    const bool plays = player.Playing == 1 && player.Paused == 0;
    if (plays) {
        ShowPosition(app);
    } else {
        player.StillPosition = -1;  // the standstill is measured over polls in a row only
    }
    MoveSlider(app);
    if (!plays || !SongHasEnded(app)) return;
    CloseSong(app.mci);
    FinishSong(app);
}

// A slide of the position slider, or a press that may be one: a press on the slider's track
// moves it at once, and some toolkits report the press before the slide.
bool MaySlide(const gui::Event& event) {
    return event.type == gui::EventLeftButtonDown ||
           (event.type == gui::EventGadget && event.gadget == ui::PositionSlider);
}

void HandleEvent(AppState& app, const gui::Event& event) {
    PlayerState& player = app.player;
    switch (event.type) {
        case gui::EventGadget:
            HandleGadget(app, event.gadget);
            break;
        case gui::EventCloseWindow:
            RememberWindowPosition(app);
            player.Quit = 1;
            break;
        case gui::EventLeftButtonUp:
            player.VolumeDrag = 0;
            break;
        case gui::EventLeftButtonDown:
            PressOnVolume(player, app.system);
            break;
        case gui::EventMouseWheel:
            if (event.window == ui::MainWindow) TurnWheelOnVolume(player, app.system, event.wheel);
            break;
        default:
            break;
    }
}

}  // namespace

bool LoopPass(AppState& app) {
    PlayerState& player = app.player;
    gui::Event event = gui::PollEvent();
    if (event.type == gui::EventNone) {
        gui::WaitForEvent(WaitMs(app));
        player.Idle = 1;
        // The event that ended the wait, if one did, is this pass's: answered at once, and a
        // slide that arrived meanwhile is not undone by the slider display below.
        event = gui::PollEvent();
    }
    if (MaySlide(event)) {
        // The user moved the slider: the display below must not put it back before the
        // slider's handler has read where the user left it.
        player.Idle = 0;
    }
    FollowMixer(player);
    FollowSong(app);
    if (event.type != gui::EventNone) HandleEvent(app, event);
    if (player.VolumeDrag == 1) DragKnob(player, app.system);
    PublishMediaState(app);
    return player.Quit != 1;
}

int ModalPass(AppState& app) {
    // The user cannot reach the slider while a modal window is open: the display may move it.
    app.player.Idle = 1;
    FollowMixer(app.player);
    FollowSong(app);
    PublishMediaState(app);
    return WaitMs(app);
}

void RunMainLoop(AppState& app) {
    while (LoopPass(app)) {
    }
}
