// End-to-end scenarios through the driver: real songs played by the real device, the user's
// clicks on the headless window, and what the window, the message boxes and the device saw.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "driver_run.h"
#include "support/test_files.h"

namespace {

using driver_test::LastDump;
using driver_test::LinesStartingWith;
using driver_test::RunDriver;
using testing_support::TempFolder;
using testing_support::WriteFile;

class Driver : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!testing_support::LameAvailable()) GTEST_SKIP() << "lame is not installed";
    }

    // Songs "1.mp3" .. of the given length, and a settings file pointing at them.
    void Songs(int count, double seconds, const std::string& settings = "") {
        testing_support::Mp3Options options;
        options.seconds = seconds;
        for (int i = 1; i <= count; ++i) {
            ASSERT_TRUE(testing_support::MakeMp3(songs.File(std::to_string(i) + ".mp3"), options));
        }
        Settings("Pfad = " + songs.Path() + "\r\n" + settings);
    }
    void Settings(const std::string& text) { WriteFile(program.File("MP3Klingtal.Ini"), text); }

    std::string Open(int song) const {
        return "open \"" + songs.Path() + std::to_string(song) + ".mp3\" alias MP3Stueck";
    }
    static int Count(const driver_test::Output& out, const std::string& line) {
        return static_cast<int>(std::count(out.lines.begin(), out.lines.end(), line));
    }

    TempFolder program, songs;
};

TEST_F(Driver, AllWithoutRepeatStopsAfterTheLastSongShowingZero) {
    Songs(2, 1.0, "AktSong = 1\r\n");
    const auto out = RunDriver(program.Path(), "click 0\nwait 2500\ndump\nmci\n");
    ASSERT_EQ(out.exitCode, 0);
    const auto dump = LastDump(out);
    EXPECT_EQ(dump.at(15).text, "0:00");
    EXPECT_EQ(dump.at(8).text, "0:01");
    EXPECT_FALSE(dump.at(13).enabled);
    EXPECT_TRUE(dump.at(4).enabled);
    EXPECT_EQ(Count(out, Open(2)), 1);
    EXPECT_EQ(Count(out, Open(1)), 0);
    EXPECT_EQ(Count(out, "close MP3Stueck"), 1);
}

TEST_F(Driver, RepeatWrapsTheListAndRepeatsOneSongWithoutAll) {
    Songs(2, 1.0, "AktSong = 1\r\nWiederholen = 1\r\n");
    auto out = RunDriver(program.Path(), "click 0\nwait 1800\nmci\n");
    const auto opens = LinesStartingWith(out, "open ");
    ASSERT_GE(opens.size(), 2u);
    EXPECT_EQ(opens[0], Open(2));
    EXPECT_EQ(opens[1], Open(1));

    Settings("Pfad = " + songs.Path() + "\r\nAlle = 0\r\nWiederholen = 1\r\n");
    out = RunDriver(program.Path(), "click 0\nwait 1800\nmci\n");
    EXPECT_GE(Count(out, Open(1)), 2);
    EXPECT_EQ(Count(out, Open(2)), 0);
}

TEST_F(Driver, RandomOrderNeverPlaysTheSameSongTwiceInARow) {
    Songs(3, 1.0, "Zufall = 1\r\n");
    const auto out = RunDriver(program.Path(), "click 0\nwait 5500\nmci\n");
    const auto opens = LinesStartingWith(out, "open ");
    ASSERT_GE(opens.size(), 4u);
    for (std::size_t i = 1; i < opens.size(); ++i) EXPECT_NE(opens[i], opens[i - 1]);
}

TEST_F(Driver, PauseTwiceResumesWherePlaybackStood) {
    Songs(1, 3.0);
    const auto out =
        RunDriver(program.Path(), "click 0\nwait 700\nclick 12\nwait 300\ndump\nclick 12\nmci\n");
    const auto dump = LastDump(out);
    EXPECT_EQ(dump.at(15).text, "0:00");
    const auto resumes = LinesStartingWith(out, "play MP3Stueck from ");
    ASSERT_EQ(resumes.size(), 2u);  // the start, then the resume
    const int from = std::stoi(resumes[1].substr(20));
    EXPECT_GT(from, 300);
    EXPECT_LT(from, 1000);
    EXPECT_EQ(Count(out, "pause MP3Stueck wait"), 1);
}

