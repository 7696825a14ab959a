// The volume knob and the mute buttons: they follow the mixer, whoever changed it, and the
// knob sets the volume when dragged or turned with the wheel. Main thread only.
#pragma once

#include <cstdint>

#include "app/app_state.h"

// The knob's left edge (window pixels) for a volume (0 to 65535): 1000 units a pixel from
// x 210, so 65535 sits at 275.
int KnobXForVolume(std::uint32_t volume);
// The volume the knob sets at x: the track from 210 to 275 spans 0 to 65535 whole, and the
// knob placed for that volume sits at x again. Outside the track the ends count.
std::uint32_t VolumeForKnobX(int x);

// Moves the knob to the mixer's volume and shows the mute or unmute button for its mute, when
// either changed since the last call.
void FollowMixer(PlayerState& player);

// A left press: on the knob's track it starts a drag. The system's caption and frame turn the
// mouse position into client coordinates.
void PressOnVolume(PlayerState& player, const SystemFacts& system);
// The drag under way: knob and volume follow the mouse until it leaves the track.
void DragKnob(PlayerState& player, const SystemFacts& system);
// The wheel over the knob or its track moves the knob a pixel a notch, and the volume with it.
void TurnWheelOnVolume(PlayerState& player, const SystemFacts& system, int notches);
