// The main loop waiting for real: a song played by the real device ends when its position
// reaches its length, with one pass a second and one when the end is due.
#include "main_loop_fixture.h"

namespace {

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
        const auto start = Clock::now();  // before the click: the song plays from there on
        ASSERT_TRUE(hl::Click(ui::PlayButton));
        ASSERT_TRUE(LoopPass(*app));
        ASSERT_EQ(app->player.Playing, 1);
        const int length = app->mci.SongLength;
        ASSERT_GT(length, 0);

        int passes = 0;
        while (app->player.Playing == 1 && Clock::now() - start < std::chrono::seconds(10)) {
            ASSERT_TRUE(LoopPass(*app));
            ++passes;
        }
        EXPECT_EQ(app->player.Playing, 0);
        EXPECT_GE(app->player.Position, length);
        EXPECT_LT(app->player.Position, length + 60);
        // The device lets the position reach the length up to 0.4 s before the sound ends, so
        // that the next song joins without a gap; what is left sounds on after the close. SDL's
        // dummy output takes its buffers a little faster than real time (about 1 %).
        EXPECT_GE(Clock::now() - start, milliseconds(length - 450));
        EXPECT_LE(passes, 9) << "one pass a second, the end, and a few while the output starts";
    }
}

}  // namespace
