// The message window and the folder requester on a real display: both wait for the user and
// return what was answered; a "\r" in a message is a line break. The keys come from a
// background xdotool aimed at the dialog, since both dialogs run their own loop.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <FL/Fl.H>
#include <FL/Fl_Window.H>

#include "platform/gui.h"
#include "tests/integration/fltk/fltk_support.h"

using namespace fltk_test;

namespace {

// Once a window whose title starts with `title` is shown, gives it the keyboard focus, waits
// 0.6 s and runs the xdotool command there. Aimed at the dialog, so the keys cannot go to
// whatever window the display's focus was left on. The command runs on its own: chained after
// the search, xdotool would send its keys as synthetic events, which the file chooser ignores.
void KeysTo(const std::string& title, const std::string& keys) {
    const std::string command = "(xdotool search --sync --onlyvisible --name '^" + title +
                                "' windowfocus %1; sleep 0.6; xdotool " + keys +
                                ") >/dev/null 2>&1 &";
    ASSERT_EQ(std::system(command.c_str()), 0);
}

double SecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

TEST(FltkDialogs, MessageWaitsForOkAndReturnClosesIt) {
    if (!HaveWindowManager()) GTEST_SKIP() << "keyboard focus needs a window manager";
    KeysTo("MP3 Fehler", "key Return");
    const auto start = std::chrono::steady_clock::now();
    gui::ShowMessage("MP3 Fehler", "Datei nicht gefunden:\r/tmp/a & b.mp3",
                     gui::MessageIcon::Error);
    const double took = SecondsSince(start);
    EXPECT_GT(took, 0.5);  // it waited for the key
    EXPECT_LT(took, 5.0);
    KeysTo("ID3-Info", "key Escape");
    gui::ShowMessage("ID3-Info", "Kein ID3v1-Tag vorhanden", gui::MessageIcon::Error);
    // Nothing of the dialogs leaks into the program's events.
    EXPECT_TRUE(Pump(100).empty());
}

// A message with a long path wraps inside it, and its window stays within 80 % of the screen's
// width and on the screen.
TEST(FltkDialogs, LongPathWrapsWithinTheScreen) {
    std::string path;
    while (path.size() < 4000) path += "/verzeichnis" + std::to_string(path.size());
    static int shownWidth = 0, shownHeight = 0;
    Fl::add_timeout(0.3, [](void*) {
        Fl_Window* dialog = Fl::first_window();
        shownWidth = dialog->w();
        shownHeight = dialog->h();
        dialog->hide();
    });
    gui::ShowMessage("MP3 Fehler", "Fehler beim Öffnen der MP3 Datei!\r" + path,
                     gui::MessageIcon::Error);
    EXPECT_LE(shownWidth, gui::ScreenWidth() * 4 / 5);
    EXPECT_GT(shownWidth, gui::ScreenWidth() / 2);  // wrapped to the width, not to a sliver
    EXPECT_LE(shownHeight, gui::ScreenHeight());
}

// The program's own work runs while a message waits, as often as it asks; a termination signal
// closes the message at once so that the program can end.
TEST(FltkDialogs, MessageRunsTheModalPassAndClosesOnASignal) {
    int passes = 0;
    gui::SetModalPass([&passes] {
        if (++passes == 5) std::raise(SIGTERM);  // caught: the test process goes on
        return 50;
    });
    const auto start = std::chrono::steady_clock::now();
    gui::ShowMessage("ID3-Info", "Titel: x", gui::MessageIcon::None);
    const double took = SecondsSince(start);
    gui::SetModalPass(nullptr);
    EXPECT_EQ(passes, 5);
    EXPECT_GT(took, 0.15);  // four waits of 50 ms between the passes
    EXPECT_LT(took, 1.0);
    EXPECT_FALSE(gui::InModalWait());
    Pump(50);  // takes the stop request
}

TEST(FltkDialogs, FolderRequesterReturnsEmptyOnCancelAndAFolderWithSeparator) {
    if (!HaveWindowManager()) GTEST_SKIP() << "keyboard focus needs a window manager";
    KeysTo("Verzeichnis w", "key Escape");
    EXPECT_EQ(gui::RequestFolder("Verzeichnis wählen", "/tmp/"), "");

    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "klingtal ordner";
    std::filesystem::create_directories(folder);
    KeysTo("Verzeichnis w",
           "type --delay 20 '" + folder.string() + "'; sleep 0.5; xdotool key Return");
    EXPECT_EQ(gui::RequestFolder("Verzeichnis wählen", "/tmp/"), folder.string() + "/");
    std::filesystem::remove(folder);
}
