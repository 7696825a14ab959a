// The folder scan over real folders: which names count as songs, the order and depth of the
// descent, what the window shows afterwards, folders that cannot be read, loops and the limit.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>
#include <system_error>

#include "app/song_display.h"
#include "platform/gui.h"
#include "platform/headless/headless.h"
#include "playback/scan.h"
#include "support/test_files.h"
#include "ui/gadgets.h"
#include "ui/main_window.h"

namespace {

namespace hl = gui::headless;
using testing_support::TempFolder;
using testing_support::WriteFile;

class Scan : public ::testing::Test {
  protected:
    void SetUp() override {
        hl::Reset();
        ASSERT_TRUE(ui::StartMainWindow(ui::Options{}, folder.Path(), 0, "Linux", 0, minimised));
    }

    void Run(int withSubfolders) {
        songs->SongCount = 0;
        ScanDirectory(*songs, folder.Path(), 0, withSubfolders, MainWindowScanDisplay());
        ShowTotalDuration(*songs);
    }

    std::string Items() const {
        std::string all;
        for (int i = 0; i < hl::CountGadgetItems(ui::SongChoice); ++i) {
            all += hl::GetGadgetItemText(ui::SongChoice, i) + "|";
        }
        return all;
    }

    TempFolder folder;
    std::unique_ptr<SongListState> songs = std::make_unique<SongListState>();
    int minimised = 0;
};

TEST(Mp3Names, OnlyTheLastFourCharactersCountInAnyCase) {
    EXPECT_TRUE(IsMp3Name("Song.MP3"));
    EXPECT_TRUE(IsMp3Name("a.Mp3"));
    EXPECT_TRUE(IsMp3Name(".mp3"));
    EXPECT_FALSE(IsMp3Name("song.mp3.bak"));
    EXPECT_FALSE(IsMp3Name("mp3"));
    EXPECT_FALSE(IsMp3Name("song.mp4"));
    EXPECT_FALSE(IsMp3Name("songmp3"));
}

TEST_F(Scan, TakesMp3FilesOnlyAndShowsTheResult) {
    for (const char* name : {"x.mp3", "Song.MP3", "a.Mp3", "song.mp3.bak", "mp3", "b.txt"}) {
        WriteFile(folder.File(name), "x");
    }
    std::filesystem::create_directory(folder.File("music.mp3"));
    Run(0);
    EXPECT_EQ(songs->SongCount, 3);
    EXPECT_EQ(Items(), "a.Mp3|Song.MP3|x.mp3|");
    EXPECT_EQ(songs->SongList[0], folder.File("a.Mp3"));
    EXPECT_TRUE(gui::IsGadgetEnabled(ui::SongChoice));
    EXPECT_EQ(gui::GetGadgetState(ui::SongChoice), 0);
    EXPECT_EQ(gui::GetGadgetText(ui::SongCountText), "3");
    EXPECT_EQ(gui::GetGadgetText(ui::SongNumberText), "1");
    EXPECT_EQ(gui::GetGadgetText(ui::TotalTimeText), "0:00:00");
    EXPECT_FALSE(hl::WaitCursorOn());
    EXPECT_TRUE(hl::FindWindow(ui::MainWindow)->enabled);
}

// The scan itself touches no control: a caller without a display gets the list alone.
TEST_F(Scan, WithoutADisplayOnlyTheListChanges) {
    WriteFile(folder.File("a.mp3"), "x");
    ScanDirectory(*songs, folder.Path(), 0, 0);
    EXPECT_EQ(songs->SongCount, 1);
    EXPECT_EQ(hl::CountGadgetItems(ui::SongChoice), 0);
    EXPECT_FALSE(gui::IsGadgetEnabled(ui::SongChoice));
    EXPECT_FALSE(hl::WaitCursorOn());
}

TEST_F(Scan, RecordsEachSongsHeaderAndTheTotal) {
    // 61 s at 128 kbit/s (2341 frames of 417 bytes); then a song without a header where an
    // earlier scan left its texts.
    std::string frames;
    for (int i = 0; i < 2341; ++i)
        frames += std::string("\xFF\xFB\x90\x00", 4) + std::string(413, '\0');
    WriteFile(folder.File("a.mp3"), frames);
    WriteFile(folder.File("b.mp3"), "");
    songs->SongBitrateText[1] = "192";
    songs->SongSampleRateText[1] = "48000";
    songs->SongDuration[1] = 9;
    Run(0);
    EXPECT_EQ(songs->SongBitrateText[0], "128");
    EXPECT_EQ(songs->SongSampleRateText[0], "44100");
    EXPECT_EQ(songs->SongDuration[0], 61);
    EXPECT_EQ(songs->SongBitrateText[1], "");
    EXPECT_EQ(songs->SongSampleRateText[1], "");
    EXPECT_EQ(songs->SongDuration[1], 0);
    EXPECT_EQ(songs->TotalDuration, 61);
    EXPECT_EQ(gui::GetGadgetText(ui::TotalTimeText), "0:01:01");
    EXPECT_EQ(gui::GetGadgetText(ui::BitrateValue), "128");
    EXPECT_EQ(gui::GetGadgetText(ui::SampleRateValue), "44100");
}

TEST_F(Scan, EmptyFolderGivesAnEmptyDisabledList) {
    songs->CurrentSong = 5;
    Run(1);
    EXPECT_EQ(songs->SongCount, 0);
    EXPECT_EQ(songs->CurrentSong, 0);
    EXPECT_FALSE(gui::IsGadgetEnabled(ui::SongChoice));
    EXPECT_EQ(gui::GetGadgetText(ui::SongCountText), "0");
    EXPECT_EQ(gui::GetGadgetText(ui::SongNumberText), "0");
    EXPECT_TRUE(hl::Messages().empty());
}

TEST_F(Scan, EmptyFolderAfterAFullOneShowsNoRates) {
    WriteFile(folder.File("a.mp3"), std::string("\xFF\xFB\x90\x00", 4) + std::string(413, '\0'));
    Run(0);
    ASSERT_EQ(gui::GetGadgetText(ui::BitrateValue), "128");
    std::filesystem::remove(folder.File("a.mp3"));
    Run(0);
    EXPECT_EQ(gui::GetGadgetText(ui::BitrateValue), "");
    EXPECT_EQ(gui::GetGadgetText(ui::SampleRateValue), "");
}

TEST_F(Scan, SubfoldersDepthFirstOnlyWhenAskedWithEqualNamesTwice) {
    WriteFile(folder.File("b.mp3"), "x");
    WriteFile(folder.File("a/lied.mp3"), "x");
    WriteFile(folder.File("a/tief/unten/lied.mp3"), "x");
    WriteFile(folder.File("c/lied.mp3"), "x");
    Run(0);
    EXPECT_EQ(Items(), "b.mp3|");
    gui::ClearGadgetItems(ui::SongChoice);
    Run(1);
    EXPECT_EQ(Items(), "lied.mp3|lied.mp3|b.mp3|lied.mp3|");
    EXPECT_EQ(songs->SongList[1],
              testing_support::NativePath(folder.File("a/tief/unten/lied.mp3")));
}

TEST_F(Scan, UnreadableFolderNamesTheShownFolderAndKeepsTheOthers) {
    WriteFile(folder.File("gut/lied.mp3"), "x");
    WriteFile(folder.File("zu/lied.mp3"), "x");
    std::filesystem::permissions(folder.File("zu"), std::filesystem::perms::none);
    const bool enforced = ::access(folder.File("zu/lied.mp3").c_str(), R_OK) != 0;  // not root
    Run(1);
    std::filesystem::permissions(folder.File("zu"), std::filesystem::perms::owner_all);
    if (enforced) {
        ASSERT_EQ(hl::Messages().size(), 1u);
        EXPECT_EQ(hl::Messages()[0].title, "Fehler");
        EXPECT_EQ(hl::Messages()[0].text,
                  "Verzeichnis kann nicht durchsucht werden: " + folder.Path());
    }
    EXPECT_GE(songs->SongCount, 1);

    hl::Reset();
    SetUp();
    songs->SongCount = 0;
    ScanDirectory(*songs, folder.File("fehlt/"), 0, 0, MainWindowScanDisplay());
    ASSERT_EQ(hl::Messages().size(), 1u);
    EXPECT_EQ(songs->SongCount, 0);
    EXPECT_FALSE(hl::WaitCursorOn());
}

TEST_F(Scan, LinkBackToAnOuterFolderIsNotEnteredAgain) {
    WriteFile(folder.File("a/lied.mp3"), "x");
    std::error_code error;
    std::filesystem::create_directory_symlink(folder.Path(), folder.File("a/zurück"), error);
    if (error) GTEST_SKIP() << "no symbolic links here: " << error.message();
    Run(1);
    EXPECT_EQ(songs->SongCount, 1);
}

TEST_F(Scan, AddingStopsAtTheListsSize) {
    for (int i = 0; i < MaxSongs + 5; ++i) WriteFile(folder.File(std::to_string(i) + ".mp3"), "");
    Run(0);
    EXPECT_EQ(songs->SongCount, MaxSongs);
    EXPECT_EQ(hl::CountGadgetItems(ui::SongChoice), MaxSongs);
    EXPECT_EQ(gui::GetGadgetText(ui::SongCountText), "10000");
}

}  // namespace
