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

// The state the file is read into and written from: the song list's three values and the options.
struct Held {
    SongListState songs;
    ui::Options options;
};

Held Parse(std::string_view bytes, const std::string& defaultFolder = DefaultFolder) {
    Held held;
    ParseSettings(bytes, defaultFolder, held.songs, held.options);
    return held;
}

Held Load(const std::string& path) {
    Held held;
    LoadSettings(path, DefaultFolder, Screen1024x768(), held.songs, held.options);
    return held;
}

std::string Format(const Held& held) {
    return FormatSettings(held.songs, held.options);
}

bool Save(const std::string& path, const Held& held) {
    return SaveSettings(path, held.songs, held.options);
}

}  // namespace

TEST(SettingsReading, EmptyFileGivesEveryDefault) {
    const Held s = Parse("");
    EXPECT_EQ(s.songs.SongFolder, DefaultFolder);
    EXPECT_EQ(s.songs.CurrentSong, 0);
    EXPECT_EQ(s.options.Transparency, 255);
    EXPECT_EQ(s.options.WindowX, 100);
    EXPECT_EQ(s.options.WindowY, 100);
    EXPECT_EQ(s.options.AllMode, 1);
    EXPECT_EQ(s.options.RandomMode, 0);
}

TEST(SettingsReading, KeysMatchIgnoringCaseButOnlyAtFullLength) {
    EXPECT_EQ(Parse("alle=0\r\n").options.AllMode, 0);
    EXPECT_EQ(Parse("   ALLE   =   0").options.AllMode, 0);
    // A longer or shorter key is another key, also when one is the start of the other.
    EXPECT_EQ(Parse("AlleX = 0\r\nAll = 0\r\n").options.AllMode, 1);
    // "FensterPos" must not be taken from "FensterXPos".
    const Held s = Parse("FensterXPos = 7\r\n");
    EXPECT_EQ(s.options.RememberPosition, 0);
    EXPECT_EQ(s.options.WindowX, 7);
    // Without "=" the line holds no value.
    EXPECT_EQ(Parse("Alle 0\r\nAlle = 5").options.AllMode, 5);
}

TEST(SettingsReading, FirstMatchWinsAndASectionLineEndsTheSearch) {
    EXPECT_EQ(Parse("Zufall = 1\r\nZufall = 0\r\n").options.RandomMode, 1);
    EXPECT_EQ(Parse("[MP3]\r\nZufall = 1\r\nPfad = /x/\r\n").options.RandomMode, 0);
    EXPECT_EQ(Parse("[MP3]\r\nPfad = /x/\r\n").songs.SongFolder, DefaultFolder);
    // Keys above the section line are still found.
    EXPECT_EQ(Parse("Zufall = 1\r\n[MP3]\r\nAlle = 0\r\n").options.RandomMode, 1);
    EXPECT_EQ(Parse("Zufall = 1\r\n[MP3]\r\nAlle = 0\r\n").options.AllMode, 1);
}

TEST(SettingsReading, ByteOrderMarkDoesNotHideTheFirstKey) {
    EXPECT_EQ(Parse("\xEF\xBB\xBFPfad = /m/\r\n").songs.SongFolder, "/m/");
}

TEST(SettingsReading, CommentLinesAreSkipped) {
    const Held s = Parse("; Alle = 0\r\n  # Zufall = 1\r\nZufall = 0\r\n");
    EXPECT_EQ(s.options.AllMode, 1);
    EXPECT_EQ(s.options.RandomMode, 0);
}

TEST(SettingsReading, NumbersTakeASignAndStopAtTheFirstNonDigit) {
    EXPECT_EQ(Parse("AktSong = -12").songs.CurrentSong, -12);
    EXPECT_EQ(Parse("AktSong = +12").songs.CurrentSong, 12);
    EXPECT_EQ(Parse("AktSong = 12abc").songs.CurrentSong, 12);
    EXPECT_EQ(Parse("AktSong = 1 2").songs.CurrentSong, 1);
    // Present but without digits reads as 0, not as the default.
    EXPECT_EQ(Parse("FensterXPos = abc").options.WindowX, 0);
    EXPECT_EQ(Parse("FensterXPos =").options.WindowX, 0);
    EXPECT_EQ(Parse("FensterXPos = - 5").options.WindowX, 0);
    // Far too many digits are held at the int range instead of overflowing.
    EXPECT_EQ(Parse("AktSong = 99999999999999999999").songs.CurrentSong, INT_MAX);
    EXPECT_EQ(Parse("AktSong = -99999999999999999999").songs.CurrentSong, INT_MIN);
}

