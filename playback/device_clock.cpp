// Converting between the device's counting of the open song and real time.
#include "playback/device_clock.h"

#include <algorithm>
#include <cstdlib>

namespace {

// A device length this close to the header's duration counts the song as it really is.
constexpr std::int64_t AgreeingMs = 1000;

bool Converts(const DeviceClock& clock) {
    return clock.realLengthMs > 0 && clock.deviceLengthMs > 0;
}

// ms of one counting in the other: ms * to / from, rounded down, held to 32 bits.
std::int32_t Scale(std::int64_t ms, std::int64_t to, std::int64_t from) {
    return std::int32_t(std::clamp<std::int64_t>(ms * to / from, 0, INT32_MAX));
}

}  // namespace

void LearnSongClock(DeviceClock& clock, std::int32_t deviceLengthMs, std::int64_t exactMs) {
    clock.deviceLengthMs = deviceLengthMs;
    clock.exactMs = std::max<std::int64_t>(exactMs, 0);
    clock.realLengthMs = 0;
    clock.startDeviceMs = clock.startRealMs = 0;
    if (exactMs <= 0 || deviceLengthMs <= 0 || std::llabs(exactMs - deviceLengthMs) <= AgreeingMs)
        return;
    clock.realLengthMs = std::int32_t(std::min<std::int64_t>(exactMs, INT32_MAX));
    clock.countsByFirstFrame = true;
}

std::int32_t RealLength(const DeviceClock& clock) {
    return Converts(clock) ? clock.realLengthMs : clock.deviceLengthMs;
}

std::int32_t StartDeviceAt(DeviceClock& clock, std::int32_t realMs) {
    if (!Converts(clock)) return realMs;
    clock.startRealMs = realMs;
    clock.startDeviceMs = Scale(realMs, clock.deviceLengthMs, clock.realLengthMs);
    return clock.startDeviceMs;
}

void NoteDeviceStart(DeviceClock& clock, std::int32_t deviceMs) {
    if (!Converts(clock)) return;
    clock.startDeviceMs = deviceMs;
    clock.startRealMs = Scale(deviceMs, clock.realLengthMs, clock.deviceLengthMs);
}

std::int32_t RealPosition(const DeviceClock& clock, std::int32_t deviceMs) {
    if (!Converts(clock)) return deviceMs;
    // From its starting point on the device plays in real time.
    const std::int64_t real = std::int64_t(clock.startRealMs) + deviceMs - clock.startDeviceMs;
    return std::int32_t(std::clamp<std::int64_t>(real, 0, clock.realLengthMs));
}

std::int32_t SongEndMs(const DeviceClock& clock, std::int32_t lengthMs) {
    if (Converts(clock) || clock.exactMs <= 0 || clock.exactMs >= lengthMs) return lengthMs;
    return std::int32_t(clock.exactMs);
}

bool MayPlayPastLength(const DeviceClock& clock) {
    return clock.countsByFirstFrame && clock.exactMs == 0;
}
