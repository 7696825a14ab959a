// The volume knob on its track and the mute buttons beside it.
#include "app/volume_knob.h"

#include <algorithm>

#include "platform/gui.h"
#include "ui/gadgets.h"
#include "ui/layout.h"
#include "volume/mixer.h"

namespace {

constexpr int KnobLeft = ui::VolumeTrackX;
constexpr int KnobRight = KnobLeft + 65535 / 1000;
constexpr std::uint32_t VolumeMax = 65535;

void PlaceKnob(int x) {
    const gui::Rect knob = gui::GadgetRect(ui::VolumeKnob);
    gui::ResizeGadget(ui::VolumeKnob, x, knob.y, knob.width, knob.height);
}

// Sets the volume the knob at x stands for and shows the knob there.
void SetKnob(PlayerState& player, int x) {
    x = std::clamp(x, KnobLeft, KnobRight);
    player.LastVolume = VolumeForKnobX(x);
    SetVolume(player.LastVolume);
    PlaceKnob(x);
}

// Mouse positions in client coordinates.
void ReadMouse(PlayerState& player) {
    player.MouseX = gui::WindowMouseX(ui::MainWindow) - player.FrameSize;
    player.MouseY = gui::WindowMouseY(ui::MainWindow) - player.CaptionHeight;
}

bool MouseOnVolumeTrack(const PlayerState& player) {
    return player.MouseX > ui::VolumeTrackX &&
           player.MouseX < ui::VolumeTrackX + ui::VolumeTrackWidth &&
           player.MouseY > ui::VolumeKnobY &&
           player.MouseY < ui::VolumeKnobY + ui::VolumeKnobHeight;
}

bool MouseOnKnob(const PlayerState& player) {
    const gui::Rect knob = gui::GadgetRect(ui::VolumeKnob);
    return player.MouseX >= knob.x && player.MouseX < knob.x + knob.width &&
           player.MouseY >= knob.y && player.MouseY < knob.y + knob.height;
}

void ShowMute(int muted) {
    gui::SetGadgetVisible(ui::MuteButton, muted == 0);
    gui::SetGadgetVisible(ui::UnmuteButton, muted != 0);
}

}  // namespace

int KnobXForVolume(std::uint32_t volume) {
    return static_cast<int>(std::min(volume, VolumeMax) / 1000) + KnobLeft;
}

std::uint32_t VolumeForKnobX(int x) {
    const int pixels = std::clamp(x, KnobLeft, KnobRight) - KnobLeft;
    return static_cast<std::uint32_t>(pixels) * VolumeMax / (KnobRight - KnobLeft);
}

void FollowMixer(PlayerState& player) {
    const std::uint32_t volume = GetVolume();
    if (volume != player.LastVolume) {
        PlaceKnob(KnobXForVolume(volume));
        player.LastVolume = volume;
    }
    const int muted = GetMute();
    if (muted != player.LastMute) {
        ShowMute(muted);
        player.LastMute = muted;
    }
}

void PressOnVolume(PlayerState& player) {
    ReadMouse(player);
    if (MouseOnVolumeTrack(player)) player.VolumeDrag = 1;
}

void DragKnob(PlayerState& player) {
    ReadMouse(player);
    if (!MouseOnVolumeTrack(player)) {
        player.VolumeDrag = 0;
        return;
    }
    SetKnob(player, player.MouseX - ui::VolumeKnobGrip);
}

void TurnWheelOnVolume(PlayerState& player, int notches) {
    ReadMouse(player);
    if (!MouseOnVolumeTrack(player) && !MouseOnKnob(player)) return;
    SetKnob(player, KnobXForVolume(GetVolume()) + notches);
}
