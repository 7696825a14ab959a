// The main loop waiting for real, with the system's mixer: a change of the sound server's volume
// moves the knob of an idle program without any user event.
#include <cstdlib>
#include <thread>

#include "main_loop_fixture.h"
#include "volume/mixer.h"

namespace {

TEST_F(MainLoop, AVolumeChangeOnTheServerWakesAnIdleProgram) {
    if (std::getenv("KLINGTAL_PULSE_AVAILABLE") == nullptr)
        GTEST_SKIP() << "no PulseAudio server with a null sink";
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
