// The message window and the folder requester on a real display: both wait for the user and
// return what was answered; a "\r" in a message is a line break. The keys come from a
// background xdotool, since both dialogs run their own loop.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>

#include "platform/gui.h"
#include "tests/integration/fltk/fltk_support.h"

using namespace fltk_test;

namespace {

// Presses keys in whatever window has the focus after `delay` seconds.
void KeysLater(double delay, const std::string& keys) {
    const std::string command =
        "(sleep " + std::to_string(delay) + "; xdotool " + keys + ") >/dev/null 2>&1 &";
    ASSERT_EQ(std::system(command.c_str()), 0);
}

double SecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

TEST(FltkDialogs, MessageWaitsForOkAndReturnClosesIt) {
    if (!HaveWindowManager()) GTEST_SKIP() << "keyboard focus needs a window manager";
    KeysLater(0.8, "key Return");
    const auto start = std::chrono::steady_clock::now();
    gui::ShowMessage("MP3 Fehler", "Datei nicht gefunden:\r/tmp/a & b.mp3",
                     gui::MessageIcon::Error);
    const double took = SecondsSince(start);
    EXPECT_GT(took, 0.5);  // it waited for the key
    EXPECT_LT(took, 5.0);
    KeysLater(0.5, "key Escape");
    gui::ShowMessage("ID3-Info", "Kein ID3v1-Tag vorhanden", gui::MessageIcon::Error);
    // Nothing of the dialogs leaks into the program's events.
    EXPECT_TRUE(Pump(100).empty());
}

TEST(FltkDialogs, FolderRequesterReturnsEmptyOnCancelAndAFolderWithSeparator) {
    if (!HaveWindowManager()) GTEST_SKIP() << "keyboard focus needs a window manager";
    KeysLater(1.5, "key Escape");
    EXPECT_EQ(gui::RequestFolder("Verzeichnis wählen", "/tmp/"), "");

    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "klingtal ordner";
    std::filesystem::create_directories(folder);
    KeysLater(1.5, "type --delay 20 '" + folder.string() + "'");
    KeysLater(3.0, "key Return");
    EXPECT_EQ(gui::RequestFolder("Verzeichnis wählen", "/tmp/"), folder.string() + "/");
    std::filesystem::remove(folder);
}
