// Conversions between the program's volume scale (0..65535) and the sound systems' own scales.
// Pure arithmetic, so they are shared by the backends and checked without a sound server.
#pragma once

#include <cstdint>

namespace mixer_scale {

inline constexpr std::uint32_t LevelMax = 65535;
// PulseAudio's 100 % (PA_VOLUME_NORM); the program's 65535 is placed there.
inline constexpr std::uint32_t PulseNorm = 0x10000;

// Any whole number a control works out (a key's step below silence, a request beyond the top)
// as a level on the scale.
constexpr std::uint32_t ClampLevel(std::int64_t level) {
    return level < 0 ? 0 : level > LevelMax ? LevelMax : static_cast<std::uint32_t>(level);
}

// Rounded to the nearest step both ways, so LevelFromPulse(PulseFromLevel(v)) == v for every v.
constexpr std::uint32_t PulseFromLevel(std::uint32_t level) {
    const std::uint64_t scaled = std::uint64_t{ClampLevel(level)} * PulseNorm + LevelMax / 2;
    return static_cast<std::uint32_t>(scaled / LevelMax);
}

// Volumes above 100 % (amplification set elsewhere) read as the top of the scale.
constexpr std::uint32_t LevelFromPulse(std::uint32_t pulse) {
    if (pulse >= PulseNorm) return LevelMax;
    return static_cast<std::uint32_t>((std::uint64_t{pulse} * LevelMax + PulseNorm / 2) /
                                      PulseNorm);
}

// ALSA elements have a range of their own (often 0..31 or 0..87, sometimes negative bounds);
// the kernel keeps it within 32 bits, so the products below cannot overflow.
constexpr std::uint64_t AlsaSpan(long min, long max) {
    return static_cast<std::uint64_t>(max) - static_cast<std::uint64_t>(min);
}

constexpr long AlsaFromLevel(std::uint32_t level, long min, long max) {
    if (max <= min) return min;
    const std::uint64_t span = AlsaSpan(min, max);
    const std::uint64_t steps = (std::uint64_t{ClampLevel(level)} * span + LevelMax / 2) / LevelMax;
    return static_cast<long>(static_cast<std::uint64_t>(min) + steps);
}

constexpr std::uint32_t LevelFromAlsa(long raw, long min, long max) {
    if (max <= min || raw <= min) return 0;
    if (raw >= max) return LevelMax;
    const std::uint64_t span = AlsaSpan(min, max);
    const std::uint64_t offset = AlsaSpan(min, raw);
    return static_cast<std::uint32_t>((offset * LevelMax + span / 2) / span);
}

}  // namespace mixer_scale
