// What the device really sounds like, recorded from a private PulseAudio server: songs that join
// without a gap, a song that falls silent when stopped or skipped, and a sound server that goes
// away and comes back. The test plays the program's part: it polls the position and, at the
// length, closes the song and opens and starts the next one.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "device_fixture.h"
#include "sound_tools.h"

namespace mci_test {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

void Sleep(int ms) {
    std::this_thread::sleep_for(milliseconds(ms));
}

int CountMs(const std::vector<Tone>& tones, Tone tone) {
    return static_cast<int>(std::count(tones.begin(), tones.end(), tone)) * 10;
}

class DeviceSound : public DeviceTest {
  protected:
    static void SetUpTestSuite() {
        if (!testing_support::LameAvailable() || !PulseToolsInstalled()) return;
        songs_ = std::make_unique<testing_support::TempFolder>();
        low_ = songs_->File("low.mp3");
        high_ = songs_->File("high.mp3");
        made_ = MakeMp3(low_, {44100, 2, false, true, 3.70, 0, kLowHz}) &&
                MakeMp3(high_, {44100, 2, false, true, 2.50, 0, kHighHz});
        server_ = std::make_unique<PrivatePulse>();
        started_ = server_->Start();
        setenv("PULSE_SERVER", server_->Address().c_str(), 1);
        setenv("SDL_AUDIODRIVER", "pulseaudio", 1);
    }
    static void TearDownTestSuite() {
        Send("close all");
        server_.reset();
        songs_.reset();
    }
    void SetUp() override {
        if (!testing_support::LameAvailable()) GTEST_SKIP() << "lame is not installed";
        if (!PulseToolsInstalled()) GTEST_SKIP() << "no pulseaudio or parec";
        ASSERT_TRUE(made_) << "lame could not make the test songs";
        if (!started_) GTEST_SKIP() << "a private PulseAudio server did not start";
    }
    // Polls as the program does (every 20 ms) until the song has reached its length.
    static bool PlayToTheEnd(const std::string& alias, std::int64_t length) {
        const auto until = Clock::now() + milliseconds(length + kStartUpMs);
        while (Number(Send("status " + alias + " position")) < length) {
            if (Clock::now() > until) return false;
            Sleep(20);
        }
        return true;
    }

    // Waits until parec delivers; the mark where the recording starts.
    static std::size_t Listen(Recorder& recorder) {
        for (int i = 0; i < 100 && recorder.Count() == 0; ++i) Sleep(20);
        return recorder.Count();
    }

