// The program: start up, run the main loop until the window is closed, save and end.
#include <cstdio>
#include <string>

#include "app/lifecycle.h"
#include "app/main_loop.h"
#include "platform/gui.h"

int main() {
    // Started from a text console or over ssh without forwarding: say so in words a user
    // understands, before any settings are read or written.
    if (const std::string problem = gui::DesktopProblem(); !problem.empty()) {
        std::fprintf(stderr, "MP3 Klingtal needs a graphical desktop: %s.\n", problem.c_str());
        return 1;
    }
    // Large (four arrays of 10000 entries): keep it off the stack.
    static AppState app;
    const bool opened = StartUp(app, {});
    if (opened) RunMainLoop(app);
    Shutdown(app, opened);
    return 0;
}
