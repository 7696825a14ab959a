// A sound server that is missing, hangs, vanishes and comes back: the mixer never holds the
// caller up, reads 0 while there is none, and finds the server again. Each case runs the mixer
// in a probe process of its own, with ALSA's configuration emptied so no sound card answers.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <string>

#include "pulse_tools.h"
#include "volume/mixer_scale.h"

using mixer_scale::LevelFromPulse;
using namespace std::chrono_literals;

namespace {

constexpr const char* NoAlsa = "ALSA_CONFIG_PATH=/dev/null ";

long long SlowestCallUs(const std::vector<std::string>& lines) {
    for (const auto& line : lines) {
        if (line.starts_with("slowest_us ")) return std::stoll(line.substr(11));
    }
    return -1;
}

std::string Reading(unsigned pulseVolume) {
    return std::to_string(LevelFromPulse(pulseVolume)) + " 0";
}

}  // namespace

TEST(MixerOutage, NoServerReadsZeroAtOnce) {
    const auto start = std::chrono::steady_clock::now();
    Probe probe(std::string("PULSE_SERVER=unix:/nonexistent/klingtal/sock ") + NoAlsa, 1.0);
    probe.Finish();
    const auto lines = probe.Lines();
    ASSERT_EQ(lines.size(), 2u);  // one reading that never changes, then the timing
    EXPECT_TRUE(lines[0].ends_with(" 0 0")) << lines[0];
    const long long slowest = SlowestCallUs(lines);
    EXPECT_GE(slowest, 0);
    EXPECT_LT(slowest, 250000);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 3s);
}

TEST(MixerOutage, ServerHangsVanishesAndComesBack) {
    PrivateServer server;
    if (!server.Start()) GTEST_SKIP() << "cannot start a PulseAudio server of our own";
    const PulseTarget pulse = server.Target();
    pulse.Pactl("set-sink-volume @DEFAULT_SINK@ 30000");
    Probe probe(pulse.environment + NoAlsa, 10.0);
    EXPECT_TRUE(WaitFor([&] { return probe.Latest() == Reading(30000); }, 2000ms))
        << probe.Latest();
    pulse.Pactl("set-sink-volume @DEFAULT_SINK@ 40000");
    EXPECT_TRUE(WaitFor([&] { return probe.Latest() == Reading(40000); }, 1000ms));

    server.Freeze(true);  // hung: the probe keeps reading what it knew
    std::this_thread::sleep_for(1500ms);
    EXPECT_EQ(probe.Latest(), Reading(40000));
    server.Stop();  // gone without a goodbye: no mixer
    EXPECT_TRUE(WaitFor([&] { return probe.Latest() == "0 0"; }, 2000ms)) << probe.Latest();

    ASSERT_TRUE(server.Start());
    pulse.Pactl("set-sink-volume @DEFAULT_SINK@ 20000");
    pulse.Pactl("set-sink-mute @DEFAULT_SINK@ 1");
    EXPECT_TRUE(WaitFor(
        [&] { return probe.Latest() == std::to_string(LevelFromPulse(20000)) + " 1"; }, 4000ms))
        << probe.Latest();
    probe.Finish();
    const long long slowest = SlowestCallUs(probe.Lines());
    EXPECT_GE(slowest, 0);
    EXPECT_LT(slowest, 250000) << "a call waited on the server";
}

// ALSA's default device is often PulseAudio's plugin, which would wait on a hung server for
// ever; while a server is found but does not answer, the mixer reads 0 instead of asking ALSA.
TEST(MixerOutage, HungServerIsNotAskedThroughAlsa) {
    PrivateServer server;
    if (!server.Start()) GTEST_SKIP() << "cannot start a PulseAudio server of our own";
    const std::string alsaConfig = server.Socket() + ".alsa.conf";
    std::ofstream(alsaConfig) << "ctl.!default { type pulse }\n";
    server.Freeze(true);
    const auto start = std::chrono::steady_clock::now();
    Probe probe(server.Target().environment + "ALSA_CONFIG_PATH=" + alsaConfig + " ", 1.0);
    EXPECT_TRUE(WaitFor([&] { return !probe.Lines().empty(); }, 3000ms));
    server.Stop();  // lets a probe that did get stuck in the plugin go on, so the test ends
    probe.Finish();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 4s);
    const auto lines = probe.Lines();
    ASSERT_FALSE(lines.empty());
    EXPECT_TRUE(lines[0].ends_with(" 0 0")) << lines[0];
    EXPECT_LT(SlowestCallUs(lines), 250000);
}
