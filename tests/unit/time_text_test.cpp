// The minutes:seconds and hours:minutes:seconds display texts.
#include <gtest/gtest.h>

#include "playback/time_text.h"

TEST(TimeText, MinutesAndSecondsPadOnlyTheSeconds) {
    EXPECT_EQ(FormatMinSec(0), "0:00");
    EXPECT_EQ(FormatMinSec(9), "0:09");
    EXPECT_EQ(FormatMinSec(10), "0:10");
    EXPECT_EQ(FormatMinSec(59), "0:59");
    EXPECT_EQ(FormatMinSec(60), "1:00");
    EXPECT_EQ(FormatMinSec(65), "1:05");
    EXPECT_EQ(FormatMinSec(3725), "62:05");  // never turned into hours
    EXPECT_EQ(FormatMinSec(32767), "546:07");
}

TEST(TimeText, TotalPlayingTimeCarriesMinutesIntoHours) {
    EXPECT_EQ(FormatTotalPlayingTime(0), "0:00:00");
    EXPECT_EQ(FormatTotalPlayingTime(3725), "1:02:05");
    EXPECT_EQ(FormatTotalPlayingTime(3599), "0:59:59");
    EXPECT_EQ(FormatTotalPlayingTime(3600), "1:00:00");
    EXPECT_EQ(FormatTotalPlayingTime(36000), "10:00:00");
    // The largest total a full list can reach: 10000 songs of 32767 seconds.
    EXPECT_EQ(FormatTotalPlayingTime(327670000), "91019:26:40");
}

TEST(TimeText, NegativeAndHugeTimesStayReadable) {
    EXPECT_EQ(FormatMinSec(-1), "0:00");
    EXPECT_EQ(FormatMinSec(INT64_MIN), "0:00");
    EXPECT_EQ(FormatTotalPlayingTime(-3725), "0:00:00");
    EXPECT_EQ(FormatMinSec(INT64_MAX), "153722867280912930:07");
    EXPECT_FALSE(FormatTotalPlayingTime(INT64_MAX).empty());
}