TEST(SettingsReading, OpacityHasAFloorButNoCeiling) {
    EXPECT_EQ(Parse("Transparenz = 10").options.Transparency, 30);
    EXPECT_EQ(Parse("Transparenz = -5").options.Transparency, 30);
    EXPECT_EQ(Parse("Transparenz = 30").options.Transparency, 30);
    EXPECT_EQ(Parse("Transparenz = 400").options.Transparency, 400);
}

TEST(SettingsReading, FolderTextLosesLineEndAndTrailingSpacesOnly) {
    EXPECT_EQ(Parse("Pfad = /a b/  \r\n").songs.SongFolder, "/a b/");
    EXPECT_EQ(Parse("Pfad=C:\\Musik\\").songs.SongFolder, "C:\\Musik\\");
    EXPECT_EQ(Parse("Pfad = a=b/\r\n").songs.SongFolder, "a=b/");
    EXPECT_EQ(Parse("Pfad = /Müsik/\r\n").songs.SongFolder, "/Müsik/");
    EXPECT_EQ(Parse("Pfad =\r\n").songs.SongFolder, "");
}

TEST(SettingsPlacement, OffMeansCentredOnThePrimaryScreen) {
    Held s = Parse("FensterXPos = 5\r\nFensterYPos = 6");
    PlaceWindow(s.options, Screen1024x768());
    EXPECT_EQ(s.options.WindowX, 512 - 167);
    EXPECT_EQ(s.options.WindowY, 384 - 63);

    ScreenGeometry odd = Screen1024x768();
    odd.screenWidth = 1025;
    odd.screenHeight = 767;
    PlaceWindow(s.options, odd);
    EXPECT_EQ(s.options.WindowX, 512 - 167);
    EXPECT_EQ(s.options.WindowY, 383 - 63);
}

TEST(SettingsPlacement, RememberedPositionStaysWhileAnyPartIsOnTheDesktop) {
    ScreenGeometry twoMonitors = Screen1024x768();
    twoMonitors.desktopX = -1280;  // a second monitor to the left
    twoMonitors.desktopWidth = 2304;
    for (const auto& [x, y] : {std::pair{-1200, 50}, std::pair{1023, 767}, std::pair{-333, -125}}) {
        ui::Options s;
        s.RememberPosition = 1;
        s.WindowX = x;
        s.WindowY = y;
        PlaceWindow(s, twoMonitors);
        EXPECT_EQ(s.WindowX, x);
        EXPECT_EQ(s.WindowY, y);
    }
}

TEST(SettingsPlacement, PositionOutOfReachIsCentredInstead) {
    // Where a window closed while minimised is reported, one pixel past each edge, and beyond
    // what an int sum could hold.
    for (const auto& [x, y] : {std::pair{-32000, -32000}, std::pair{1024, 100}, std::pair{100, 768},
                               std::pair{-334, 100}, std::pair{100, -126},
                               std::pair{INT_MAX, INT_MAX}, std::pair{INT_MIN, 0}}) {
        ui::Options s;
        s.RememberPosition = 1;
        s.WindowX = x;
        s.WindowY = y;
        PlaceWindow(s, Screen1024x768());
        EXPECT_EQ(s.WindowX, 345) << x << "," << y;
        EXPECT_EQ(s.WindowY, 321) << x << "," << y;
        EXPECT_EQ(s.RememberPosition, 1);
    }
}

TEST(SettingsFile, NoFileOpensCentredWithAllSongsAndTheDefaultFolder) {
    TempFolder folder;
    const Held s = Load(folder.File("missing.ini"));
    EXPECT_EQ(s.options.WindowX, 345);
    EXPECT_EQ(s.options.WindowY, 321);
    EXPECT_EQ(s.options.AllMode, 1);
    EXPECT_EQ(s.songs.SongFolder, DefaultFolder);
}

