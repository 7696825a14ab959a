// The time texts of the displays: minutes and seconds of a song ("62:05") and hours, minutes
// and seconds of the whole list ("1:02:05"). Any thread.
#pragma once

#include <cstdint>
#include <string>

// Whole seconds as minutes:seconds, the minutes unpadded and never turned into hours.
// Negative times show as "0:00".
std::string FormatMinSec(std::int64_t seconds);

// Whole seconds as hours:minutes:seconds, the hours unpadded. Negative times show as "0:00:00".
std::string FormatTotalPlayingTime(std::int64_t seconds);
