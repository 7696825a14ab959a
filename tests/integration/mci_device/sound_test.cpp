// What the device really sounds like, recorded from a private PulseAudio server: songs that join
// without a gap, a position that is what is heard, a song that falls silent when stopped or
// skipped, a sound server that goes away and comes back, and how the stream names itself. The test
// plays the program's part: it polls the position and, at the length, closes the song and opens and
// starts the next one.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
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

// The 10 ms block nearest to at where the recording changes from one tone to the other (a
// block of neither may lie between), or -1 when none is within 200 ms.
int ChangeNear(const std::vector<Tone>& tones, int at) {
    int best = -1;
    const int last = std::min(at + 20, static_cast<int>(tones.size()) - 1);
    for (int i = std::max(at - 20, 2); i <= last; ++i) {
        const Tone before = tones[i - 1] != Tone::None ? tones[i - 1] : tones[i - 2];
        if (tones[i] == Tone::None || before == Tone::None || before == tones[i]) continue;
        if (best < 0 || std::abs(i - at) < std::abs(best - at)) best = i;
    }
    return best;
}

class DeviceSound : public DeviceTest {
  protected:
    static void SetUpTestSuite() {
        if (!testing_support::LameAvailable() || !PulseToolsInstalled()) return;
        songs_ = std::make_unique<testing_support::TempFolder>();
        low_ = songs_->File("low.mp3");
        high_ = songs_->File("high.mp3");
        turns_ = songs_->File("turns.mp3");
        made_ = MakeMp3(low_, {44100, 2, false, true, 3.70, 0, kLowHz}) &&
                MakeMp3(high_, {44100, 2, false, true, 2.50, 0, kHighHz}) &&
                MakeMp3(turns_, {44100, 2, false, true, 9.0, 0, kLowHz, kHighHz});
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
    static std::string low_, high_, turns_;
    static bool made_, started_;
};

std::unique_ptr<testing_support::TempFolder> DeviceSound::songs_;
std::unique_ptr<PrivatePulse> DeviceSound::server_;
std::string DeviceSound::low_, DeviceSound::high_, DeviceSound::turns_;
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

// The position read while a song plays, after a seek and after a pause and resume, against where
// the recording hears the tone change nearest to it (the tones take turns every 500 ms).
TEST_F(DeviceSound, ThePositionIsWhatIsHeard) {
    struct Reading {
        std::int64_t position;
        std::size_t recorded;
        const char* phase;
    };
    std::vector<Reading> readings;
    Recorder recorder(server_->Address());
    const std::size_t mark = Listen(recorder);
    const auto readFor = [&](const char* phase, int ms) {
        for (const auto until = Clock::now() + milliseconds(ms); Clock::now() < until; Sleep(30)) {
            const std::size_t recorded = recorder.Count();
            readings.push_back({Number(Send("status s position")), recorded, phase});
        }
    };
    OpenAndStart(turns_, "s");
    ASSERT_TRUE(WaitForPosition("s", 700));
    readFor("playing", 1000);
    Send("play s from 4000");
    Sleep(400);
    readFor("after a seek", 800);
    const std::int64_t paused = Number(Send("status s position"));
    Send("pause s wait");
    Sleep(300);
    Send("play s from " + std::to_string(paused));
    Sleep(400);
    readFor("after a resume", 800);
    Sleep(300);  // the change after the last reading sounds
    Send("close s");

    const std::vector<Tone> tones = TonesPer10Ms(recorder.Samples(), mark);
    std::map<std::string, int> worst;
    for (const Reading& reading : readings) {
        const std::int64_t change = (reading.position + 250) / 500 * 500;
        if (std::abs(change - reading.position) > 200) continue;  // no change near enough
        const auto recordedMs =
            static_cast<std::int64_t>(reading.recorded - mark) * 1000 / Recorder::kRate;
        const auto expected = static_cast<int>((recordedMs + change - reading.position) / 10);
        const int heard = ChangeNear(tones, expected);
        const int off = heard < 0 ? 999 : std::abs(heard - expected) * 10;
        worst[reading.phase] = std::max(worst[reading.phase], off);
    }
    ASSERT_EQ(worst.size(), 3u) << "a stretch without readings near a change";
    for (const auto& [phase, ms] : worst) {
        std::printf("position %s: at most %d ms from what is heard\n", phase.c_str(), ms);
        EXPECT_LE(ms, 50) << phase;
    }
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

// The sound server's list of streams shows the program, its icon and role, and the current
// song's title, also when the title comes after the song has started.
TEST_F(DeviceSound, TheStreamNamesItself) {
    mci::SetSongTitle("Lied über das Klingtal");
    OpenAndStart(low_, "s");
    ASSERT_TRUE(WaitForPosition("s", 200));
    const std::string inputs = SinkInputs(server_->Address());
    for (const char* property :
         {"application.name = \"MP3 Klingtal\"", "application.icon_name = \"mp3klingtal\"",
          "media.role = \"music\"", "media.name = \"Lied über das Klingtal\""}) {
        EXPECT_NE(inputs.find(property), std::string::npos) << property << " in:\n" << inputs;
    }
    mci::SetSongTitle("Zweites Lied");
    const auto until = Clock::now() + milliseconds(2000);
    while (SinkInputs(server_->Address()).find("media.name = \"Zweites Lied\"") ==
               std::string::npos &&
           Clock::now() < until) {
        Sleep(20);
    }
    EXPECT_LT(Clock::now(), until) << "the stream kept its old name";
    Send("close s");
}

}  // namespace
}  // namespace mci_test
