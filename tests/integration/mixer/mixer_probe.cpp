// Runs the mixer as the main loop would (a call every 20 ms) for the seconds given, printing
// "ms volume mute" whenever the values change and, at the end, the slowest call's duration.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "volume/mixer.h"

int main(int argc, char** argv) {
    using Clock = std::chrono::steady_clock;
    const double seconds = argc > 1 ? std::atof(argv[1]) : 1.0;
    const auto start = Clock::now();
    const auto end = start + std::chrono::duration<double>(seconds);
    long long slowestUs = 0;
    long long lastVolume = -1;
    int lastMute = -1;
    while (Clock::now() < end) {
        const auto before = Clock::now();
        const auto volume = static_cast<long long>(GetVolume());
        const int mute = GetMute();
        const auto after = Clock::now();
        const auto us = std::chrono::duration_cast<std::chrono::microseconds>(after - before);
        if (us.count() > slowestUs) slowestUs = us.count();
        if (volume != lastVolume || mute != lastMute) {
            const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(after - start);
            std::printf("%lld %lld %d\n", static_cast<long long>(ms.count()), volume, mute);
            std::fflush(stdout);
            lastVolume = volume;
            lastMute = mute;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    std::printf("slowest_us %lld\n", slowestUs);
    return 0;
}
