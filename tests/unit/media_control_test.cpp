// The desktop's media controls over the in-memory backend: every request does what the click
// it stands for does, and the state handed to the desktop follows play, pause, next, stop, the
// end of a song and a new folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <string>

#include "app/app_state.h"
#include "app/lifecycle.h"
#include "app/main_loop.h"
#include "fakes/fake_mci.h"
#include "platform/gui.h"
#include "platform/headless/headless.h"
#include "platform/headless/media_headless.h"
#include "support/test_files.h"
#include "ui/gadgets.h"
#include "volume/mixer_fake.h"

namespace {

namespace hl = gui::headless;
namespace mh = media::headless;
using Kind = media::Request::Kind;
using testing_support::TempFolder;
using testing_support::WriteFile;

constexpr const char* Position = "status MP3Stueck position";

// The last 128 bytes of a song with an ID3v1 tag: title and artist, the rest empty.
std::string Tagged(const std::string& title, const std::string& artist) {
    std::string tag = "TAG" + title;
    tag.resize(33, '\0');
    tag += artist;
    tag.resize(128, '\0');
    return std::string(1000, '\x55') + tag;
}

class MediaControls : public ::testing::Test {
  protected:
    void SetUp() override {
        hl::Reset();
        mh::Reset();
        fake_mci::Reset();
        mixer_fake::Reset();
        fake_mci::SetAnswer("status MP3Stueck position wait", {0, "5000"});
        fake_mci::SetAnswer(Position, {0, "2000"});
    }
    // The program's callbacks hold this test's app, which ends with the test: a later test's
    // wait must not run them.
    void TearDown() override {
        gui::SetModalPass(nullptr);
        gui::SetSessionEndCallback(nullptr);
    }

    // Three songs, the first with a tag; then the program starts.
    void Start(const std::string& settings = "") {
        WriteFile(songs.File("1 Eins.mp3"), Tagged("M\xE4"
                                                   "dchen",
                                                   "Die Band"));  // Windows-1252
        WriteFile(songs.File("2 Zwei.mp3"), "x");
        WriteFile(songs.File("3 Drei.MP3"), "x");
        WriteFile(program.File("MP3Klingtal.Ini"), "Pfad = " + songs.Path() + "\r\n" + settings);
        ASSERT_TRUE(StartUp(*app, StartOptions{program.Path()}));
        Pass();
    }
    void Pass() {
        hl::SetWaitLimit(0);
        LoopPass(*app);
    }
    // A request, and the passes that carry out the clicks it queued.
    void Request(Kind kind, std::int64_t value = 0) {
        ASSERT_TRUE(mh::Inject({kind, value}));
        do Pass();
        while (hl::PendingEvents() > 0);
    }
    bool WasSent(const std::string& command) const {
        const auto& sent = fake_mci::Sent();
        return std::find(sent.begin(), sent.end(), command) != sent.end();
    }
    const media::State& Shown() const { return mh::LastState(); }

