// Chooses the Linux mixer on every call, so a sound server that starts or stops later is used
// or left as it comes and goes.
#include "volume/mixer_system.h"

#include "volume/mixer.h"
#include "volume/mixer_alsa.h"
#include "volume/mixer_pulse.h"

namespace mixer_system {

std::uint32_t GetVolume() {
    if (mixer_pulse::Connected()) return mixer_pulse::GetVolume();
    return mixer_alsa::GetVolume();
}

std::uint32_t SetVolume(std::uint32_t value) {
    if (mixer_pulse::Connected()) return mixer_pulse::SetVolume(value);
    return mixer_alsa::SetVolume(value);
}

int GetMute() {
    if (mixer_pulse::Connected()) return mixer_pulse::GetMute();
    return mixer_alsa::GetMute();
}

std::uint32_t SetMute(int value) {
    if (mixer_pulse::Connected()) return mixer_pulse::SetMute(value);
    return mixer_alsa::SetMute(value);
}

}  // namespace mixer_system
