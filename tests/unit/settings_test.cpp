// The settings file: reading rules, window placement, and the written file.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/settings.h"
#include "support/test_files.h"

using testing_support::ReadFile;
using testing_support::TempFolder;
using testing_support::WriteFile;

namespace {

const std::string DefaultFolder = "/home/user/Music/";

ScreenGeometry Screen1024x768() {
    ScreenGeometry screen;
    screen.screenWidth = 1024;
    screen.screenHeight = 768;
    screen.desktopWidth = 1024;
    screen.desktopHeight = 768;
    return screen;
}

}  // namespace

TEST(SettingsReading, EmptyFileGivesEveryDefault) {
    const Settings s = ParseSettings("", DefaultFolder);
    EXPECT_EQ(s.Pfad, DefaultFolder);
    EXPECT_EQ(s.AktSong, 0);
    EXPECT_EQ(s.Transparenz, 255);
    EXPECT_EQ(s.FensterXPos, 100);
    EXPECT_EQ(s.FensterYPos, 100);
    EXPECT_EQ(s.Alle, 1);
    EXPECT_EQ(s.Zufall, 0);
}

TEST(SettingsReading, KeysMatchIgnoringCaseButOnlyAtFullLength) {
    EXPECT_EQ(ParseSettings("alle=0\r\n", DefaultFolder).Alle, 0);
    EXPECT_EQ(ParseSettings("   ALLE   =   0", DefaultFolder).Alle, 0);
    // A longer or shorter key is another key, also when one is the start of the other.
    EXPECT_EQ(ParseSettings("AlleX = 0\r\nAll = 0\r\n", DefaultFolder).Alle, 1);
    // "FensterPos" must not be taken from "FensterXPos".
    const Settings s = ParseSettings("FensterXPos = 7\r\n", DefaultFolder);
    EXPECT_EQ(s.FensterPos, 0);
    EXPECT_EQ(s.FensterXPos, 7);
    // Without "=" the line holds no value.
    EXPECT_EQ(ParseSettings("Alle 0\r\nAlle = 5", DefaultFolder).Alle, 5);
}

TEST(SettingsReading, FirstMatchWinsAndASectionLineEndsTheSearch) {
    EXPECT_EQ(ParseSettings("Zufall = 1\r\nZufall = 0\r\n", DefaultFolder).Zufall, 1);
    EXPECT_EQ(ParseSettings("[MP3]\r\nZufall = 1\r\nPfad = /x/\r\n", DefaultFolder).Zufall, 0);
    EXPECT_EQ(ParseSettings("[MP3]\r\nPfad = /x/\r\n", DefaultFolder).Pfad, DefaultFolder);
    // Keys above the section line are still found.
    EXPECT_EQ(ParseSettings("Zufall = 1\r\n[MP3]\r\nAlle = 0\r\n", DefaultFolder).Zufall, 1);
    EXPECT_EQ(ParseSettings("Zufall = 1\r\n[MP3]\r\nAlle = 0\r\n", DefaultFolder).Alle, 1);
}

TEST(SettingsReading, ByteOrderMarkDoesNotHideTheFirstKey) {
    EXPECT_EQ(ParseSettings("\xEF\xBB\xBFPfad = /m/\r\n", DefaultFolder).Pfad, "/m/");
}

TEST(SettingsReading, CommentLinesAreSkipped) {
    const Settings s =
        ParseSettings("; Alle = 0\r\n  # Zufall = 1\r\nZufall = 0\r\n", DefaultFolder);
    EXPECT_EQ(s.Alle, 1);
    EXPECT_EQ(s.Zufall, 0);
}

TEST(SettingsReading, NumbersTakeASignAndStopAtTheFirstNonDigit) {
    EXPECT_EQ(ParseSettings("AktSong = -12", DefaultFolder).AktSong, -12);
    EXPECT_EQ(ParseSettings("AktSong = +12", DefaultFolder).AktSong, 12);
    EXPECT_EQ(ParseSettings("AktSong = 12abc", DefaultFolder).AktSong, 12);
    EXPECT_EQ(ParseSettings("AktSong = 1 2", DefaultFolder).AktSong, 1);
    // Present but without digits reads as 0, not as the default.
    EXPECT_EQ(ParseSettings("FensterXPos = abc", DefaultFolder).FensterXPos, 0);
    EXPECT_EQ(ParseSettings("FensterXPos =", DefaultFolder).FensterXPos, 0);
    EXPECT_EQ(ParseSettings("FensterXPos = - 5", DefaultFolder).FensterXPos, 0);
    // Far too many digits are held at the int range instead of overflowing.
    EXPECT_EQ(ParseSettings("AktSong = 99999999999999999999", DefaultFolder).AktSong, INT_MAX);
    EXPECT_EQ(ParseSettings("AktSong = -99999999999999999999", DefaultFolder).AktSong, INT_MIN);
}

