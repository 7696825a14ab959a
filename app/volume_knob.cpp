// The volume knob on its track and the mute buttons beside it.
#include "app/volume_knob.h"

#include <algorithm>

#include "platform/gui.h"
#include "ui/gadgets.h"
#include "ui/layout.h"
#include "ui/main_window.h"
#include "volume/master_volume.h"

namespace {

constexpr std::uint32_t VolumeMax = mixer_scale::LevelMax;
constexpr std::uint32_t VolumePerPixel = 1000;
constexpr int KnobLeft = ui::VolumeTrackX;
constexpr int KnobRight = KnobLeft + static_cast<int>(VolumeMax / VolumePerPixel);

void PlaceKnob(int x) {
    const gui::Rect knob = gui::GadgetRect(ui::VolumeKnob);
    gui::ResizeGadget(ui::VolumeKnob, x, knob.y, knob.width, knob.height);
}

// Sets the volume the knob at x stands for and shows the knob there.
void SetKnob(PlayerState& player, int x) {
    x = std::clamp(x, KnobLeft, KnobRight);
    player.LastVolume = SetMasterVolume(VolumeForKnobX(x));
    PlaceKnob(x);
}

// The mouse position in client coordinates.
struct Mouse {
    int MouseX = 0, MouseY = 0;
};

Mouse ReadMouse(const SystemFacts& system) {
    return {gui::WindowMouseX(ui::MainWindow) - system.FrameSize,
            gui::WindowMouseY(ui::MainWindow) - system.CaptionHeight};
}

bool MouseOnVolumeTrack(const Mouse& mouse) {
    return mouse.MouseX > ui::VolumeTrackX &&
           mouse.MouseX < ui::VolumeTrackX + ui::VolumeTrackWidth &&
           mouse.MouseY > ui::VolumeKnobY && mouse.MouseY < ui::VolumeKnobY + ui::VolumeKnobHeight;
}

bool MouseOnKnob(const Mouse& mouse) {
    const gui::Rect knob = gui::GadgetRect(ui::VolumeKnob);
    return mouse.MouseX >= knob.x && mouse.MouseX < knob.x + knob.width && mouse.MouseY >= knob.y &&
           mouse.MouseY < knob.y + knob.height;
}

}  // namespace

int KnobXForVolume(std::uint32_t volume) {
    return static_cast<int>(std::min(volume, VolumeMax) / VolumePerPixel) + KnobLeft;
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
        ui::ShowMuteState(muted);
        player.LastMute = muted;
    }
}

void PressOnVolume(PlayerState& player, const SystemFacts& system) {
    if (MouseOnVolumeTrack(ReadMouse(system))) player.VolumeDrag = 1;
}

void DragKnob(PlayerState& player, const SystemFacts& system) {
    const Mouse mouse = ReadMouse(system);
    if (!MouseOnVolumeTrack(mouse)) {
        player.VolumeDrag = 0;
        return;
    }
    SetKnob(player, mouse.MouseX - ui::VolumeKnobGrip);
}

void TurnWheelOnVolume(PlayerState& player, const SystemFacts& system, int notches) {
    const Mouse mouse = ReadMouse(system);
    if (!MouseOnVolumeTrack(mouse) && !MouseOnKnob(mouse)) return;
    SetKnob(player, KnobXForVolume(GetVolume()) + notches);
}
