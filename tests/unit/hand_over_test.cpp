// A folder or song given to the program: on its command line, dropped on its window, or handed
// over by a program started later; and the later program's side, which hands over and ends.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/app_state.h"
#include "app/hand_over.h"
#include "app/handlers.h"
#include "app/lifecycle.h"
#include "app/main_loop.h"
#include "fakes/fake_mci.h"
#include "platform/gui.h"
#include "platform/headless/headless.h"
#include "platform/headless/instance_headless.h"
#include "platform/headless/media_headless.h"
#include "platform/system.h"
#include "support/test_files.h"
#include "ui/gadgets.h"
#include "volume/mixer_fake.h"

namespace {

namespace hl = gui::headless;
using testing_support::TempFolder;
using testing_support::WriteFile;

enum class Way { CommandLine, Drop, LaterProgram };

class GivenPath : public ::testing::Test {
  protected:
    void SetUp() override {
        hl::Reset();
        media::headless::Reset();
        instance::headless::Reset();
        fake_mci::Reset();
        mixer_fake::Reset();
        fake_mci::SetAnswer("status MP3Stueck position wait", {0, "5000"});
        WriteFile(songs.File("1 Eins.mp3"), "x");
        WriteFile(other.File("a.mp3"), "x");
        WriteFile(other.File("b.mp3"), "x");
        WriteFile(other.File("notes.txt"), "x");
        WriteFile(program.File("MP3Klingtal.Ini"), "Pfad = " + songs.Path() + "\r\n");
        ASSERT_TRUE(StartUp(*app, StartOptions{program.Path()}));
    }
    void TearDown() override {
        gui::SetModalPass(nullptr);
        gui::SetSessionEndCallback(nullptr);
    }

    void Give(Way way, const std::string& path) {
        switch (way) {
            case Way::CommandLine:
                TakeFolderDrop(*app, path);
                break;
            case Way::Drop:
                ASSERT_TRUE(hl::Drop(ui::MainWindow, path));
                break;
            case Way::LaterProgram:
                ASSERT_TRUE(media::headless::Inject({media::Request::Kind::Open, 0, path}));
                break;
        }
        Run();
    }
    void Run() {
        hl::SetWaitLimit(0);
        do LoopPass(*app);
        while (hl::PendingEvents() > 0);
    }

    TempFolder program, songs, other;
    std::unique_ptr<AppState> app = std::make_unique<AppState>();
};

TEST_F(GivenPath, SongPlaysInItsFolderAndAFolderOpensStoppedWhicheverWayItCame) {
    struct Case {
        Way way;
        std::string name;  // in the other folder; "" for the folder itself
        int playing, current;
    } cases[] = {
        {Way::CommandLine, "b.mp3", 1, 1},      {Way::Drop, "b.mp3", 1, 1},
        {Way::LaterProgram, "b.mp3", 1, 1},     {Way::LaterProgram, "", 0, 0},
        {Way::LaterProgram, "notes.txt", 0, 0},  // not a song: its folder only
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name + " way " + std::to_string(static_cast<int>(c.way)));
        TearDown();
        app = std::make_unique<AppState>();
        SetUp();
        Give(c.way, c.name.empty() ? other.Path() : other.File(c.name));
        EXPECT_EQ(app->songs.SongFolder, other.Path());
        EXPECT_EQ(app->songs.SongCount, 2);
        EXPECT_EQ(app->player.Playing, c.playing);
        EXPECT_EQ(app->songs.CurrentSong, c.current);
        EXPECT_EQ(gui::GetGadgetState(ui::SongChoice), c.current);
        EXPECT_EQ(fake_mci::Sent().empty(), c.playing == 0);
    }
}

TEST_F(GivenPath, LaterProgramRaisesTheWindowAndWaitsForTheOpenSong) {
    Give(Way::LaterProgram, "");  // started without a path: only to the front
    EXPECT_EQ(hl::FindWindow(ui::MainWindow)->raised, 1);
    EXPECT_EQ(app->songs.SongFolder, songs.Path());

    ASSERT_TRUE(hl::Click(ui::PlayButton));
    Run();
    Give(Way::LaterProgram, other.File("a.mp3"));  // a song is open: it goes on
    EXPECT_EQ(hl::FindWindow(ui::MainWindow)->raised, 2);
    EXPECT_EQ(app->songs.SongFolder, songs.Path());
    EXPECT_EQ(app->songs.SongList[app->songs.CurrentSong], songs.File("1 Eins.mp3"));
}

TEST_F(GivenPath, StartedWhileAnotherRunsHandsTheAbsolutePathOver) {
    EXPECT_FALSE(HandOverToRunning("x.mp3"));  // alone: it runs itself
    instance::headless::SetRunning(true);
    EXPECT_TRUE(HandOverToRunning("x.mp3"));
    EXPECT_TRUE(HandOverToRunning(""));
    ASSERT_EQ(instance::headless::Handed().size(), 2u);
    EXPECT_EQ(instance::headless::Handed()[0], sys::AbsolutePath("x.mp3"));
    EXPECT_NE(instance::headless::Handed()[0], "x.mp3");
    EXPECT_EQ(instance::headless::Handed()[1], "");
}

}  // namespace
