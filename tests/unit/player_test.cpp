// The player over the headless gui and the scripted device: start-up from a settings file, the
// transport, the play modes at the end of a song, the volume knob and the folder choice.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <set>
#include <string>

#include "app/app_state.h"
#include "app/handlers.h"
#include "app/lifecycle.h"
#include "app/main_loop.h"
#include "app/media_control.h"
#include "app/player.h"
#include "fakes/fake_mci.h"
#include "platform/gui.h"
#include "platform/headless/headless.h"
#include "support/test_files.h"
#include "ui/gadgets.h"
#include "ui/main_window.h"
#include "volume/mixer_fake.h"

namespace {

namespace hl = gui::headless;
using testing_support::TempFolder;
using testing_support::WriteFile;

constexpr const char* Position = "status MP3Stueck position";

class Player : public ::testing::Test {
  protected:
    void SetUp() override {
        hl::Reset();
        fake_mci::Reset();
        mixer_fake::Reset();
        mixer_fake::ChangeVolumeOutside(0);
        fake_mci::SetAnswer("status MP3Stueck position wait", {0, "5000"});
    }
    // The program's callbacks hold this test's app, which ends with the test: a later test's
    // wait must not run them.
    void TearDown() override {
        gui::SetModalPass(nullptr);
        gui::SetSessionEndCallback(nullptr);
    }

    // Starts the program with songs named 0.mp3 .. (count-1).mp3 and extra settings lines.
    void Start(int count, const std::string& settings = "") {
        for (int i = 0; i < count; ++i) WriteFile(songs.File(std::to_string(i) + ".mp3"), "x");
        WriteFile(program.File("MP3Klingtal.Ini"), "Pfad = " + songs.Path() + "\r\n" + settings);
        ASSERT_TRUE(StartUp(*app, StartOptions{program.Path()}));
    }

    void Click(int gadget) {
        ASSERT_TRUE(hl::Click(gadget));
        Pass();
    }
    // The waits are not sat out: LastWaitRequest tells what a pass asked for.
    void Pass() {
        hl::SetWaitLimit(0);
        LoopPass(*app);
    }

    // Lets the open song reach its end on the next pass.
    void EndSong() {
        fake_mci::SetAnswer(Position, {0, "5000"});
        Pass();
        fake_mci::SetAnswer(Position, {0, "100"});
    }

    int SentCount(const std::string& command) const {
        int n = 0;
        for (const std::string& sent : fake_mci::Sent()) n += sent == command;
        return n;
    }
    std::string LastOpen() const {
        for (auto it = fake_mci::Sent().rbegin(); it != fake_mci::Sent().rend(); ++it) {
            if (it->rfind("open ", 0) == 0) return *it;
        }
        return "";
    }
    std::string OpenOf(int song) const {
        return "open \"" + songs.Path() + std::to_string(song) + ".mp3\" alias MP3Stueck";
    }

