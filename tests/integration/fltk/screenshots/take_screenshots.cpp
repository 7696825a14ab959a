// Writes PNG pictures of the compact main window, the extended main window and the About
// window, drawn by the FLTK backend, into the folder given as the only argument. Needs a
// display with a window manager, xdotool and ImageMagick's import; run by
// tests/integration/fltk/screenshots/take_screenshots.sh.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "platform/gui.h"
#include "ui/about_window.h"
#include "ui/images.h"
#include "ui/main_window.h"

namespace {

void RunLoop(int ms) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (std::chrono::steady_clock::now() < end) {
        gui::PollEvent();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

// A shell command that captures the window whose title matches the pattern, frame included
// (xdotool's name search takes a regular expression and does not match non-ASCII letters).
std::string Capture(const std::string& pattern, const std::string& file) {
    return "id=$(xdotool search --name '" + pattern + "' | head -n 1); [ -n \"$id\" ] && " +
           "import -window \"$id\" -frame '" + file + "'";
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: take_screenshots FOLDER\n");
        return 2;
    }
    const std::string folder = argv[1];
    RegisterProgramImages();
    ui::Options options;
    options.WindowX = 40;
    options.WindowY = 40;
    int minimised = 0;
    if (!ui::StartMainWindow(options, "/home/klingtal/Musik/", 0, "Linux", 0, minimised)) return 1;
    RunLoop(500);
    int status = std::system(Capture("^MP3 Klingtal$", folder + "/main-compact.png").c_str());
    ui::SetExtendedMode(true);
    RunLoop(500);
    status |= std::system(Capture("^MP3 Klingtal$", folder + "/main-extended.png").c_str());

    // The About window runs its own loop: capture and close it from outside.
    RegisterAboutImage();
    const std::string about = "(sleep 1; " + Capture("ber MP3 Klingtal$", folder + "/about.png") +
                              "; xdotool key Escape) >/dev/null 2>&1 &";
    status |= std::system(about.c_str());
    ui::ShowAboutWindow(ui::AboutActions{[](std::string_view) {}, [] { return false; }});
    return status == 0 ? 0 : 1;
}
