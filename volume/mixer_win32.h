// The two Windows master-volume backends that mixer_win32.cpp chooses between: the winmm mixer
// (mixer_winmm.cpp; Windows XP, where it reaches the speakers line) and the Core Audio endpoint
// volume of the default output device (mixer_endpoint.cpp; Vista and later, where the winmm
// mixer reaches only the program's own session). Main thread only; the scale is 0..65535.
#pragma once

#include <cstdint>

namespace mixer_winmm {
std::uint32_t GetVolume();
std::uint32_t SetVolume(std::uint32_t value);  // at most 65535
int GetMute();
std::uint32_t SetMute(int value);
bool ReportsChanges();  // opens the change watch on the first call
}  // namespace mixer_winmm

namespace mixer_endpoint {
// Opens the default output device on the first call; false where Core Audio is not there
// (Windows XP), no output device is, or its endpoint cannot set the level.
bool Available();
std::uint32_t GetVolume();
std::uint32_t SetVolume(std::uint32_t value);
int GetMute();
std::uint32_t SetMute(int value);
bool ReportsChanges();
}  // namespace mixer_endpoint
