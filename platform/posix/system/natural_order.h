// The order a file manager lists names in: letters compared without case, runs of digits
// compared by their value ("2 x.mp3" before "10 x.mp3"), names that still tie compared bytewise.
#pragma once

#include <string_view>

namespace sys {

// True when a comes before b. A strict total order over byte strings (any bytes, UTF-8 or not).
bool NaturalLess(std::string_view a, std::string_view b);

}  // namespace sys
