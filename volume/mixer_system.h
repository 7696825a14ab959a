// The Linux master volume: the PulseAudio default sink while a server answers, else ALSA's
// "Master" on the default card, else none (getters 0, setters MixerNoDevice). Main thread only.
#pragma once

#include <cstdint>

namespace mixer_system {

std::uint32_t GetVolume();
std::uint32_t SetVolume(std::uint32_t value);
int GetMute();
std::uint32_t SetMute(int value);
bool ReportsChanges();
int ChangeDescriptor();
void TakeChanges();

}  // namespace mixer_system
