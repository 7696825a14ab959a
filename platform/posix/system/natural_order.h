// The order a file manager lists names in: letters compared without case, runs of digits
// compared by their value ("2 x.mp3" before "10 x.mp3"), names that still tie compared bytewise.
#pragma once

#include <string_view>

namespace sys {

// True when a comes before b. A strict total order over byte strings (any bytes, UTF-8 or not).
bool NaturalLess(std::string_view a, std::string_view b);

// True when name begins with prefix, character by character, with letters folded as the order
// folds them first: case ignored and Latin-1 letters by their base letter ("Ärger" starts with
// "ar"). For typing a name's start into a list sorted in this order.
bool StartsWithFolded(std::string_view name, std::string_view prefix);

}  // namespace sys
