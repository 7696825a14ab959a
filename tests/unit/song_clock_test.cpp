// Songs over devices that count time otherwise than they really play: the conversion between a
// device that counts VBR files by their first frame and real time, and the end of songs whose
// position never reaches the length the device answered. Real time: the device plays as a real
// one does, so these tests take a few seconds each.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/lifecycle.h"
#include "app/main_loop.h"
#include "fakes/counting_device.h"
#include "fakes/fake_mci.h"
#include "platform/gui.h"
#include "platform/headless/headless.h"
#include "playback/device_clock.h"
#include "playback/time_text.h"
#include "support/test_files.h"
#include "ui/gadgets.h"
#include "ui/layout.h"
#include "volume/mixer_fake.h"

namespace {

namespace hl = gui::headless;
namespace cd = counting_device;
using namespace std::chrono_literals;
using testing_support::TempFolder;

TEST(DeviceClock, ConvertsOnlyWhenTheHeaderKnowsALengthMoreThanASecondAway) {
    struct Case {
        std::int32_t device;
        std::int64_t exact;
        std::int32_t length, end;
    };
    for (const Case c :
         {Case{9000, 8000, 9000, 8000}, Case{7000, 8000, 7000, 7000}, Case{9001, 8000, 8000, 8000},
          Case{4000, 7000, 7000, 7000}, Case{4000, 0, 4000, 4000}, Case{0, 7000, 0, 0}}) {
        DeviceClock clock;
        LearnSongClock(clock, c.device, c.exact);
        EXPECT_EQ(RealLength(clock), c.length) << c.device << " " << c.exact;
        EXPECT_EQ(SongEndMs(clock, RealLength(clock)), c.end) << c.device << " " << c.exact;
        EXPECT_FALSE(MayPlayPastLength(clock));
    }
    // 6000 ms counted for 8000 ms of audio: the device's points scale, its running does not.
    DeviceClock clock;
    LearnSongClock(clock, 6000, 8000);
    EXPECT_EQ(StartDeviceAt(clock, 4000), 3000);
    EXPECT_EQ(RealPosition(clock, 3500), 4500);
    EXPECT_EQ(RealPosition(clock, 9000), 8000);
    EXPECT_EQ(RealPosition(clock, 0), 1000);
    // Once a song was counted so, a later song without an exact length may outlast its length.
    LearnSongClock(clock, 3000, 0);
    EXPECT_EQ(RealLength(clock), 3000);
    EXPECT_TRUE(MayPlayPastLength(clock));
}

class SongClock : public ::testing::Test {
  protected:
    void SetUp() override {
        hl::Reset();
        fake_mci::Reset();
        mixer_fake::Reset();
    }
    void TearDown() override { gui::SetModalPass(nullptr); }

    void Start(const std::map<std::string, cd::Song>& devices) {
        std::map<std::string, cd::Song> byPath;
        for (const auto& [name, song] : devices) byPath[songs.File(name)] = song;
        cd::Install(byPath);
        testing_support::WriteFile(program.File("MP3Klingtal.Ini"),
                                   "Pfad = " + songs.Path() + "\r\nAlle = 1\r\n");
        ASSERT_TRUE(StartUp(*app, StartOptions{program.Path()}));
        ASSERT_TRUE(hl::Click(ui::PlayButton));
        hl::SetWaitLimit(-1);  // passes wait as the program asks: the device runs in real time
    }
    // Runs passes until done() or the time is up.
    template <class Done>
    void RunUntil(Done done, std::chrono::milliseconds limit) {
        const auto until = cd::Clock::now() + limit;
        while (!done() && cd::Clock::now() < until) LoopPass(*app);
    }

    TempFolder program, songs;
    std::unique_ptr<AppState> app = std::make_unique<AppState>();
};

std::chrono::milliseconds Ms(cd::Clock::duration d) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(d);
}

