// The main loop waiting for real: a song played by the real device ends when its position
// reaches its length, with one pass a second and one when the end is due, and a change of the sound
// server's volume moves the knob of an idle program without any user event.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>

#include "app/app_state.h"
#include "app/lifecycle.h"
#include "app/main_loop.h"
#include "platform/gui.h"
#include "platform/headless/headless.h"
#include "support/test_files.h"
#include "ui/gadgets.h"
#include "volume/mixer.h"
#include "volume/mixer_select.h"

namespace {

namespace hl = gui::headless;
using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;
using testing_support::TempFolder;
using testing_support::WriteFile;

class MainLoop : public ::testing::Test {
  protected:
    void SetUp() override {
        hl::Reset();
        hl::SetWaitLimit(5000);  // a wait that never ends fails the test instead of hanging it
    }
    void TearDown() override {
        if (started) Shutdown(*app, true);
        SelectMixer(MixerBackend::Fake);
    }
    void Start() {
        WriteFile(program.File("MP3Klingtal.Ini"), "Pfad = " + songs.Path() + "\r\n");
        ASSERT_TRUE(StartUp(*app, StartOptions{program.Path()}));
        started = true;
    }

    TempFolder program, songs;
    std::unique_ptr<AppState> app = std::make_unique<AppState>();
    bool started = false;
};

// The pass that finds the end polls the song just as its position reaches its length, so the
// song plays to its last sample: also one shorter than a second.
TEST_F(MainLoop, ASongEndsWhenItsPositionReachesItsLengthWithAPassASecond) {
    if (!testing_support::LameAvailable()) GTEST_SKIP() << "lame is not installed";
    for (const double seconds : {3.5, 0.4}) {
        SCOPED_TRACE(seconds);
        testing_support::Mp3Options options;
        options.seconds = seconds;
        ASSERT_TRUE(testing_support::MakeMp3(songs.File("Lied.mp3"), options));
        if (!started) Start();
        ASSERT_TRUE(hl::Click(ui::PlayButton));
        ASSERT_TRUE(LoopPass(*app));
        ASSERT_EQ(app->player.Playing, 1);
        const int length = app->mci.SongLength;
        ASSERT_GT(length, 0);

        int passes = 0;
        const auto start = Clock::now();
        while (app->player.Playing == 1 && Clock::now() - start < std::chrono::seconds(10)) {
            ASSERT_TRUE(LoopPass(*app));
            ++passes;
        }
        EXPECT_EQ(app->player.Playing, 0);
        EXPECT_GE(app->player.Position, length);
        EXPECT_LT(app->player.Position, length + 60);
        // The device reports the end once the last sample is queued for the output; what is
        // queued (about 0.3 s) sounds on after the close.
        EXPECT_GE(Clock::now() - start, milliseconds(length - 400));
        EXPECT_LE(passes, 9) << "one pass a second, the end, and a few while the output starts";
    }
}

TEST_F(MainLoop, AVolumeChangeOnTheServerWakesAnIdleProgram) {
    if (std::getenv("KLINGTAL_PULSE_AVAILABLE") == nullptr)
        GTEST_SKIP() << "no PulseAudio server with a null sink";
    SelectMixer(MixerBackend::System);
    ASSERT_EQ(std::system("pactl set-sink-volume @DEFAULT_SINK@ 20%"), 0);
    Start();
    ASSERT_TRUE(LoopPass(*app));
    ASSERT_TRUE(MixerReportsChanges());
    const int knobBefore = gui::GadgetRect(ui::VolumeKnob).x;

    std::thread outside([] {
        std::this_thread::sleep_for(milliseconds(300));
        EXPECT_EQ(std::system("pactl set-sink-volume @DEFAULT_SINK@ 60%"), 0);
    });
    const auto start = Clock::now();
    ASSERT_TRUE(LoopPass(*app));  // waits for the change and nothing else
    const auto waited = Clock::now() - start;
    outside.join();
    EXPECT_LT(hl::LastWaitRequest(), 0);
    EXPECT_GE(waited, milliseconds(250));
    EXPECT_LT(waited, milliseconds(2000));
    EXPECT_EQ(gui::GadgetRect(ui::VolumeKnob).x, static_cast<int>(GetVolume() / 1000) + 210);
    EXPECT_GT(gui::GadgetRect(ui::VolumeKnob).x, knobBefore + 20);
}

}  // namespace