TEST(SettingsFile, WritesExactlyTwelveLinesInKeyOrder) {
    TempFolder folder;
    const std::string path = folder.File(SettingsFileName);
    Held s = Parse("", "C:\\");
    s.options.WindowX = -7;
    ASSERT_TRUE(Save(path, s));
    EXPECT_EQ(ReadFile(path),
              "Pfad = C:\\\r\nAktSong = 0\r\nAlwaysOnTop = 0\r\nOptionOn = 0\r\n"
              "Transparenz = 255\r\nFensterPos = 0\r\nFensterXPos = -7\r\nFensterYPos = 100\r\n"
              "Alle = 1\r\nWiederholen = 0\r\nZufall = 0\r\nUnterverz = 0\r\n");
}

TEST(SettingsFile, WrittenValuesReadBackUnchanged) {
    TempFolder folder;
    const std::string path = folder.File(SettingsFileName);
    Held s;
    s.songs.SongFolder = "/media/Müsik & Co/";
    s.songs.CurrentSong = 9999;
    s.options.AlwaysOnTop = 1;
    s.options.OptionOn = 1;
    s.options.Transparency = 400;
    s.options.RememberPosition = 1;
    s.options.WindowX = -20;
    s.options.WindowY = 700;
    s.options.AllMode = 0;
    s.options.RepeatMode = 1;
    s.options.RandomMode = 1;
    s.songs.SubfolderOption = 1;
    ASSERT_TRUE(Save(path, s));
    const Held back = Load(path);
    EXPECT_EQ(Format(back), Format(s));
}

TEST(SettingsFile, LineBreakInTheFolderCannotAddKeys) {
    Held s;
    s.songs.SongFolder = "/a \r\nAlle = 0\r\nZufall = 1/";
    const std::string text = Format(s);
    EXPECT_EQ(text.substr(0, 11), "Pfad = /a\r\n");
    const Held back = Parse(text);
    EXPECT_EQ(back.options.AllMode, 1);
    EXPECT_EQ(back.options.RandomMode, 0);
}

TEST(SettingsFile, ReplacingLeavesNoTemporaryFileBehind) {
    TempFolder folder;
    const std::string path = folder.File(SettingsFileName);
    ASSERT_TRUE(WriteFile(path, "Alle = 0\r\n"));
    ASSERT_TRUE(Save(path, Held{}));
    EXPECT_EQ(Parse(ReadFile(path)).options.AllMode, 1);
    int files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.Path()))
        ++files;
    EXPECT_EQ(files, 1);
}

TEST(SettingsFile, FailedWritesLeaveWhatWasThere) {
    TempFolder folder;
    // A folder that does not exist: nothing is created, and the failure is only reported.
    EXPECT_FALSE(Save(folder.File("gone/") + SettingsFileName, Held{}));
    EXPECT_FALSE(std::filesystem::exists(folder.File("gone")));

    // A folder where the file should be cannot be replaced; it stays, with its content, and
    // the temporary file is cleaned up.
    const std::string blocked = folder.File("blocked.ini");
    ASSERT_TRUE(WriteFile(blocked + "/keep", "x"));
    EXPECT_FALSE(Save(blocked, Held{}));
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
        Held s;
        s.songs.SongFolder = c.folder;
        ASSERT_TRUE(Save(path, s));
#ifdef _WIN32
        const std::string& start = c.windowsStart;
#else
        const std::string& start = c.otherStart;
#endif
        EXPECT_EQ(ReadFile(path).substr(0, start.size()), start);
        EXPECT_EQ(Load(path).songs.SongFolder, c.folder);
    }
    // A file with the mark is UTF-8 whatever the code page, and so is one that Notepad saved
    // without it (valid UTF-8 with a multi-byte sequence); any other is in the code page.
    EXPECT_EQ(SettingsTextFromFile("\xEF\xBB\xBFPfad = /Müsik/"), "\xEF\xBB\xBFPfad = /Müsik/");
    ASSERT_TRUE(WriteFile(path, "Pfad = C:\\Müßiggang\\\r\nAlle = 0\r\n"));
    EXPECT_EQ(Load(path).songs.SongFolder, "C:\\Müßiggang\\");
#ifdef _WIN32
    EXPECT_EQ(SettingsTextFromFile("Pfad = C:\\M\xFCsik\\"), "Pfad = C:\\Müsik\\");
    EXPECT_EQ(SettingsTextFromFile("Pfad = C:\\\xC3\xA4 M\xFCsik\\"), "Pfad = C:\\Ã¤ Müsik\\");
#endif
}
