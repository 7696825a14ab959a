// The play modes and window options the program runs on: read from the settings file at
// start-up, shown by the main window's controls, changed by their handlers, written back at
// shutdown. Main thread only.
#pragma once

namespace ui {

// Numbers as the settings file holds them: a flag is on only when it is exactly 1, and a value
// the user typed into the file (say 2) stays as it is until its control changes it.
struct Options {
    int AllMode = 1;     // "Alle": play on through the list
    int RepeatMode = 0;  // "Wiederholen"
    int RandomMode = 0;  // "Zufall"
    int AlwaysOnTop = 0;
    int OptionOn = 0;          // extended mode
    int Transparency = 255;    // "Transparenz": opacity; at least 30 after reading, no upper bound
    int RememberPosition = 0;  // "FensterPos": 1 = open at WindowX/WindowY, 0 = centred
    int WindowX = 100;         // "FensterXPos", "FensterYPos": outer top-left, desktop pixels
    int WindowY = 100;
};

}  // namespace ui
