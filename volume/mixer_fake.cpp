// The master volume in tests: the program's calls act on two stored values, which the test's
// controls (volume/mixer_fake.h) read and change. Atomics, so a test may change them from a
// second thread while the program runs.
#include <atomic>

#include "volume/change_signal.h"
#include "volume/mixer.h"
#include "volume/mixer_fake.h"
#include "volume/mixer_scale.h"

namespace {

struct State {
    std::atomic<bool> present{true};
    std::atomic<std::uint32_t> volume{mixer_scale::LevelMax};
    std::atomic<int> mute{0};
    std::atomic<int> getVolumeCalls{0};
    std::atomic<int> setVolumeCalls{0};
    std::atomic<int> getMuteCalls{0};
    std::atomic<int> setMuteCalls{0};
    mixer_change::Signal changes;
};

State& TheState() {
    static State state;
    return state;
}

}  // namespace

std::uint32_t GetVolume() {
    State& s = TheState();
    ++s.getVolumeCalls;
    return s.present ? s.volume.load() : 0;
}

std::uint32_t SetVolume(std::uint32_t value) {
    State& s = TheState();
    ++s.setVolumeCalls;
    if (!s.present) return MixerNoDevice;
    s.volume = mixer_scale::ClampLevel(value);
    return MixerDone;
}

int GetMute() {
    State& s = TheState();
    ++s.getMuteCalls;
    return s.present ? s.mute.load() : 0;
}

std::uint32_t SetMute(int value) {
    State& s = TheState();
    ++s.setMuteCalls;
    if (!s.present) return MixerNoDevice;
    s.mute = value != 0 ? 1 : 0;
    return MixerDone;
}

// Changes "outside" are reported through an eventfd on Linux; elsewhere the fake cannot tell.
bool MixerReportsChanges() {
    return TheState().present && TheState().changes.Descriptor() >= 0;
}
int MixerChangeDescriptor() {
    return TheState().changes.Descriptor();
}
void TakeMixerChanges() {
    TheState().changes.Take();
}

namespace mixer_fake {

void Reset() {
    State& s = TheState();
    s.present = true;
    s.volume = mixer_scale::LevelMax;
    s.mute = 0;
    s.getVolumeCalls = 0;
    s.setVolumeCalls = 0;
    s.getMuteCalls = 0;
    s.setMuteCalls = 0;
}

void SetPresent(bool present) {
    TheState().present = present;
}
void ChangeVolumeOutside(std::uint32_t value) {
    TheState().volume = mixer_scale::ClampLevel(value);
    TheState().changes.Notify();
}
void ChangeMuteOutside(int value) {
    TheState().mute = value != 0 ? 1 : 0;
    TheState().changes.Notify();
}
std::uint32_t StoredVolume() {
    return TheState().volume;
}
int StoredMute() {
    return TheState().mute;
}

CallCounts Calls() {
    const State& s = TheState();
    return {s.getVolumeCalls, s.setVolumeCalls, s.getMuteCalls, s.setMuteCalls};
}

}  // namespace mixer_fake
