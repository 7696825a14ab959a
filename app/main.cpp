// The program: start up, run the main loop until the window is closed, save and end.
#include <cstdio>
#include <string>

#include "app/command_line.h"
#include "app/hand_over.h"
#include "app/handlers.h"
#include "app/lifecycle.h"
#include "app/main_loop.h"
#include "platform/gui.h"
#include "platform/system.h"

int main(int argc, char** argv) {
    const CommandLine line = ParseCommandLine(sys::CommandLineArguments(argc, argv));
    switch (line.kind) {
        case CommandLine::Kind::Help:
            std::printf("%s\n", UsageLine);
            return 0;
        case CommandLine::Kind::Version:
            std::printf("MP3 Klingtal %s\n", KLINGTAL_VERSION);
            return 0;
        case CommandLine::Kind::Unknown:
            std::fprintf(stderr, "%s\n", UsageLine);
            return 2;
        case CommandLine::Kind::Run:
            break;
    }
    // Started from a text console or over ssh without forwarding: say so in words a user
    // understands, before any settings are read or written.
    if (const std::string problem = gui::DesktopProblem(); !problem.empty()) {
        std::fprintf(stderr, "MP3 Klingtal needs a graphical desktop: %s.\n", problem.c_str());
        return 1;
    }
    // One program per desktop: a second one hands over what it was given and ends, before it
    // reads or writes the settings.
    if (HandOverToRunning(line.path)) return 0;
    // The program's state for its whole run; the four song lists in it are on the heap.
    static AppState app;
    const bool opened = StartUp(app, {});
    if (opened) {
        // A folder or song given by the file manager ("Open with") is taken as a drop would be:
        // a song plays.
        if (!line.path.empty()) TakeFolderDrop(app, sys::AbsolutePath(line.path));
        RunMainLoop(app);
    }
    Shutdown(app, opened);
    return 0;
}