TEST_F(Driver, SliderWhilePausedDoesNotResumeButMovesTheResume) {
    Songs(1, 3.0);
    const auto out = RunDriver(program.Path(),
                               "click 0\nwait 300\nclick 12\nslide 13 250\nwait 200\nmci\n"
                               "click 0\nmci\n");
    const auto plays = LinesStartingWith(out, "play MP3Stueck from ");
    // First listing: only the start. Second: the start again and the resume from the middle.
    ASSERT_EQ(plays.size(), 3u);
    const int from = std::stoi(plays[2].substr(20));
    EXPECT_NEAR(from, 1500, 60);
}

TEST_F(Driver, PlayAndPreviousOnTheFirstSong) {
    Songs(2, 2.0);
    auto out = RunDriver(program.Path(), "click 5\ndump\nmci\n");
    EXPECT_TRUE(LinesStartingWith(out, "open ").empty());
    EXPECT_EQ(LastDump(out).at(16).text, "1");

    out = RunDriver(program.Path(), "click 0\nwait 300\nclick 5\nmci\n");
    EXPECT_EQ(Count(out, Open(1)), 2);
    EXPECT_EQ(Count(out, "close MP3Stueck"), 1);
}

TEST_F(Driver, EmptyFolderAndMissingFolderAndStoredSongBeyondTheList) {
    TempFolder empty;
    Settings("Pfad = " + empty.Path() + "\r\nAktSong = 3\r\n");
    auto out = RunDriver(program.Path(), "click 0\ndump\nmci\nmessages\n");
    auto dump = LastDump(out);
    EXPECT_EQ(dump.at(16).text, "0");
    EXPECT_EQ(dump.at(17).text, "0");
    EXPECT_FALSE(dump.at(3).enabled);
    EXPECT_TRUE(LinesStartingWith(out, "open ").empty());
    EXPECT_TRUE(LinesStartingWith(out, "Fehler").empty());

    Settings("Pfad = " + empty.Path() + "weg/\r\n");
    out = RunDriver(program.Path(), "messages\n");
    EXPECT_EQ(
        Count(out, "Fehler\tVerzeichnis kann nicht durchsucht werden: " + empty.Path() + "weg/"),
        1);

    Songs(2, 1.0, "AktSong = 9\r\n");
    out = RunDriver(program.Path(), "dump\n");
    dump = LastDump(out);
    EXPECT_EQ(dump.at(3).state, 0);
    EXPECT_EQ(dump.at(16).text, "1");
    EXPECT_EQ(dump.at(3).items, "1.mp3|2.mp3");
}

TEST_F(Driver, ModesCancelledFolderAndVolumeDrag) {
    Songs(2, 1.0, "Alle = 0\r\n");
    const auto out = RunDriver(program.Path(),
                               "click 21\nclick 9\ndump\n"
                               "answer cancel\nclick 4\n"
                               "mouse down 210 80\nmouse move 250 85\nwait 60\ndump\n"
                               "mouse up 250 85\nmouse down 211 80\nmouse move 250 85\n"
                               "wait 60\nmouse up 250 85\ndump\nmessages\nclose\n");
    EXPECT_TRUE(out.lines.size() > 0);
    const auto dump = LastDump(out);
    EXPECT_EQ(dump.at(9).state, 1);  // forced on by random order, and it sprang back
    EXPECT_EQ(dump.at(21).state, 1);
    EXPECT_EQ(dump.at(2).text, songs.Path());
    EXPECT_EQ(dump.at(3).items, "1.mp3|2.mp3");
    EXPECT_EQ(dump.at(24).x, 246);  // dragged from inside the track
    EXPECT_TRUE(LinesStartingWith(out, "Fehler").empty());
    const std::string saved = testing_support::ReadFile(program.File("MP3Klingtal.Ini"));
    EXPECT_NE(saved.find("Pfad = " + songs.Path() + "\r\n"), std::string::npos);
    EXPECT_NE(saved.find("Zufall = 1\r\nUnterverz"), std::string::npos);
}

TEST_F(Driver, ScanTakesMp3NamesAtEveryDepthWithSubfolders) {
    for (const char* name : {"Song.MP3", "a.Mp3", "x.mp3", "song.mp3.bak", "mp3", "eins/lied.mp3",
                             "eins/zwei/lied.mp3", "eins/zwei/drei/tief.mp3"}) {
        WriteFile(songs.File(name), "no sound here");
    }
    WriteFile(songs.File("music.mp3/inner.txt"), "");
    Settings("Pfad = " + songs.Path() + "\r\n");
    auto out = RunDriver(program.Path(), "dump\n");
    EXPECT_EQ(LastDump(out).at(3).items, "a.Mp3|Song.MP3|x.mp3");
    Settings("Pfad = " + songs.Path() + "\r\nUnterverz = 1\r\n");
    out = RunDriver(program.Path(), "dump\n");
    EXPECT_EQ(LastDump(out).at(3).items, "a.Mp3|lied.mp3|tief.mp3|lied.mp3|Song.MP3|x.mp3");
    EXPECT_EQ(LastDump(out).at(17).text, "6");
}

