// Prints the cost of GetVolume and GetMute per call through the system mixer (PulseAudio when a
// server answers, else ALSA), after the first call has made the connection.
//   bench_mixer [calls]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "volume/mixer.h"
#include "volume/mixer_pulse.h"

namespace {

using Clock = std::chrono::steady_clock;

template <typename Call>
void Measure(const char* name, int calls, Call call) {
    std::vector<double> samples;
    samples.reserve(static_cast<std::size_t>(calls));
    unsigned long long sink = 0;
    const auto start = Clock::now();
    for (int n = 0; n < calls; ++n) {
        const auto before = Clock::now();
        sink += static_cast<unsigned long long>(call());
        samples.push_back(std::chrono::duration<double, std::micro>(Clock::now() - before).count());
    }
    const double total = std::chrono::duration<double, std::micro>(Clock::now() - start).count();
    std::sort(samples.begin(), samples.end());
    std::printf("%-10s %d calls: mean %.3f us, median %.3f us, 99th %.3f us, max %.1f us (%llu)\n",
                name, calls, total / calls, samples[samples.size() / 2],
                samples[samples.size() * 99 / 100], samples.back(), sink % 2);
}

}  // namespace

int main(int argc, char** argv) {
    const int calls = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200000;
    const auto start = Clock::now();
    const unsigned first = GetVolume();
    const double firstMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    std::printf("mixer: %s, volume %u, first call (connects) %.2f ms\n",
                mixer_pulse::Connected() ? "PulseAudio" : "ALSA or none", first, firstMs);
    Measure("GetVolume", calls, [] { return GetVolume(); });
    Measure("GetMute", calls, [] { return GetMute(); });
    return 0;
}