    static std::unique_ptr<testing_support::TempFolder> songs_;
    static std::unique_ptr<PrivatePulse> server_;
    static std::string low_, high_;
    static bool made_, started_;
};

std::unique_ptr<testing_support::TempFolder> DeviceSound::songs_;
std::unique_ptr<PrivatePulse> DeviceSound::server_;
std::string DeviceSound::low_, DeviceSound::high_;
bool DeviceSound::made_ = false, DeviceSound::started_ = false;

TEST_F(DeviceSound, SongsJoinWithoutAGap) {
    Recorder recorder(server_->Address());
    const std::size_t mark = Listen(recorder);
    ASSERT_TRUE(PlayToTheEnd("MP3Stueck", OpenAndStart(low_, "MP3Stueck")));
    Send("close MP3Stueck");
    ASSERT_TRUE(PlayToTheEnd("MP3Stueck", OpenAndStart(high_, "MP3Stueck")));
    Send("close MP3Stueck");
    Sleep(800);  // what is still queued sounds out

    const std::vector<Tone> tones = TonesPer10Ms(recorder.Samples(), mark);
    const auto lastLow = std::find(tones.rbegin(), tones.rend(), Tone::Low).base();
    const auto firstHigh = std::find(tones.begin(), tones.end(), Tone::High);
    const int gapMs = firstHigh > lastLow ? static_cast<int>(firstHigh - lastLow) * 10 : 0;
    std::printf("heard: %d ms of the first song, %d ms of the second, a gap of %d ms\n",
                CountMs(tones, Tone::Low), CountMs(tones, Tone::High), gapMs);
    EXPECT_GE(CountMs(tones, Tone::Low), 3670);
    EXPECT_GE(CountMs(tones, Tone::High), 2470);
    EXPECT_LE(gapMs, 10);
}

TEST_F(DeviceSound, AStoppedOrSkippedSongFallsSilentAtOnce) {
    for (const bool skip : {false, true}) {
        SCOPED_TRACE(skip ? "skipped" : "stopped");
        Recorder recorder(server_->Address());
        const std::size_t mark = Listen(recorder);
        OpenAndStart(low_, "MP3Stueck");
        ASSERT_TRUE(WaitForPosition("MP3Stueck", 1500));
        const std::size_t at = recorder.Count();
        if (skip) {
            Send("close MP3Stueck");
            OpenAndStart(high_, "MP3Stueck");
        } else {
            Send("stop MP3Stueck");
        }
        Sleep(400);
        const std::vector<Tone> tones = TonesPer10Ms(recorder.Samples(), mark);
        const auto lastLow = std::find(tones.rbegin(), tones.rend(), Tone::Low).base();
        const auto sounded = static_cast<int>(lastLow - tones.begin()) * 10;
        const auto stoppedAt = static_cast<int>((at - mark) * 1000 / Recorder::kRate);
        std::printf("%s: silent %d ms after the command\n", skip ? "skipped" : "stopped",
                    sounded - stoppedAt);
        EXPECT_GE(CountMs(tones, Tone::Low), 500) << "the song was not heard";
        EXPECT_LE(sounded - stoppedAt, 100);
        Send("close all");
    }
}

// Paused after a second and played on from the position read just before the pause (as the
// program does) or during it: the song sounds its whole length, nothing skipped or repeated
// beyond one output buffer (about 90 ms).
TEST_F(DeviceSound, PauseThenPlayFromThePositionGoesOnWhereTheSoundStopped) {
    for (const bool readWhilePaused : {false, true}) {
        SCOPED_TRACE(readWhilePaused ? "read while paused" : "read before the pause");
        Recorder recorder(server_->Address());
        const std::size_t mark = Listen(recorder);
        const std::int64_t length = OpenAndStart(low_, "MP3Stueck");
        ASSERT_TRUE(WaitForPosition("MP3Stueck", 1000));
        std::int64_t position = Number(Send("status MP3Stueck position"));
        Send("pause MP3Stueck wait");
        Sleep(300);
        if (readWhilePaused) position = Number(Send("status MP3Stueck position"));
        Send("play MP3Stueck from " + std::to_string(position));
        ASSERT_TRUE(PlayToTheEnd("MP3Stueck", length));
        Send("close MP3Stueck");
        Sleep(800);
        const int heard = CountMs(TonesPer10Ms(recorder.Samples(), mark), Tone::Low);
        std::printf("paused and played on (%s): heard %d of %lld ms\n",
                    readWhilePaused ? "read while paused" : "read before", heard,
                    static_cast<long long>(length));
        EXPECT_NEAR(heard, length, 100);
    }
}

// The server is killed while a song plays: the song waits at its position, and goes on when a
// server is back on the same socket. A song opened meanwhile opens and waits too.
TEST_F(DeviceSound, SongsWaitForALostSoundServer) {
    OpenAndStart(low_, "s");
    ASSERT_TRUE(WaitForPosition("s", 1000));
    server_->Kill();
    Sleep(300);
    const std::int64_t stopped = Number(Send("status s position"));
    Sleep(500);
    EXPECT_EQ(Number(Send("status s position")), stopped);
    EXPECT_EQ(Send("status s mode").text, "playing");
    EXPECT_EQ(Send("open \"" + high_ + "\" alias t").error, 0u);
    EXPECT_EQ(Send("play t").error, 0u);
    Sleep(300);
    EXPECT_EQ(Number(Send("status t position")), 0);

    ASSERT_TRUE(server_->Start());
    Recorder recorder(server_->Address());
    const std::size_t mark = Listen(recorder);
    const auto back = Clock::now();
    while (Number(Send("status s position")) <= stopped &&
           Clock::now() < back + milliseconds(2000)) {
        Sleep(20);
    }
    EXPECT_GT(Number(Send("status s position")), stopped) << "not on within two seconds";
    EXPECT_TRUE(WaitForPosition("t", 100));
    Sleep(1000);
    const std::vector<Tone> tones = TonesPer10Ms(recorder.Samples(), mark);
    EXPECT_GE(CountMs(tones, Tone::Low) + CountMs(tones, Tone::High), 500) << "not heard again";
}

}  // namespace
}  // namespace mci_test
