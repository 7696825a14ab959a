// The main window's numbers that the program's logic reads as well: the position slider's steps,
// the volume knob's track, and the system metrics that turn window mouse positions into client
// pixels. The controls are laid out with these and the handlers test against them.
#pragma once

namespace ui {

// The position slider's range: 0 is the song's start, PositionSteps its end.
inline constexpr int PositionSteps = 500;

// The volume knob (client pixels) stands on its track with its left edge at VolumeTrackX for
// volume 0 and moves right as the volume rises. A mouse press counts on the track strictly
// inside x VolumeTrackX .. VolumeTrackX + VolumeTrackWidth (210 .. 280) and the knob's rows
// VolumeKnobY .. VolumeKnobY + VolumeKnobHeight (79 .. 95).
inline constexpr int VolumeTrackX = 210;
inline constexpr int VolumeTrackWidth = 70;
inline constexpr int VolumeKnobY = 79;
inline constexpr int VolumeKnobWidth = 9;
inline constexpr int VolumeKnobHeight = 16;
// The mouse holds a dragged knob by its middle: this many pixels right of its left edge.
inline constexpr int VolumeKnobGrip = VolumeKnobWidth / 2;

// The indices of gui::SystemMetric for the caption height and the frame size (pixels).
inline constexpr int CaptionHeightMetric = 4;
inline constexpr int FrameSizeMetric = 33;

}  // namespace ui
