// The test driver's mixer: the fake unless the system mixer is chosen, and switching back and
// forth never lets one side's values leak into the other.
#include <gtest/gtest.h>

#include <chrono>

#include "pulse_tools.h"
#include "volume/mixer.h"
#include "volume/mixer_fake.h"
#include "volume/mixer_scale.h"
#include "volume/mixer_select.h"

using namespace std::chrono_literals;

TEST(SwitchableMixer, SystemChoiceReachesTheServerAndLeavesTheFakeAlone) {
    if (!DefaultPulseAvailable()) GTEST_SKIP() << "no PulseAudio server";
    PulseTarget pulse;
    const auto saved = pulse.SinkVolumes();
    const int savedMute = pulse.SinkMute();
    mixer_fake::Reset();
    mixer_fake::ChangeVolumeOutside(777);
    EXPECT_EQ(GetVolume(), 777u);  // the fake until chosen otherwise

    SelectMixer(MixerBackend::System);
    pulse.Pactl("set-sink-volume @DEFAULT_SINK@ 30000");
    EXPECT_TRUE(WaitFor([] { return GetVolume() == mixer_scale::LevelFromPulse(30000); }, 1000ms));
    SetVolume(5000);
    EXPECT_TRUE(WaitFor([&] {
        return pulse.SinkVolumes() ==
               std::vector<unsigned>(saved.size(), mixer_scale::PulseFromLevel(5000));
    }));
    EXPECT_EQ(mixer_fake::StoredVolume(), 777u);
    EXPECT_EQ(mixer_fake::Calls().getVolume, 1);  // only the read before the switch

    SelectMixer(MixerBackend::Fake);
    EXPECT_EQ(GetVolume(), 777u);
    pulse.Restore(saved, savedMute);
}
