// The folder scan against what a file system can hold besides songs: named pipes, a pipe where
// the music folder is looked up, folders reached many times through links, and a huge file of
// zeros. None of them may hang the program or slow the scan down.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "driver_run.h"
#include "support/test_files.h"

namespace {

using driver_test::LastDump;
using driver_test::RunDriver;
using testing_support::TempFolder;
using testing_support::WriteFile;

class DriverScan : public ::testing::Test {
  protected:
    void Settings(const std::string& text) { WriteFile(program.File("MP3Klingtal.Ini"), text); }

    // Seconds the driver takes for a dump of the window, the best of three runs.
    double BestRunSeconds() {
        double best = 1e9;
        for (int i = 0; i < 3; ++i) {
            const auto start = std::chrono::steady_clock::now();
            EXPECT_EQ(RunDriver(program.Path(), "dump\n").exitCode, 0);
            best = std::min(
                best,
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        }
        return best;
    }

    TempFolder program, songs;
};

}  // namespace

TEST_F(DriverScan, PipesLinkDiamondsAndHugeFilesNeitherHangNorSlowTheScan) {
    Settings("Pfad = " + songs.Path() + "\r\nUnterverz = 1\r\n");
    WriteFile(songs.File("gross.mp3"), "");
    const double plain = BestRunSeconds();
    // Nothing writes to the pipe, so anything that opened it for reading would wait for good.
    ASSERT_EQ(mkfifo(songs.File("x.mp3").c_str(), 0600), 0);
    // Each level holds a folder and a link to it: 2^18 paths lead to the one song at the bottom.
    std::string level = songs.Path();
    for (int depth = 0; depth < 18; ++depth) {
        std::filesystem::create_directory(level + "d");
        std::filesystem::create_directory_symlink(level + "d", level + "l");
        level += "d/";
    }
    WriteFile(level + "unten.mp3", "no sound here");
    std::error_code error;
    std::filesystem::resize_file(songs.File("gross.mp3"), 5ull << 30, error);  // all zeros
    if (error) GTEST_SKIP() << "no sparse files here: " << error.message();
    const double odd = BestRunSeconds();
    EXPECT_LT(odd - plain, 0.1) << odd << " s against " << plain << " s";
    const auto out = RunDriver(program.Path(), "dump\n");
    EXPECT_EQ(LastDump(out).at(3).items, "unten.mp3|gross.mp3");
    EXPECT_EQ(LastDump(out).at(25).text, "");
}

TEST_F(DriverScan, APipeAsTheDesktopsFolderListDoesNotStopTheStart) {
    TempFolder home;
    std::filesystem::create_directories(home.File(".config"));
    std::filesystem::create_directories(home.File("Music"));
    ASSERT_EQ(mkfifo(home.File(".config/user-dirs.dirs").c_str(), 0600), 0);
    const std::string oldHome = std::getenv("HOME") ? std::getenv("HOME") : "";
    const char* oldConfig = std::getenv("XDG_CONFIG_HOME");
    const std::string config = oldConfig ? oldConfig : "";
    setenv("HOME", home.Path().c_str(), 1);
    unsetenv("XDG_CONFIG_HOME");
    Settings("");  // no "Pfad": the music folder is looked up
    const auto out = RunDriver(program.Path(), "dump\n");
    setenv("HOME", oldHome.c_str(), 1);
    if (oldConfig) setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    EXPECT_EQ(out.exitCode, 0);
    EXPECT_EQ(LastDump(out).at(2).text, home.File("Music/"));
}
