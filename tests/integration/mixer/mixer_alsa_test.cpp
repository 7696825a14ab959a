// ALSA's "Master" control, through the PulseAudio plugin's control device so the test needs no
// sound card: changes both ways and a card that does not exist.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>

#include "pulse_tools.h"
#include "volume/mixer.h"
#include "volume/mixer_alsa.h"

using namespace std::chrono_literals;

namespace {

// Within one step of an ALSA range as coarse as 0..100.
bool Near(std::uint32_t level, std::uint32_t expected) {
    const auto difference = level > expected ? level - expected : expected - level;
    return difference <= 656;
}

}  // namespace

TEST(AlsaMaster, ControlsTheServerThroughThePluginBothWays) {
    if (!DefaultPulseAvailable()) GTEST_SKIP() << "no PulseAudio server";
    mixer_alsa::MasterControl master;
    if (!master.Open("pulse")) GTEST_SKIP() << "no ALSA PulseAudio plugin";
    PulseTarget pulse;
    const auto saved = pulse.SinkVolumes();
    const int savedMute = pulse.SinkMute();

    EXPECT_EQ(master.SetVolume(65535), MixerDone);
    EXPECT_TRUE(
        WaitFor([&] { return pulse.SinkVolumes() == std::vector<unsigned>(saved.size(), 65536); }));
    EXPECT_EQ(master.SetVolume(0), MixerDone);
    EXPECT_TRUE(
        WaitFor([&] { return pulse.SinkVolumes() == std::vector<unsigned>(saved.size(), 0); }));
    pulse.Pactl("set-sink-volume @DEFAULT_SINK@ 32768");
    EXPECT_TRUE(WaitFor([&] { return master.Refresh() && Near(master.Volume(), 32768); }, 1000ms))
        << master.Volume();

    EXPECT_EQ(master.SetMute(1), MixerDone);
    EXPECT_TRUE(WaitFor([&] { return pulse.SinkMute() == 1; }));
    pulse.Pactl("set-sink-mute @DEFAULT_SINK@ 0");
    EXPECT_TRUE(WaitFor([&] { return master.Refresh() && master.Mute() == 0; }, 1000ms));

    pulse.Restore(saved, savedMute);
}

TEST(AlsaMaster, MissingCardIsNoMixer) {
    mixer_alsa::MasterControl master;
    EXPECT_FALSE(master.Open("klingtal_no_such_card"));
    EXPECT_FALSE(master.IsOpen());
    EXPECT_FALSE(master.Refresh());
    EXPECT_EQ(master.Volume(), 0u);
    EXPECT_EQ(master.Mute(), 0);
    EXPECT_EQ(master.SetVolume(1000), MixerNoDevice);
    EXPECT_EQ(master.SetMute(1), MixerNoDevice);
}