TEST_F(SongClock, VbrSongsShowAndEndAtTheirRealTimesOnADeviceCountingThemAsCbr) {
    if (!testing_support::LameAvailable()) GTEST_SKIP() << "lame is not installed";
    struct File {
        const char* name;
        testing_support::Mp3Options options;
    };
    const auto vbr = [](double seconds, std::vector<std::string> lame) {
        testing_support::Mp3Options options;
        options.bitrateKbps = 32;  // the lowest a frame may take
        options.vbr = true;
        options.seconds = seconds;
        options.lameOptions = std::move(lame);
        return options;
    };
    testing_support::Mp3Options cbr;
    cbr.seconds = 2.0;
    const std::vector<File> files = {{"1 v0.mp3", vbr(8.0, {"-V", "0"})},
                                     {"2 v9.mp3", vbr(3.0, {"-V", "9"})},
                                     {"3 cbr.mp3", cbr},
                                     {"4 v0 ohne xing.mp3", vbr(3.0, {"-V", "0", "-t"})}};
    std::map<std::string, cd::Song> devices;
    for (const File& f : files) {
        ASSERT_TRUE(testing_support::MakeMp3(songs.File(f.name), f.options));
        devices[f.name] = cd::CountedByFirstFrame(songs.File(f.name));
    }
    for (const char* name : {"1 v0.mp3", "2 v9.mp3", "4 v0 ohne xing.mp3"}) {
        ASSERT_GT(std::abs(devices[name].lengthMs - devices[name].realMs), 1000) << name;
    }
    Start(devices);

    // Once the first song runs, the slider's middle: half its real length.
    RunUntil([&] { return app->player.Position > 300; }, 5s);
    ASSERT_TRUE(hl::Slide(ui::PositionSlider, ui::PositionSteps / 2));
    RunUntil([&] { return app->player.Position > devices["1 v0.mp3"].realMs / 2 + 100; }, 5s);
    const std::string halfway = gui::GetGadgetText(ui::ElapsedText);
    EXPECT_TRUE(halfway == "0:04" || halfway == "0:05") << halfway;

    std::vector<std::string> shownLengths;
    RunUntil(
        [&] {
            const std::size_t n = cd::History().size();
            if (shownLengths.size() < n)
                shownLengths.push_back(gui::GetGadgetText(ui::SongLengthText));
            return app->player.Playing == 0;
        },
        20s);
    ASSERT_EQ(cd::History().size(), files.size());
    EXPECT_EQ(app->player.Playing, 0);
    for (std::size_t i = 0; i < files.size(); ++i) {
        const cd::Song& device = devices[files[i].name];
        const cd::Opened& played = cd::History()[i];
        const bool exact = i + 1 < files.size();  // the last has no Xing header
        EXPECT_EQ(shownLengths[i], FormatMinSec((exact ? device.realMs : device.lengthMs) / 1000))
            << files[i].name;
        const auto late = Ms(played.closed - played.realEnd);
        EXPECT_GE(late, exact ? -100ms : 0ms) << files[i].name;
        EXPECT_LE(late, exact ? 100ms : 2500ms) << files[i].name;
        // A song whose position reaches its end never has the device asked whether it stopped.
        EXPECT_EQ(played.modeAsked.empty(), exact) << files[i].name;
        if (i > 0) {
            EXPECT_LT(Ms(played.opened - cd::History()[i - 1].closed), 100ms);
        }
    }
}

// A device whose length is 10 % too long, one whose position falls back to the start once the
// song has played out (minimised, so each pass sleeps too), and one that never starts the song:
// the standstill and the device's "stopped" end each, and the device is asked only then.
TEST_F(SongClock, SongWhosePositionNeverReachesItsLengthEndsOnceTheDeviceHasStopped) {
    struct Case {
        cd::Song song;
        bool minimised;
    };
    for (const Case c : {Case{{1100, 1000, cd::Song::End::Stands}, false},
                         Case{{1040, 1000, cd::Song::End::FallsBack}, true},
                         Case{{1000, 1000, cd::Song::End::NeverStarts}, false}}) {
        SetUp();
        app = std::make_unique<AppState>();
        testing_support::WriteFile(songs.File("1.mp3"), "x");
        testing_support::WriteFile(songs.File("2.mp3"), "x");
        Start({{"1.mp3", c.song}, {"2.mp3", c.song}});
        if (c.minimised) {
            ASSERT_TRUE(hl::Minimise(ui::MainWindow));
        }
        RunUntil([&] { return cd::History().size() > 1; }, 6s);
        ASSERT_EQ(cd::History().size(), 2u) << c.song.lengthMs;
        const cd::Opened& first = cd::History()[0];
        const auto stopped =
            c.song.end == cd::Song::End::NeverStarts ? first.opened : first.realEnd;
        EXPECT_GE(Ms(first.closed - stopped), 1500ms);
        EXPECT_LE(Ms(first.closed - stopped), 3000ms);
        ASSERT_FALSE(first.modeAsked.empty());
        EXPECT_GE(Ms(first.modeAsked.front() - stopped), 1500ms);
    }
}

}  // namespace
