// The test driver: runs the real program over the headless gui with the real sound device,
// taking a user's actions from a script on standard input and printing what the program shows.
// Usage: driver [--program-dir DIR] [--mixer fake|system] [--screen WxH] < script
// The mixer is chosen at link time: this file is built twice, with the fake (LINKED_MIXER
// "fake") and with the system's mixer ("system"), and each hands over to its twin (TWIN_DRIVER)
// when asked for the other mixer.
#include <unistd.h>

#include <cstdio>
#include <iostream>
#include <string>

#include "app/app_state.h"
#include "app/lifecycle.h"
#include "app/main_loop.h"
#include "platform/headless/headless.h"
#include "tools/driver/script.h"

namespace {

struct Options {
    std::string programDir;
    std::string mixer = "fake";
    int screenWidth = 1024, screenHeight = 768;
};

bool ParseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--program-dir" && hasValue) {
            options.programDir = argv[++i];
            if (!options.programDir.empty() && options.programDir.back() != '/')
                options.programDir += '/';
        } else if (arg == "--mixer" && hasValue) {
            options.mixer = argv[++i];
            if (options.mixer != "fake" && options.mixer != "system") return false;
        } else if (arg == "--screen" && hasValue) {
            if (std::sscanf(argv[++i], "%dx%d", &options.screenWidth, &options.screenHeight) != 2) {
                return false;
            }
        } else {
            return false;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseOptions(argc, argv, options)) {
        std::cerr << "usage: driver [--program-dir DIR] [--mixer fake|system] [--screen WxH]\n";
        return 2;
    }
    if (options.mixer != LINKED_MIXER) {
        execv(TWIN_DRIVER, argv);  // the same script on standard input, the same output
        std::perror(TWIN_DRIVER);
        return 2;
    }
    gui::headless::SetScreenSize(options.screenWidth, options.screenHeight);

    static AppState app;
    std::vector<std::string> sent;  // every command string, for the script's "mci"
    app.mci.observer = [&sent](std::string_view command) { sent.emplace_back(command); };
    const bool opened = StartUp(app, StartOptions{options.programDir});
    ScriptRunner runner(app, sent, std::cin, std::cout, opened);
    runner.Run();
    if (!runner.ShutDown()) Shutdown(app, opened);
    return 0;
}