TEST(SettingsReading, OpacityHasAFloorButNoCeiling) {
    EXPECT_EQ(ParseSettings("Transparenz = 10", DefaultFolder).Transparenz, 30);
    EXPECT_EQ(ParseSettings("Transparenz = -5", DefaultFolder).Transparenz, 30);
    EXPECT_EQ(ParseSettings("Transparenz = 30", DefaultFolder).Transparenz, 30);
    EXPECT_EQ(ParseSettings("Transparenz = 400", DefaultFolder).Transparenz, 400);
}

TEST(SettingsReading, FolderTextLosesLineEndAndTrailingSpacesOnly) {
    EXPECT_EQ(ParseSettings("Pfad = /a b/  \r\n", DefaultFolder).Pfad, "/a b/");
    EXPECT_EQ(ParseSettings("Pfad=C:\\Musik\\", DefaultFolder).Pfad, "C:\\Musik\\");
    EXPECT_EQ(ParseSettings("Pfad = a=b/\r\n", DefaultFolder).Pfad, "a=b/");
    EXPECT_EQ(ParseSettings("Pfad = /Müsik/\r\n", DefaultFolder).Pfad, "/Müsik/");
    EXPECT_EQ(ParseSettings("Pfad =\r\n", DefaultFolder).Pfad, "");
}

TEST(SettingsPlacement, OffMeansCentredOnThePrimaryScreen) {
    Settings s = ParseSettings("FensterXPos = 5\r\nFensterYPos = 6", DefaultFolder);
    PlaceWindow(s, Screen1024x768());
    EXPECT_EQ(s.FensterXPos, 512 - 167);
    EXPECT_EQ(s.FensterYPos, 384 - 63);

    ScreenGeometry odd = Screen1024x768();
    odd.screenWidth = 1025;
    odd.screenHeight = 767;
    PlaceWindow(s, odd);
    EXPECT_EQ(s.FensterXPos, 512 - 167);
    EXPECT_EQ(s.FensterYPos, 383 - 63);
}

TEST(SettingsPlacement, RememberedPositionStaysWhileAnyPartIsOnTheDesktop) {
    ScreenGeometry twoMonitors = Screen1024x768();
    twoMonitors.desktopX = -1280;  // a second monitor to the left
    twoMonitors.desktopWidth = 2304;
    for (const auto& [x, y] : {std::pair{-1200, 50}, std::pair{1023, 767}, std::pair{-333, -125}}) {
        Settings s;
        s.FensterPos = 1;
        s.FensterXPos = x;
        s.FensterYPos = y;
        PlaceWindow(s, twoMonitors);
        EXPECT_EQ(s.FensterXPos, x);
        EXPECT_EQ(s.FensterYPos, y);
    }
}

TEST(SettingsPlacement, PositionOutOfReachIsCentredInstead) {
    // Where a window closed while minimised is reported, one pixel past each edge, and beyond
    // what an int sum could hold.
    for (const auto& [x, y] : {std::pair{-32000, -32000}, std::pair{1024, 100}, std::pair{100, 768},
                               std::pair{-334, 100}, std::pair{100, -126},
                               std::pair{INT_MAX, INT_MAX}, std::pair{INT_MIN, 0}}) {
        Settings s;
        s.FensterPos = 1;
        s.FensterXPos = x;
        s.FensterYPos = y;
        PlaceWindow(s, Screen1024x768());
        EXPECT_EQ(s.FensterXPos, 345) << x << "," << y;
        EXPECT_EQ(s.FensterYPos, 321) << x << "," << y;
        EXPECT_EQ(s.FensterPos, 1);
    }
}

TEST(SettingsFile, NoFileOpensCentredWithAllSongsAndTheDefaultFolder) {
    TempFolder folder;
    const Settings s = LoadSettings(folder.File("missing.ini"), DefaultFolder, Screen1024x768());
    EXPECT_EQ(s.FensterXPos, 345);
    EXPECT_EQ(s.FensterYPos, 321);
    EXPECT_EQ(s.Alle, 1);
    EXPECT_EQ(s.Pfad, DefaultFolder);
}

TEST(SettingsFile, WritesExactlyTwelveLinesInKeyOrder) {
    TempFolder folder;
    const std::string path = folder.File(SettingsFileName);
    Settings s = ParseSettings("", "C:\\");
    s.FensterXPos = -7;
    ASSERT_TRUE(SaveSettings(path, s));
    EXPECT_EQ(ReadFile(path),
              "Pfad = C:\\\r\nAktSong = 0\r\nAlwaysOnTop = 0\r\nOptionOn = 0\r\n"
              "Transparenz = 255\r\nFensterPos = 0\r\nFensterXPos = -7\r\nFensterYPos = 100\r\n"
              "Alle = 1\r\nWiederholen = 0\r\nZufall = 0\r\nUnterverz = 0\r\n");
}

