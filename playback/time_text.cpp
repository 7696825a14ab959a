// Time texts for the length, position and total playing time displays.
#include "playback/time_text.h"

#include <cmath>

namespace {

std::string TwoDigits(std::int64_t value) {
    std::string text = std::to_string(value);
    if (value < 10) text.insert(text.begin(), '0');
    return text;
}

}  // namespace

std::string FormatMinSec(std::int64_t seconds) {
    if (seconds < 0) seconds = 0;
    return std::to_string(seconds / 60) + ":" + TwoDigits(seconds % 60);
}

std::string FormatTotalPlayingTime(std::int64_t seconds) {
    if (seconds < 0) seconds = 0;
    // Hours come from a floating-point division rounded down, minutes and seconds from whole
    // numbers; for the sums a song list can reach both ways agree.
    const auto hours = std::int64_t(std::floor(double(seconds) / 60.0 / 60.0));
    return std::to_string(hours) + ":" + TwoDigits(seconds / 60 % 60) + ":" +
           TwoDigits(seconds % 60);
}
