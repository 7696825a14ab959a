// The main window's keyboard: the letters that click the transport buttons, the volume steps of
// + and -, the order Tab walks the controls in, and the tooltips that name the keys.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "volume/mixer_scale.h"

namespace ui {

// One step of + or - on the master volume scale 0..65535: 5 %, rounded (3277).
inline constexpr std::uint32_t VolumeKeyStep = (mixer_scale::LevelMax * 5 + 50) / 100;

// The tooltip with the key that does the same, for example "Stop (V)"; unchanged for a gadget
// without a key.
std::string TooltipWithKey(int gadget, std::string_view tooltip);

// What a key pressed in the main window does: a letter clicks its button as the mouse would
// (not at all while the button is disabled or hidden), + and - move the master volume by one
// step. False for any other key. Main thread only.
bool PressMainWindowKey(char key);

// Hands the main window's keys and Tab order to the gui; window 0 and its controls must exist.
void InstallMainWindowKeys();

}  // namespace ui