    TempFolder program, songs;
    std::unique_ptr<AppState> app = std::make_unique<AppState>();
};

TEST_F(Player, StartsWithTheStoredSongSelectedAndNothingPlaying) {
    Start(3, "AktSong = 2\r\n");
    EXPECT_EQ(gui::GetGadgetState(ui::SongChoice), 2);
    EXPECT_EQ(gui::GetGadgetText(ui::SongNumberText), "3");
    EXPECT_EQ(gui::GetGadgetText(ui::SongCountText), "3");
    EXPECT_EQ(app->player.Playing, 0);
    EXPECT_TRUE(fake_mci::Sent().empty());
}

TEST_F(Player, StoredSongBeyondTheListStartsAtTheFirstAndEmptyListShowsZero) {
    Start(2, "AktSong = 7\r\n");
    EXPECT_EQ(app->songs.CurrentSong, 0);
    EXPECT_EQ(gui::GetGadgetText(ui::SongNumberText), "1");

    hl::Reset();
    app = std::make_unique<AppState>();
    TempFolder empty;
    WriteFile(program.File("MP3Klingtal.Ini"), "Pfad = " + empty.Path() + "\r\nAktSong = 4\r\n");
    ASSERT_TRUE(StartUp(*app, StartOptions{program.Path()}));
    EXPECT_EQ(app->songs.CurrentSong, 0);
    EXPECT_EQ(gui::GetGadgetText(ui::SongNumberText), "0");
    EXPECT_EQ(gui::GetGadgetText(ui::SongCountText), "0");
}

TEST_F(Player, PlayWithAnEmptyListDoesNothing) {
    Start(0);
    Click(ui::PlayButton);
    EXPECT_EQ(app->player.Playing, 0);
    EXPECT_TRUE(fake_mci::Sent().empty());
}

TEST_F(Player, SongThatCannotBeOpenedStopsInsteadOfRepeatingTheError) {
    Start(1, "Alle = 0\r\nWiederholen = 1\r\n");
    fake_mci::SetAnswer(OpenOf(0), {275, ""});
    Click(ui::PlayButton);
    for (int pass = 0; pass < 5; ++pass) Pass();
    EXPECT_EQ(app->player.Playing, 0);
    EXPECT_EQ(hl::Messages().size(), 1u);
    EXPECT_TRUE(gui::IsGadgetEnabled(ui::FolderButton));
}

// The user's choice that cannot be opened is reported; the displays then belong to that song.
TEST_F(Player, ChosenSongThatCannotBeOpenedIsReportedAndShown) {
    Start(3);
    Click(ui::PlayButton);
    fake_mci::SetAnswer(OpenOf(2), {275, ""});
    ASSERT_TRUE(hl::SelectItem(ui::SongChoice, 2));
    Pass();
    EXPECT_EQ(hl::Messages().size(), 1u);
    EXPECT_EQ(gui::GetGadgetText(ui::SongNumberText), "3");
    EXPECT_EQ(app->player.Playing, 0);
}

// The list moving on by itself skips what cannot be opened, each song once per advance and
// without a message; a list of nothing but broken songs ends stopped.
TEST_F(Player, TheListSkipsSongsThatCannotBeOpened) {
    Start(4, "Wiederholen = 1\r\n");
    Click(ui::PlayButton);
    for (int broken : {1, 2}) fake_mci::SetAnswer(OpenOf(broken), {275, ""});
    EndSong();
    EXPECT_EQ(LastOpen(), OpenOf(3));
    EXPECT_EQ(app->player.Playing, 1);
    EXPECT_EQ(gui::GetGadgetText(ui::SongNumberText), "4");

    for (int broken : {0, 3}) fake_mci::SetAnswer(OpenOf(broken), {275, ""});
    const auto before = fake_mci::Sent().size();
    EndSong();
    EXPECT_EQ(app->player.Playing, 0);
    EXPECT_EQ(fake_mci::Sent().size() - before, 4u + 2u);  // four opens, the close, one poll
    EXPECT_TRUE(hl::Messages().empty());
    const int shown = gui::GetGadgetState(ui::SongChoice);
    EXPECT_EQ(gui::GetGadgetText(ui::SongNumberText), std::to_string(shown + 1));
    EXPECT_EQ(shown, 3);
    EXPECT_EQ(gui::GetGadgetText(ui::SongLengthText), "0:05");  // its own, measured as it played
}

// A song ends when its polled position reaches its length, also within its first second, and
// the loop wakes when the end is due rather than at the next whole second.
TEST_F(Player, ASongEndsWhenItsPositionReachesItsLength) {
    const struct {
        const char* length;
        const char* before;  // the last poll before the end
        int wait;            // milliseconds until the end is due, from there
        const char* end;
    } cases[] = {{"1400", "1300", 100, "1400"}, {"400", "150", 250, "400"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.length);
        SetUp();
        hl::Reset();
        app = std::make_unique<AppState>();
        fake_mci::SetAnswer("status MP3Stueck position wait", {0, c.length});
        Start(1);
        Click(ui::PlayButton);
        fake_mci::SetAnswer(Position, {0, c.before});
        Pass();
        Pass();
        EXPECT_EQ(app->player.Playing, 1);
        EXPECT_LE(hl::LastWaitRequest(), c.wait + 2);
        EXPECT_GE(hl::LastWaitRequest(), c.wait - 30);
        fake_mci::SetAnswer(Position, {0, c.end});
        Pass();
        EXPECT_EQ(app->player.Playing, 0);
    }
}

// Without a length a song ends once its position has stood still for a second, but not at its
// start and not because it was paused.
TEST_F(Player, ASongWithoutALengthEndsWhenItsPositionStandsStill) {
    fake_mci::SetAnswer("status MP3Stueck position wait", {0, ""});
    Start(1);
    Click(ui::PlayButton);
    const auto aSecondAgo = [this] { app->player.StillSince -= std::chrono::milliseconds(1001); };
    Pass();
    aSecondAgo();
    Pass();  // still at 0: not yet started
    fake_mci::SetAnswer(Position, {0, "1500"});
    Pass();
    Click(ui::PauseButton);
    aSecondAgo();
    Click(ui::PauseButton);
    Pass();  // resumed: the standstill starts again
    EXPECT_EQ(app->player.Playing, 1);
    aSecondAgo();
    Pass();
    EXPECT_EQ(app->player.Playing, 0);
}

// While the About window waits for the user, the song goes on to its end and the next one
// starts, and a media request acts at once; the window itself still waits for its click.
TEST_F(Player, TheListGoesOnWhileTheAboutWindowIsOpen) {
    Start(2);
    Click(ui::PlayButton);
    int step = 0;
    hl::SetWaitHook([&] {
        if (step == 0) fake_mci::SetAnswer(Position, {0, "5000"});
        if (step == 1) HandleMediaRequest(*app, {media::Request::Kind::Pause, 0});
        return ++step < 3;  // then the window closes
    });
    Click(ui::AboutButton);
    hl::SetWaitHook({});
    EXPECT_EQ(LastOpen(), OpenOf(1));
    EXPECT_EQ(fake_mci::Sent().back(), "pause MP3Stueck wait");
    EXPECT_EQ(app->player.Paused, 1);
    EXPECT_EQ(gui::CurrentWindow(), ui::MainWindow);
}

TEST_F(Player, PauseTwiceResumesAtTheLastPolledPosition) {
    Start(2);
    Click(ui::PlayButton);
    fake_mci::SetAnswer(Position, {0, "1234"});
    Pass();
    Click(ui::PauseButton);
    EXPECT_EQ(fake_mci::Sent().back(), "pause MP3Stueck wait");
    fake_mci::SetAnswer(Position, {0, "1300"});  // a paused song is not polled
    Pass();
    Click(ui::PauseButton);
    EXPECT_EQ(app->player.Paused, 0);
    EXPECT_EQ(SentCount("play MP3Stueck from 1234"), 1);
}

TEST_F(Player, SliderWhilePausedMovesOnlyTheResumePoint) {
    Start(1);
    Click(ui::PlayButton);
    Click(ui::PauseButton);
    const auto before = fake_mci::Sent().size();
    ASSERT_TRUE(hl::Slide(ui::PositionSlider, 250));
    Pass();
    Pass();
    EXPECT_EQ(app->player.Position, 2500);
    EXPECT_EQ(fake_mci::Sent().size(), before);  // neither played nor polled
    Click(ui::PlayButton);
    EXPECT_EQ(fake_mci::Sent().back(), "play MP3Stueck from 2500");
}

TEST_F(Player, SliderMovedByTheUserIsNotPutBackByTheDisplay) {
    Start(1);
    Click(ui::PlayButton);
    fake_mci::SetAnswer(Position, {0, "1000"});
    Pass();  // idle: the display moves the slider to 100
    EXPECT_EQ(gui::GetGadgetState(ui::PositionSlider), 100);
    ASSERT_TRUE(hl::Slide(ui::PositionSlider, 400));
    Pass();
    EXPECT_EQ(fake_mci::Sent().back(), "play MP3Stueck from 4000");
    // A click on the track: some toolkits report the press before the slide it made.
    ASSERT_TRUE(hl::MouseDown(ui::MainWindow, 150, 50));
    ASSERT_TRUE(hl::Slide(ui::PositionSlider, 250));
    Pass();
    Pass();
    EXPECT_EQ(fake_mci::Sent().back(), "play MP3Stueck from 2500");
}

TEST_F(Player, PositionArithmeticCopesWithLongAndEmptySongs) {
    fake_mci::SetAnswer("status MP3Stueck position wait", {0, "5400000"});  // 90 minutes
    Start(1);
    Click(ui::PlayButton);
    ASSERT_TRUE(hl::Slide(ui::PositionSlider, 500));
    Pass();
    EXPECT_EQ(app->player.Position, 5400000);
    fake_mci::SetAnswer(Position, {0, "4000000"});
    Pass();
    EXPECT_EQ(gui::GetGadgetState(ui::PositionSlider), 370);

    app->mci.SongLength = 0;  // a song the device measured as empty
    Pass();
    ASSERT_TRUE(hl::Slide(ui::PositionSlider, 100));
    Pass();
    EXPECT_EQ(app->player.Position, 0);
}

TEST_F(Player, PreviousRestartsTheFirstSongWhilePlayingAndOnlyShowsItWhenStopped) {
    Start(3);
    Click(ui::PreviousButton);
    EXPECT_TRUE(fake_mci::Sent().empty());
    EXPECT_EQ(gui::GetGadgetText(ui::SongNumberText), "1");
    Click(ui::PlayButton);
    Click(ui::PreviousButton);
    EXPECT_EQ(SentCount(OpenOf(0)), 2);
    EXPECT_EQ(SentCount("close MP3Stueck"), 1);
}

TEST_F(Player, NextOnTheLastSongStaysInsideTheList) {
    Start(2, "AktSong = 1\r\n");
    Click(ui::NextButton);
    EXPECT_EQ(app->songs.CurrentSong, 1);
    EXPECT_EQ(gui::GetGadgetState(ui::SongChoice), 1);
    Click(ui::PlayButton);
    EXPECT_EQ(LastOpen(), OpenOf(1));
}

TEST_F(Player, AllWithoutRepeatStopsAfterTheLastSong) {
    Start(2, "AktSong = 1\r\n");
    Click(ui::PlayButton);
    EndSong();
    EXPECT_EQ(app->player.Playing, 0);
    EXPECT_EQ(gui::GetGadgetText(ui::ElapsedText), "0:00");
    EXPECT_FALSE(gui::IsGadgetEnabled(ui::PositionSlider));
    EXPECT_TRUE(gui::IsGadgetEnabled(ui::FolderButton));
    EXPECT_EQ(SentCount(OpenOf(0)), 0);
    // The last song stays the current one: the info button still has a song to read.
    EXPECT_EQ(app->songs.CurrentSong, 1);
    Click(ui::InfoButton);
    EXPECT_EQ(hl::Messages().size(), 1u);
}

TEST_F(Player, AllWithRepeatWrapsAndRepeatAloneRestartsTheSong) {
    Start(2, "AktSong = 1\r\nWiederholen = 1\r\n");
    Click(ui::PlayButton);
    EndSong();
    EXPECT_EQ(LastOpen(), OpenOf(0));
    EXPECT_EQ(gui::GetGadgetState(ui::SongChoice), 0);

    Click(ui::AllToggle);  // all songs off; the repeat toggle is still pressed
    EndSong();
    EXPECT_EQ(LastOpen(), OpenOf(0));
    EXPECT_EQ(SentCount(OpenOf(0)), 2);
    EXPECT_EQ(app->player.Playing, 1);
}

TEST_F(Player, RandomOrderNeverRepeatsTheCurrentSongAndReachesEveryOther) {
    Start(4, "Zufall = 1\r\n");
    Click(ui::PlayButton);
    std::set<int> heard;
    for (int end = 0; end < 60; ++end) {
        const int before = app->songs.CurrentSong;
        EndSong();
        ASSERT_NE(app->songs.CurrentSong, before);
        ASSERT_EQ(gui::GetGadgetState(ui::SongChoice), app->songs.CurrentSong);
        heard.insert(app->songs.CurrentSong);
    }
    EXPECT_EQ(heard, (std::set<int>{0, 1, 2, 3}));
}

TEST_F(Player, RandomOrderWithTwoSongsAlternatesAndWithOneFollowsTheList) {
    Start(2, "Zufall = 1\r\n");
    Click(ui::PlayButton);
    EndSong();
    EXPECT_EQ(app->songs.CurrentSong, 1);
    EndSong();
    EXPECT_EQ(app->songs.CurrentSong, 0);

    hl::Reset();
    app = std::make_unique<AppState>();
    TempFolder one;
    WriteFile(one.File("solo.mp3"), "x");
    WriteFile(program.File("MP3Klingtal.Ini"), "Pfad = " + one.Path() + "\r\nZufall = 1\r\n");
    ASSERT_TRUE(StartUp(*app, StartOptions{program.Path()}));
    Click(ui::PlayButton);
    EndSong();  // no other song and no repeat: the list has ended
    EXPECT_EQ(app->player.Playing, 0);
}

TEST_F(Player, RandomForcesAllOnAndAllSpringsBackWhileRandomIsOn) {
    Start(2, "Alle = 0\r\n");
    Click(ui::RandomToggle);
    EXPECT_EQ(app->options.AllMode, 1);
    EXPECT_EQ(gui::GetGadgetState(ui::AllToggle), 1);
    Click(ui::AllToggle);
    EXPECT_EQ(gui::GetGadgetState(ui::AllToggle), 1);
    EXPECT_EQ(app->options.AllMode, 1);
    Click(ui::RandomToggle);
    Click(ui::AllToggle);
    EXPECT_EQ(app->options.AllMode, 0);
}

TEST_F(Player, VolumeKnobFollowsTheMixerAndIsDraggedFromInsideTheTrack) {
    Start(1);
    mixer_fake::ChangeVolumeOutside(30000);
    Pass();
    EXPECT_EQ(gui::GadgetRect(ui::VolumeKnob).x, 240);

    mixer_fake::ChangeVolumeOutside(0);
    Pass();
    ASSERT_TRUE(hl::MouseDown(ui::MainWindow, 210, 80));  // the track's edge is outside
    Pass();
    EXPECT_EQ(app->player.VolumeDrag, 0);
    ASSERT_TRUE(hl::MouseDown(ui::MainWindow, 211, 80));
    Pass();
    EXPECT_EQ(app->player.VolumeDrag, 1);
    ASSERT_TRUE(hl::MouseMove(ui::MainWindow, 254, 90));
    Pass();
    EXPECT_EQ(gui::GadgetRect(ui::VolumeKnob).x, 250);
    EXPECT_EQ(mixer_fake::StoredVolume(), 40329u);
    ASSERT_TRUE(hl::MouseUp(ui::MainWindow, 254, 90));
    Pass();
    EXPECT_EQ(app->player.VolumeDrag, 0);
}

// The track's ends set 0 and 65535, the knob stays where the volume it set puts it, and the
// wheel over the knob or the track moves it a pixel a notch.
TEST_F(Player, VolumeKnobSpansTheWholeScaleAndTakesTheWheel) {
    Start(1);
    mixer_fake::ChangeVolumeOutside(30000);
    Pass();
    const struct {
        int mouseX;
        int knobX;
        std::uint32_t volume;
    } drags[] = {{212, 210, 0}, {279, 275, 65535}, {230, 226, 16131}};
    for (const auto& drag : drags) {
        ASSERT_TRUE(hl::MouseDown(ui::MainWindow, drag.mouseX, 85));
        Pass();
        ASSERT_TRUE(hl::MouseUp(ui::MainWindow, drag.mouseX, 85));
        Pass();
        Pass();
        EXPECT_EQ(mixer_fake::StoredVolume(), drag.volume) << drag.mouseX;
        EXPECT_EQ(gui::GadgetRect(ui::VolumeKnob).x, drag.knobX) << drag.mouseX;
    }
    const struct {
        int mouseX, notches;
        std::uint32_t volume;
    } turns[] = {{228, 1, 17139}, {260, -2, 15123}, {100, 5, 15123}};
    for (const auto& turn : turns) {
        ASSERT_TRUE(hl::Wheel(ui::MainWindow, turn.mouseX, 85, turn.notches));
        Pass();
        EXPECT_EQ(mixer_fake::StoredVolume(), turn.volume) << turn.mouseX;
    }
    EXPECT_EQ(gui::GadgetRect(ui::VolumeKnob).x, 225);
}

// Mute set elsewhere swaps the buttons as a volume change moves the knob.
TEST_F(Player, MuteButtonsFollowTheMixer) {
    Start(1);
    for (const int muted : {1, 0}) {
        mixer_fake::ChangeMuteOutside(muted);
        Pass();
        EXPECT_EQ(gui::IsGadgetVisible(ui::UnmuteButton), muted == 1);
        EXPECT_EQ(gui::IsGadgetVisible(ui::MuteButton), muted == 0);
    }
}

// A click on the button shown mutes or unmutes with one request and shows the other button.
TEST_F(Player, MuteButtonsSetTheMixerAndSwap) {
    Start(1);
    for (const int muted : {1, 0}) {
        const int requests = mixer_fake::Calls().setMute;
        Click(muted == 1 ? ui::MuteButton : ui::UnmuteButton);
        EXPECT_EQ(mixer_fake::StoredMute(), muted);
        EXPECT_EQ(mixer_fake::Calls().setMute, requests + (muted == 1 ? 1 : 2));
        EXPECT_EQ(gui::IsGadgetVisible(ui::UnmuteButton), muted == 1);
        EXPECT_EQ(gui::IsGadgetVisible(ui::MuteButton), muted == 0);
    }
}

// The length shown belongs to the song shown: another pick or a new folder shows "0:00", and
// after a new folder its first song, the one the list shows, is the current one.
TEST_F(Player, LengthAndCurrentSongFollowWhatTheListShows) {
    Start(3, "AktSong = 2\r\n");
    Click(ui::PlayButton);
    Click(ui::StopButton);
    EXPECT_EQ(gui::GetGadgetText(ui::SongLengthText), "0:05");
    ASSERT_TRUE(hl::SelectItem(ui::SongChoice, 0));
    Pass();
    EXPECT_EQ(gui::GetGadgetText(ui::SongLengthText), "0:00");
    ASSERT_TRUE(hl::SelectItem(ui::SongChoice, 2));
    Pass();
    EXPECT_EQ(gui::GetGadgetText(ui::SongLengthText), "0:05");

    TempFolder other;
    for (const char* name : {"a.mp3", "b.mp3", "c.mp3"}) WriteFile(other.File(name), "x");
    ASSERT_TRUE(hl::Drop(ui::MainWindow, other.Path()));
    Pass();
    EXPECT_EQ(app->songs.CurrentSong, 0);
    EXPECT_EQ(gui::GetGadgetText(ui::SongLengthText), "0:00");
}

// A song named on the command line opens its folder as a drop would, only while the folder
// button takes clicks.
TEST_F(Player, CommandLineSongOpensItsFolderUnlessPlaying) {
    Start(2);
    TempFolder other;
    WriteFile(other.File("neu.mp3"), "x");
    Click(ui::PlayButton);
    TakeFolderDrop(*app, other.File("neu.mp3"));
    EXPECT_EQ(app->songs.SongFolder, songs.Path());
    Click(ui::StopButton);
    TakeFolderDrop(*app, other.File("neu.mp3"));
    EXPECT_EQ(app->songs.SongFolder, other.Path());
    EXPECT_EQ(hl::CountGadgetItems(ui::SongChoice), 1);
}

// Any stored opacity fades out in at most 128 steps, and is written back as it was read. The
// time includes writing the settings file, whose flush a busy disk can stretch to half a
// second; a fade in steps of 2 from the stored value took six seconds.
TEST_F(Player, HugeOpacityFadesOutQuicklyAndIsKept) {
    Start(1, "Transparenz = 2147483647\r\n");
    app->system.OsName = std::string(ui::TransparencySystem);  // the one system that fades
    const auto begin = std::chrono::steady_clock::now();
    Shutdown(*app, true);
    EXPECT_LT(std::chrono::steady_clock::now() - begin, std::chrono::seconds(2));
    EXPECT_EQ(hl::FindWindow(ui::MainWindow)->opacity, 1);
    const std::string saved = testing_support::ReadFile(program.File("MP3Klingtal.Ini"));
    EXPECT_NE(saved.find("Transparenz = 2147483647\r\n"), std::string::npos);
}

// Without a window nothing is taken from it: the file goes back as it was read, a folder
// without its closing separator and flags other than 0 and 1 included.
TEST_F(Player, AWindowThatCannotOpenWritesTheFileBackAsRead) {
    const std::string ini = program.File("MP3Klingtal.Ini");
    const std::string read =
        "Pfad = nirgends\r\nAktSong = 9\r\nAlwaysOnTop = 2\r\nOptionOn = 3\r\n"
        "Transparenz = 40\r\nFensterPos = 5\r\nFensterXPos = 6\r\nFensterYPos = 7\r\n"
        "Alle = 8\r\nWiederholen = 9\r\nZufall = 10\r\nUnterverz = 11\r\n";
    WriteFile(ini, read);
    hl::FailNextOpenWindow();
    ASSERT_FALSE(StartUp(*app, StartOptions{program.Path()}));
    Shutdown(*app, false);
    EXPECT_EQ(testing_support::ReadFile(ini), read);
}

// A pass without an event waits only as long as the displays allow: while a song plays until
// its next whole second is due (the position was polled at 2.3 s, so about 0.7 s), while the
// knob is dragged 20 ms, and otherwise until something arrives, or a second when the mixer
// cannot report changes made elsewhere.
TEST_F(Player, APassWithoutAnEventWaitsUntilTheDisplaysNeedIt) {
#ifdef _WIN32
    constexpr int UntilSomethingArrives = 1000;  // the fake mixer has no way to tell there
#else
    constexpr int UntilSomethingArrives = -1;
#endif
    Start(1);
    Pass();
    EXPECT_EQ(hl::LastWaitRequest(), UntilSomethingArrives);
    mixer_fake::SetPresent(false);
    Pass();
    EXPECT_EQ(hl::LastWaitRequest(), 1000);
    mixer_fake::SetPresent(true);

    Click(ui::PlayButton);
    fake_mci::SetAnswer(Position, {0, "2300"});
    Pass();
    Pass();
    EXPECT_LE(hl::LastWaitRequest(), 702);
    EXPECT_GE(hl::LastWaitRequest(), 650);
    Click(ui::PauseButton);
    Pass();
    EXPECT_EQ(hl::LastWaitRequest(), UntilSomethingArrives);

    ASSERT_TRUE(hl::MouseDown(ui::MainWindow, 220, 85));
    Pass();
    ASSERT_EQ(app->player.VolumeDrag, 1);
    Pass();
    EXPECT_EQ(hl::LastWaitRequest(), 20);
}

TEST_F(Player, CancelledFolderChoiceChangesNothing) {
    Start(2);
    hl::AnswerCancel();
    Click(ui::FolderButton);
    EXPECT_EQ(app->songs.SongFolder, songs.Path());
    EXPECT_EQ(app->songs.SongCount, 2);
    EXPECT_EQ(hl::CountGadgetItems(ui::SongChoice), 2);
    EXPECT_TRUE(hl::Messages().empty());
}

TEST_F(Player, ChosenFolderReplacesTheListAndIsSaved) {
    Start(3, "AktSong = 2\r\n");
    TempFolder other;
    WriteFile(other.File("neu.mp3"), "x");
    hl::AnswerFolder(other.Path());
    Click(ui::FolderButton);
    EXPECT_EQ(gui::GetGadgetText(ui::FolderDisplay), other.Path());
    EXPECT_EQ(hl::CountGadgetItems(ui::SongChoice), 1);
    EXPECT_EQ(app->songs.CurrentSong, 0);

    ASSERT_TRUE(hl::Close(ui::MainWindow));
    hl::SetWaitLimit(0);
    EXPECT_FALSE(LoopPass(*app));
    Shutdown(*app, true);
    const std::string saved = testing_support::ReadFile(program.File("MP3Klingtal.Ini"));
    EXPECT_NE(saved.find("Pfad = " + other.Path() + "\r\n"), std::string::npos);
    EXPECT_NE(saved.find("AktSong = 0\r\n"), std::string::npos);
}

// Windows may end the process as soon as the session-end message returns, so the settings are
// written then, once, with what the window shows at that moment.
TEST_F(Player, SessionEndWritesTheSettingsAtOnce) {
    Start(3, "FensterPos = 1\r\nFensterXPos = 40\r\nFensterYPos = 50\r\n");
    ASSERT_TRUE(hl::SelectItem(ui::SongChoice, 1));
    Pass();
    Click(ui::RandomToggle);
    const std::string ini = program.File("MP3Klingtal.Ini");
    ASSERT_TRUE(WriteFile(ini, ""));

    ASSERT_TRUE(hl::EndSession());
    const std::string saved = testing_support::ReadFile(ini);
    EXPECT_NE(saved.find("AktSong = 1\r\n"), std::string::npos) << saved;
    EXPECT_NE(saved.find("Zufall = 1\r\n"), std::string::npos) << saved;
    EXPECT_NE(saved.find("FensterXPos = 40\r\n"), std::string::npos) << saved;
    EXPECT_FALSE(hl::EndSession());  // once only
}

TEST_F(Player, NoSessionEndCallbackOutlivesTheShutdown) {
    Start(1);
    Shutdown(*app, true);
    EXPECT_FALSE(hl::EndSession());
}

TEST_F(Player, MinimisedTitleShowsTimeAndSong) {
    Start(1);
    Click(ui::PlayButton);
    fake_mci::SetAnswer(Position, {0, "65000"});
    ASSERT_TRUE(hl::Minimise(ui::MainWindow));
    Pass();
    Pass();
    EXPECT_EQ(hl::GetWindowTitle(ui::MainWindow), "1:05 0.mp3");
    ASSERT_TRUE(hl::Restore(ui::MainWindow));
    Pass();
    EXPECT_EQ(hl::GetWindowTitle(ui::MainWindow), "MP3 Klingtal");
}

}  // namespace