    TempFolder program, songs;
    std::unique_ptr<AppState> app = std::make_unique<AppState>();
};

TEST_F(MediaControls, TransportRequestsActAsTheirButtons) {
    Start();
    Request(Kind::Pause);  // nothing plays: nothing to pause
    EXPECT_EQ(app->player.Playing, 0);
    Request(Kind::PlayPause);
    EXPECT_EQ(app->player.Playing, 1);
    EXPECT_EQ(Shown().playback, media::Playback::Playing);

    Request(Kind::Pause);
    Request(Kind::Pause);  // Pause never resumes
    EXPECT_EQ(Shown().playback, media::Playback::Paused);
    Request(Kind::PlayPause);  // the pause button pressed again resumes at the last poll
    EXPECT_TRUE(WasSent("play MP3Stueck from 2000"));
    EXPECT_EQ(Shown().playback, media::Playback::Playing);

    Request(Kind::Next);
    Request(Kind::Next);
    Request(Kind::Next);  // on the last entry there is no next one
    EXPECT_EQ(Shown().song, 2);
    EXPECT_FALSE(media::CanGoNext(Shown()));
    Request(Kind::Previous);
    EXPECT_EQ(Shown().song, 1);
    Request(Kind::Stop);
    EXPECT_EQ(Shown().playback, media::Playback::Stopped);
    EXPECT_FALSE(Shown().songOpen);
}

TEST_F(MediaControls, LoopAndShuffleAreTheToggles) {
    Start("Alle = 1\r\nWiederholen = 0\r\n");
    Request(Kind::SetLoop, static_cast<int>(media::Loop::Track));
    EXPECT_EQ(media::LoopOf(Shown()), media::Loop::Track);
    EXPECT_EQ(gui::GetGadgetState(ui::AllToggle), 0);
    Request(Kind::SetLoop, static_cast<int>(media::Loop::Playlist));
    EXPECT_EQ(media::LoopOf(Shown()), media::Loop::Playlist);
    Request(Kind::SetLoop, static_cast<int>(media::Loop::None));
    EXPECT_EQ(gui::GetGadgetState(ui::RepeatToggle), 0);
    EXPECT_TRUE(Shown().allMode);

    Request(Kind::SetShuffle, 1);
    EXPECT_TRUE(Shown().randomMode);
    Request(Kind::SetLoop, static_cast<int>(media::Loop::Track));  // "Alle" springs back
    EXPECT_EQ(gui::GetGadgetState(ui::AllToggle), 1);
    EXPECT_EQ(media::LoopOf(Shown()), media::Loop::Playlist);
    Request(Kind::SetShuffle, 0);
    EXPECT_FALSE(Shown().randomMode);
}

// A seek is a slide of the position slider, at its resolution: 5000 ms over 500 steps.
TEST_F(MediaControls, SeeksMoveThePositionSlider) {
    Start();
    Request(Kind::SetPosition, 2500);  // nothing open: nothing to move
    EXPECT_FALSE(WasSent("play MP3Stueck from 2500"));
    Request(Kind::Play);
    const int seeks = Shown().seeks;
    Request(Kind::SetPosition, 2500);
    EXPECT_TRUE(WasSent("play MP3Stueck from 2500"));
    EXPECT_EQ(gui::GetGadgetState(ui::PositionSlider), 250);
    EXPECT_EQ(Shown().seeks, seeks + 1);
    Request(Kind::Seek, -9000);  // before the start is the start
    EXPECT_TRUE(WasSent("play MP3Stueck from 0"));
    Request(Kind::SetPosition, 5001);  // past the end: ignored
    Request(Kind::Seek, 9000);         // past the end: the next song
    EXPECT_EQ(Shown().song, 1);
}

// The position the desktop reads: the last one moved on by the time since while playing, up to
// the length when that is known.
TEST(MediaPosition, MovesOnWhilePlayingUpToTheLength) {
    const auto at = std::chrono::steady_clock::time_point{} + std::chrono::hours(1);
    const struct {
        bool playing;
        std::int64_t lengthMs, afterMs, expected;
    } cases[] = {{false, 5000, 700, 2000},
                 {true, 5000, 700, 2700},
                 {true, 2500, 700, 2500},
                 {true, 0, 9000, 11000}};
    for (const auto& c : cases) {
        EXPECT_EQ(media::PositionNow(2000, at, c.playing, c.lengthMs,
                                     at + std::chrono::milliseconds(c.afterMs)),
                  c.expected)
            << c.playing << " " << c.lengthMs;
    }
}

TEST_F(MediaControls, VolumeQuitAndRaise) {
    Start();
    Request(Kind::SetVolume, 32768);
    EXPECT_EQ(mixer_fake::StoredVolume(), 32768u);
    EXPECT_EQ(Shown().volume, 32768u);
    EXPECT_EQ(gui::GadgetRect(ui::VolumeKnob).x, 32 + 210);

    ASSERT_TRUE(hl::Minimise(ui::MainWindow));
    Pass();
    Request(Kind::Raise);
    EXPECT_FALSE(hl::FindWindow(ui::MainWindow)->minimised);
    EXPECT_EQ(hl::FindWindow(ui::MainWindow)->raised, 1);

    ASSERT_TRUE(mh::Inject({Kind::Quit, 0}));
    hl::SetWaitLimit(0);
    EXPECT_FALSE(LoopPass(*app));
}

TEST_F(MediaControls, StateFollowsTheSongs) {
    Start();
    EXPECT_EQ(Shown().songCount, 3);
    EXPECT_EQ(Shown().title, "Mädchen");
    EXPECT_EQ(Shown().artist, "Die Band");
    EXPECT_EQ(Shown().lengthMs, 0);  // the scan's estimate for a file this small

    Request(Kind::Play);
    Pass();
    EXPECT_EQ(Shown().lengthMs, 5000);  // measured when opened
    EXPECT_EQ(mh::LastPosition(), 2000);
    Request(Kind::Next);
    EXPECT_EQ(Shown().title, "2 Zwei");  // no tag: the file name without ".mp3"
    EXPECT_EQ(Shown().artist, "");
    EXPECT_EQ(Shown().path, songs.File("2 Zwei.mp3"));

    fake_mci::SetAnswer(Position, {0, "5000"});  // the song reaches its end
    Pass();
    EXPECT_EQ(Shown().song, 2);
    EXPECT_EQ(Shown().title, "3 Drei");
    Pass();  // the last one ends too: the list has ended
    EXPECT_EQ(Shown().playback, media::Playback::Stopped);

    TempFolder other;
    WriteFile(other.File("neu.mp3"), "x");
    hl::AnswerFolder(other.Path());
    ASSERT_TRUE(hl::Click(ui::FolderButton));
    Pass();
    EXPECT_EQ(Shown().songCount, 1);
    EXPECT_EQ(Shown().song, 0);
    EXPECT_EQ(Shown().title, "neu");
}

TEST_F(MediaControls, WithoutADesktopTheProgramRunsAsBefore) {
    mh::SetAvailable(false);
    Start();
    EXPECT_FALSE(mh::Started());
    EXPECT_EQ(mh::Changes(), 0);
    ASSERT_TRUE(hl::Click(ui::PlayButton));
    Pass();
    EXPECT_EQ(app->player.Playing, 1);
}

}  // namespace