TEST_F(Driver, WindowClosedWritesTheSettingsWithItsPosition) {
    Songs(1, 1.0, "FensterPos = 1\r\nFensterXPos = 300\r\nFensterYPos = 200\r\n");
    const auto out = RunDriver(program.Path(), "window\nclose\n", "--screen 1280x1024");
    ASSERT_FALSE(out.lines.empty());
    EXPECT_EQ(out.lines[0].substr(0, 21), "MP3 Klingtal\t300\t200\t");
    const std::string saved = testing_support::ReadFile(program.File("MP3Klingtal.Ini"));
    EXPECT_EQ(saved, "Pfad = " + songs.Path() +
                         "\r\nAktSong = 0\r\nAlwaysOnTop = 0\r\nOptionOn = 0\r\n"
                         "Transparenz = 255\r\nFensterPos = 1\r\nFensterXPos = 300\r\n"
                         "FensterYPos = 200\r\nAlle = 1\r\nWiederholen = 0\r\nZufall = 0\r\n"
                         "Unterverz = 0\r\n");
}

// A file URI as file managers write it: every byte outside the unreserved set escaped.
std::string FileUri(const std::string& path) {
    std::string uri = "file://";
    for (unsigned char c : path) {
        if (std::isalnum(c) || std::string_view("/-._~").find(char(c)) != std::string_view::npos) {
            uri += char(c);
        } else {
            char escape[4];
            std::snprintf(escape, sizeof escape, "%%%02X", c);
            uri += escape;
        }
    }
    return uri;
}

TEST_F(Driver, DropActsAsTheFolderButtonAnsweredWithTheDroppedFolder) {
    Songs(2, 1.0);
    TempFolder other;
    const std::string band = other.Path() + "Die Ärzte/", missing = other.Path() + "weg";
    testing_support::Mp3Options three;
    three.seconds = 3.0;
    ASSERT_TRUE(testing_support::MakeMp3(band + "ein Lied.mp3", three));
    struct Case {
        std::string script, folder, items, total;
        int errors;
    };
    const Case cases[] = {
        {"drop " + FileUri(band), band, "ein Lied.mp3", "0:00:03", 0},
        // a file stands for its folder; of several items the first counts
        {"drop " + band + "ein Lied.mp3\\r\\n" + songs.Path(), band, "ein Lied.mp3", "0:00:03", 0},
        // while a song is open the folder button is disabled
        {"click 0\ndrop " + band, songs.Path(), "1.mp3|2.mp3", "0:00:02", 0},
        {"drop " + missing, missing + "/", "", "0:00:00", 1},
    };
    for (const Case& c : cases) {
        Settings("Pfad = " + songs.Path() + "\r\n");
        const auto out = RunDriver(program.Path(), c.script + "\ndump\nmessages\nclose\n");
        const auto dump = LastDump(out);
        EXPECT_EQ(dump.at(2).text, c.folder) << c.script;
        EXPECT_EQ(dump.at(3).items, c.items) << c.script;
        EXPECT_EQ(dump.at(42).text, c.total) << c.script;
        EXPECT_EQ(Count(out, "Fehler\tVerzeichnis kann nicht durchsucht werden: " + c.folder),
                  c.errors)
            << c.script;
        const std::string saved = testing_support::ReadFile(program.File("MP3Klingtal.Ini"));
        EXPECT_EQ(saved.rfind("Pfad = " + c.folder + "\r\n", 0), 0u) << c.script;
    }
}

// --mixer system hands the run to the driver built with the system's mixer: the knob stands at
// the sound server's volume (half of PulseAudio's 100 %: 32768 / 1000 + 210), not at the fake's
// 65535 (275), once the connection has answered; the script's output comes back as from the
// driver asked.
TEST_F(Driver, SystemMixerShowsTheSoundServersVolume) {
    if (std::getenv("KLINGTAL_PULSE_AVAILABLE") == nullptr)
        GTEST_SKIP() << "no PulseAudio server with a null sink";
    Songs(1, 1.0);
    ASSERT_EQ(std::system("pactl set-sink-volume @DEFAULT_SINK@ 32768"), 0);
    const auto out = RunDriver(program.Path(), "wait 1000\ndump\n", "--mixer system");
    ASSERT_EQ(out.exitCode, 0);
    EXPECT_EQ(LastDump(out).at(24).x, 242);
}

}  // namespace
