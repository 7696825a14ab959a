// The system mixer against the PulseAudio server's default sink: what the program sets is what
// pactl sees, what another program sets is what the program reads, and reading is cheap.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "pulse_tools.h"
#include "volume/mixer.h"
#include "volume/mixer_pulse.h"
#include "volume/mixer_scale.h"

using mixer_scale::LevelFromPulse;
using mixer_scale::PulseFromLevel;
using namespace std::chrono_literals;

class PulseMixer : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!DefaultPulseAvailable()) GTEST_SKIP() << "no PulseAudio server";
        saved_ = pulse_.SinkVolumes();
        savedMute_ = pulse_.SinkMute();
        ASSERT_FALSE(saved_.empty()) << "the server has no default sink";
        ASSERT_TRUE(WaitFor([] { return mixer_pulse::Connected(); }));
    }
    void TearDown() override { pulse_.Restore(saved_, savedMute_); }

    bool SinkAt(unsigned raw) const {
        const auto volumes = pulse_.SinkVolumes();
        if (volumes.empty()) return false;
        for (unsigned v : volumes) {
            if (v != raw) return false;
        }
        return true;
    }

    PulseTarget pulse_;
    std::vector<unsigned> saved_;
    int savedMute_ = 0;
};

// What the program sets is what pactl reports, and the value read back after the server's own
// answer equals the value set, all along the scale.
TEST_F(PulseMixer, SetValuesReachTheServerAndComeBackUnchanged) {
    std::vector<std::uint32_t> levels = {0, 1, 2, 32767, 32768, 65533, 65534, 65535};
    for (std::uint32_t level = 3; level < 65535; level += 4099) levels.push_back(level);
    for (std::uint32_t level : levels) {
        EXPECT_EQ(SetVolume(level), MixerDone);
        ASSERT_TRUE(WaitFor([&] { return SinkAt(PulseFromLevel(level)); })) << level;
        std::this_thread::sleep_for(50ms);  // the change event and our query come back
        EXPECT_EQ(GetVolume(), level);
    }
    // Past the scale's end: 100 %, never amplification.
    for (std::uint32_t level : {65536u, 0xFFFFFFFFu}) {
        SetVolume(level);
        EXPECT_TRUE(WaitFor([&] { return SinkAt(0x10000); })) << level;
        EXPECT_EQ(GetVolume(), 65535u);
    }
}

TEST_F(PulseMixer, AnotherProgramsChangeIsReadBack) {
    pulse_.Pactl("set-sink-volume @DEFAULT_SINK@ 30000");
    EXPECT_TRUE(WaitFor([] { return GetVolume() == LevelFromPulse(30000); }, 1000ms));
    pulse_.Pactl("set-sink-volume @DEFAULT_SINK@ 150%");  // amplified elsewhere: top of scale
    EXPECT_TRUE(WaitFor([] { return GetVolume() == 65535; }, 1000ms));
    // Channels apart (a balance setting): the loudest one counts.
    pulse_.Pactl("set-sink-volume @DEFAULT_SINK@ 20000 40000");
    EXPECT_TRUE(WaitFor([] { return GetVolume() == LevelFromPulse(40000); }, 1000ms));
    pulse_.Pactl("set-sink-volume @DEFAULT_SINK@ 0");
    EXPECT_TRUE(WaitFor([] { return GetVolume() == 0; }, 1000ms));
}

TEST_F(PulseMixer, MuteBothWays) {
    EXPECT_EQ(SetMute(1), MixerDone);
    EXPECT_EQ(GetMute(), 1);
    EXPECT_TRUE(WaitFor([&] { return pulse_.SinkMute() == 1; }));
    EXPECT_EQ(SetMute(0), MixerDone);
    EXPECT_TRUE(WaitFor([&] { return pulse_.SinkMute() == 0; }));
    pulse_.Pactl("set-sink-mute @DEFAULT_SINK@ 1");
    EXPECT_TRUE(WaitFor([] { return GetMute() == 1; }, 1000ms));
    pulse_.Pactl("set-sink-mute @DEFAULT_SINK@ 0");
    EXPECT_TRUE(WaitFor([] { return GetMute() == 0; }, 1000ms));
    // Muting leaves the volume alone.
    SetVolume(20000);
    SetMute(1);
    EXPECT_TRUE(WaitFor([&] { return pulse_.SinkMute() == 1; }));
    EXPECT_TRUE(SinkAt(PulseFromLevel(20000)));
}

// Dragging the knob sends a change every pass; answers to earlier changes must never move the
// value read back to an older one.
TEST_F(PulseMixer, DraggingNeverReadsAnOlderValue) {
    for (std::uint32_t level = 0; level <= 65000; level += 250) {
        SetVolume(level);
        // Watch the value for a moment while the server's answers to earlier steps arrive.
        const auto until = std::chrono::steady_clock::now() + 300us;
        while (std::chrono::steady_clock::now() < until) ASSERT_EQ(GetVolume(), level);
    }
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(GetVolume(), 65000u);
    EXPECT_TRUE(SinkAt(PulseFromLevel(65000)));
}

TEST_F(PulseMixer, FollowsANewDefaultSink) {
    const std::string before = pulse_.Pactl("get-default-sink");
    const std::string module =
        pulse_.Pactl("load-module module-null-sink sink_name=klingtal_second");
    ASSERT_FALSE(module.empty());
    pulse_.Pactl("set-sink-volume klingtal_second 12345");
    pulse_.Pactl("set-default-sink klingtal_second");
    EXPECT_TRUE(WaitFor([] { return GetVolume() == LevelFromPulse(12345); }, 1000ms));
    SetVolume(40000);
    EXPECT_TRUE(WaitFor([&] {
        const std::string expected = std::to_string(PulseFromLevel(40000));
        return pulse_.Pactl("get-sink-volume klingtal_second").find(expected) != std::string::npos;
    }));
    // The second sink goes away while it is the default: the server's next choice is followed.
    pulse_.Pactl("unload-module " + module.substr(0, module.find('\n')));
    pulse_.Pactl("set-default-sink " + before.substr(0, before.find('\n')));
    EXPECT_TRUE(WaitFor([&] {
        const auto volumes = pulse_.SinkVolumes();
        return !volumes.empty() && GetVolume() == LevelFromPulse(volumes[0]);
    }));
}

TEST_F(PulseMixer, ReadingCostsWellUnderAMillisecond) {
    constexpr int calls = 100000;
    const auto start = std::chrono::steady_clock::now();
    std::uint64_t sum = 0;
    for (int n = 0; n < calls; ++n) sum += GetVolume() + static_cast<std::uint32_t>(GetMute());
    const auto took = std::chrono::steady_clock::now() - start;
    const double perCallUs = std::chrono::duration<double, std::micro>(took).count() / calls;
    RecordProperty("get_volume_and_mute_us", std::to_string(perCallUs));
    EXPECT_LT(perCallUs, 50.0) << sum;  // generous for sanitizer builds; well under 1 ms
}
