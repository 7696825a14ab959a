// The master volume on Windows: the default output device's endpoint volume where Core Audio is
// there (Vista and later), the winmm mixer's speakers line otherwise (Windows XP).
#include "volume/mixer_win32.h"
#include "volume/mixer.h"

namespace {

bool UseEndpoint() {
    static const bool endpoint = mixer_endpoint::Available();
    return endpoint;
}

}  // namespace

bool MixerReportsChanges() {
    return UseEndpoint() ? mixer_endpoint::ReportsChanges() : mixer_winmm::ReportsChanges();
}

int MixerChangeDescriptor() {
    return -1;
}

void TakeMixerChanges() {}

std::uint32_t GetVolume() {
    return UseEndpoint() ? mixer_endpoint::GetVolume() : mixer_winmm::GetVolume();
}

std::uint32_t SetVolume(std::uint32_t value) {
    return UseEndpoint() ? mixer_endpoint::SetVolume(value) : mixer_winmm::SetVolume(value);
}

int GetMute() {
    return UseEndpoint() ? mixer_endpoint::GetMute() : mixer_winmm::GetMute();
}

std::uint32_t SetMute(int value) {
    return UseEndpoint() ? mixer_endpoint::SetMute(value) : mixer_winmm::SetMute(value);
}
