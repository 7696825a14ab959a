// The program's master volume in the test driver: the fake or the system mixer, as chosen.
#include "volume/mixer.h"
#include "volume/mixer_fake.h"
#include "volume/mixer_select.h"
#include "volume/mixer_system.h"

namespace {
MixerBackend chosen = MixerBackend::Fake;
}

void SelectMixer(MixerBackend backend) {
    chosen = backend;
}
MixerBackend SelectedMixer() {
    return chosen;
}

std::uint32_t GetVolume() {
    return chosen == MixerBackend::System ? mixer_system::GetVolume() : mixer_fake::GetVolume();
}

std::uint32_t SetVolume(std::uint32_t value) {
    return chosen == MixerBackend::System ? mixer_system::SetVolume(value)
                                          : mixer_fake::SetVolume(value);
}

int GetMute() {
    return chosen == MixerBackend::System ? mixer_system::GetMute() : mixer_fake::GetMute();
}

std::uint32_t SetMute(int value) {
    return chosen == MixerBackend::System ? mixer_system::SetMute(value)
                                          : mixer_fake::SetMute(value);
}

bool MixerReportsChanges() {
    return chosen == MixerBackend::System ? mixer_system::ReportsChanges()
                                          : mixer_fake::ReportsChanges();
}

// Chosen before the program starts, so the descriptor stays the same for the run.
int MixerChangeDescriptor() {
    return chosen == MixerBackend::System ? mixer_system::ChangeDescriptor()
                                          : mixer_fake::ChangeDescriptor();
}

void TakeMixerChanges() {
    if (chosen == MixerBackend::System) {
        mixer_system::TakeChanges();
    } else {
        mixer_fake::TakeChanges();
    }
}
