// The volume scale: its ends, and the conversions for PulseAudio and ALSA.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>

#include "volume/mixer_scale.h"

using namespace mixer_scale;

// What the knob, the keys and the media controls work out, on the scale whatever its sign.
TEST(LevelScale, AnyWholeNumberLandsOnTheScale) {
    const struct {
        std::int64_t value;
        std::uint32_t level;
    } cases[] = {{INT64_MIN, 0}, {-3277, 0},        {0, 0}, {40329, 40329}, {65535, 65535},
                 {65536, 65535}, {INT64_MAX, 65535}};
    for (const auto& c : cases) EXPECT_EQ(ClampLevel(c.value), c.level) << c.value;
}

TEST(PulseScale, EveryLevelSurvivesTheRoundTrip) {
    for (std::uint32_t level = 0; level <= LevelMax; ++level) {
        ASSERT_EQ(LevelFromPulse(PulseFromLevel(level)), level) << level;
    }
}

TEST(PulseScale, EndsAndLimits) {
    EXPECT_EQ(PulseFromLevel(0), 0u);
    EXPECT_EQ(PulseFromLevel(65535), 0x10000u);  // 100 %
    EXPECT_EQ(PulseFromLevel(65536), 0x10000u);  // beyond the scale: limited to 100 %
    EXPECT_EQ(PulseFromLevel(UINT32_MAX), 0x10000u);
    EXPECT_EQ(LevelFromPulse(0x18000), 65535u);  // 150 % set by another program
    EXPECT_EQ(LevelFromPulse(UINT32_MAX), 65535u);
    EXPECT_EQ(LevelFromPulse(0x8000), 32768u);  // 50 % on the knob's scale
}

TEST(PulseScale, IsMonotonic) {
    for (std::uint32_t level = 1; level <= LevelMax; ++level) {
        ASSERT_LT(PulseFromLevel(level - 1), PulseFromLevel(level)) << level;
    }
}

TEST(AlsaScale, MapsOntoTheElementRange) {
    EXPECT_EQ(AlsaFromLevel(0, 0, 87), 0);
    EXPECT_EQ(AlsaFromLevel(65535, 0, 87), 87);
    EXPECT_EQ(AlsaFromLevel(70000, 0, 87), 87);
    EXPECT_EQ(AlsaFromLevel(0, -10239, 400), -10239);  // negative bounds (hundredths of a dB)
    EXPECT_EQ(AlsaFromLevel(65535, -10239, 400), 400);
    EXPECT_EQ(LevelFromAlsa(-10239, -10239, 400), 0u);
    EXPECT_EQ(LevelFromAlsa(400, -10239, 400), 65535u);
    // Values outside the range, and an empty or inverted range, stay on the scale.
    EXPECT_EQ(LevelFromAlsa(500, 0, 87), 65535u);
    EXPECT_EQ(LevelFromAlsa(-5, 0, 87), 0u);
    EXPECT_EQ(LevelFromAlsa(3, 3, 3), 0u);
    EXPECT_EQ(AlsaFromLevel(30000, 5, 5), 5);
    EXPECT_EQ(AlsaFromLevel(30000, 9, 2), 9);
    // The widest range the kernel reports does not overflow.
    EXPECT_EQ(AlsaFromLevel(65535, INT32_MIN, INT32_MAX), INT32_MAX);
    EXPECT_EQ(LevelFromAlsa(0, INT32_MIN, INT32_MAX), 32768u);
}

TEST(AlsaScale, EveryStepOfASmallRangeSurvivesTheRoundTrip) {
    for (long max : {1L, 31L, 87L, 255L, 65535L}) {
        for (long raw = 0; raw <= max; ++raw) {
            ASSERT_EQ(AlsaFromLevel(LevelFromAlsa(raw, 0, max), 0, max), raw) << raw << "/" << max;
        }
    }
}
