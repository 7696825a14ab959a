// The play modes and window options the program runs on: read from the settings file at
// start-up, shown by the main window's controls, changed by their handlers, written back at
// shutdown. Main thread only.
#pragma once

#include <algorithm>

namespace ui {

// The window's opacity as the system takes it: one byte, 0 clear to OpacityMax opaque.
inline constexpr int OpacityMax = 255;

// The opacity a Transparency value gives the window. The stored value has no upper bound, so
// keep it in the byte rather than let it wrap (300 would otherwise become almost clear).
constexpr int OpacityOf(int transparency) {
    return std::clamp(transparency, 0, OpacityMax);
}

// Numbers as the settings file holds them: a flag is on only when it is exactly 1, and a value
// the user typed into the file (say 2) stays as it is until its control changes it.
struct Options {
    int AllMode = 1;     // "Alle": play on through the list
    int RepeatMode = 0;  // "Wiederholen"
    int RandomMode = 0;  // "Zufall"
    int AlwaysOnTop = 0;
    int OptionOn = 0;  // extended mode
    // "Transparenz": the window's opacity; at least 30 after reading, no upper bound.
    int Transparency = OpacityMax;
    int RememberPosition = 0;  // "FensterPos": 1 = open at WindowX/WindowY, 0 = centred
    int WindowX = 100;         // "FensterXPos", "FensterYPos": outer top-left, desktop pixels
    int WindowY = 100;
};

}  // namespace ui