TEST(SettingsFile, WrittenValuesReadBackUnchanged) {
    TempFolder folder;
    const std::string path = folder.File(SettingsFileName);
    Settings s;
    s.Pfad = "/media/Müsik & Co/";
    s.AktSong = 9999;
    s.AlwaysOnTop = 1;
    s.OptionOn = 1;
    s.Transparenz = 400;
    s.FensterPos = 1;
    s.FensterXPos = -20;
    s.FensterYPos = 700;
    s.Alle = 0;
    s.Wiederholen = 1;
    s.Zufall = 1;
    s.Unterverz = 1;
    ASSERT_TRUE(SaveSettings(path, s));
    const Settings back = LoadSettings(path, DefaultFolder, Screen1024x768());
    EXPECT_EQ(FormatSettings(back), FormatSettings(s));
}

TEST(SettingsFile, LineBreakInTheFolderCannotAddKeys) {
    Settings s;
    s.Pfad = "/a \r\nAlle = 0\r\nZufall = 1/";
    const std::string text = FormatSettings(s);
    EXPECT_EQ(text.substr(0, 11), "Pfad = /a\r\n");
    const Settings back = ParseSettings(text, DefaultFolder);
    EXPECT_EQ(back.Alle, 1);
    EXPECT_EQ(back.Zufall, 0);
}

TEST(SettingsFile, ReplacingLeavesNoTemporaryFileBehind) {
    TempFolder folder;
    const std::string path = folder.File(SettingsFileName);
    ASSERT_TRUE(WriteFile(path, "Alle = 0\r\n"));
    ASSERT_TRUE(SaveSettings(path, Settings{}));
    EXPECT_EQ(ParseSettings(ReadFile(path), DefaultFolder).Alle, 1);
    int files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.Path()))
        ++files;
    EXPECT_EQ(files, 1);
}

TEST(SettingsFile, FailedWritesLeaveWhatWasThere) {
    TempFolder folder;
    // A folder that does not exist: nothing is created, and the failure is only reported.
    EXPECT_FALSE(SaveSettings(folder.File("gone/") + SettingsFileName, Settings{}));
    EXPECT_FALSE(std::filesystem::exists(folder.File("gone")));

    // A folder where the file should be cannot be replaced; it stays, with its content, and
    // the temporary file is cleaned up.
    const std::string blocked = folder.File("blocked.ini");
    ASSERT_TRUE(WriteFile(blocked + "/keep", "x"));
    EXPECT_FALSE(SaveSettings(blocked, Settings{}));
    EXPECT_EQ(ReadFile(blocked + "/keep"), "x");
    int files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.Path()))
        ++files;
    EXPECT_EQ(files, 1);
}

// Windows keeps the ANSI code page (Western here) and turns to UTF-8 with a byte-order mark only
// for a folder the code page cannot hold; elsewhere the file is UTF-8 throughout.
TEST(SettingsFile, FolderDecidesTheFilesCharacterSet) {
    const struct {
        std::string folder, windowsStart, otherStart;
    } cases[] = {
        {"C:\\Müsik\\", "Pfad = C:\\M\xFCsik\\\r\n", "Pfad = C:\\Müsik\\\r\n"},
        {"C:\\Музыка 東京\\", "\xEF\xBB\xBFPfad = C:\\Музыка 東京\\\r\n",
         "Pfad = C:\\Музыка 東京\\\r\n"},
        // No best fit: "ā" would come back as "a", another folder.
        {"C:\\Māori\\", "\xEF\xBB\xBFPfad = C:\\Māori\\\r\n", "Pfad = C:\\Māori\\\r\n"},
    };
    TempFolder folder;
    const std::string path = folder.File(SettingsFileName);
    for (const auto& c : cases) {
        Settings s;
        s.Pfad = c.folder;
        ASSERT_TRUE(SaveSettings(path, s));
#ifdef _WIN32
        const std::string& start = c.windowsStart;
#else
        const std::string& start = c.otherStart;
#endif
        EXPECT_EQ(ReadFile(path).substr(0, start.size()), start);
        EXPECT_EQ(LoadSettings(path, DefaultFolder, Screen1024x768()).Pfad, c.folder);
    }
    // A file with the mark is UTF-8 whatever the code page; one without is in the code page.
    EXPECT_EQ(SettingsTextFromFile("\xEF\xBB\xBFPfad = /Müsik/"), "\xEF\xBB\xBFPfad = /Müsik/");
#ifdef _WIN32
    EXPECT_EQ(SettingsTextFromFile("Pfad = C:\\M\xFCsik\\"), "Pfad = C:\\Müsik\\");
#endif
}
