// Chooses the Linux mixer on every call, so a sound server that starts or stops later is used
// or left as it comes and goes.
#include "volume/mixer_system.h"

#include "volume/mixer.h"
#include "volume/mixer_alsa.h"
#include "volume/mixer_pulse.h"

namespace mixer_system {
namespace {

enum class Source { Pulse, Alsa, None };

// ALSA's default device is often PulseAudio's own plugin, which waits without limit for a
// server that accepted the connection and hangs; so ALSA is asked only when no server is there.
Source Choose() {
    switch (mixer_pulse::Check()) {
        case mixer_pulse::Status::Ready:
            return Source::Pulse;
        case mixer_pulse::Status::Trying:
            return Source::None;
        case mixer_pulse::Status::Absent:
            break;
    }
    return mixer_alsa::Available() ? Source::Alsa : Source::None;
}

// Runs pulse or alsa, whichever mixer is there, or gives none.
template <typename Result, typename Pulse, typename Alsa>
Result Dispatch(Pulse pulse, Alsa alsa, Result none) {
    switch (Choose()) {
        case Source::Pulse:
            return pulse();
        case Source::Alsa:
            return alsa();
        case Source::None:
            break;
    }
    return none;
}

}  // namespace

std::uint32_t GetVolume() {
    return Dispatch(mixer_pulse::GetVolume, mixer_alsa::GetVolume, std::uint32_t{0});
}

std::uint32_t SetVolume(std::uint32_t value) {
    return Dispatch([value] { return mixer_pulse::SetVolume(value); },
                    [value] { return mixer_alsa::SetVolume(value); }, MixerNoDevice);
}

int GetMute() {
    return Dispatch(mixer_pulse::GetMute, mixer_alsa::GetMute, 0);
}

std::uint32_t SetMute(int value) {
    return Dispatch([value] { return mixer_pulse::SetMute(value); },
                    [value] { return mixer_alsa::SetMute(value); }, MixerNoDevice);
}

}  // namespace mixer_system
