// ALSA "Master" control: the simple mixer interface, with pending change events taken in
// (without blocking) before each read.
#include "volume/mixer_alsa.h"

#include <poll.h>

#include <chrono>
#include <vector>

#include "volume/mixer.h"
#include "volume/mixer_scale.h"

namespace mixer_alsa {

bool MasterControl::Open(const std::string& card) {
    Close();
    snd_mixer_t* raw = nullptr;
    if (snd_mixer_open(&raw, 0) < 0 || !raw) return false;
    std::unique_ptr<snd_mixer_t, MixerCloser> mixer(raw);
    if (snd_mixer_attach(raw, card.c_str()) < 0) return false;
    if (snd_mixer_selem_register(raw, nullptr, nullptr) < 0) return false;
    if (snd_mixer_load(raw) < 0) return false;
    snd_mixer_selem_id_t* id = nullptr;
    snd_mixer_selem_id_alloca(&id);
    snd_mixer_selem_id_set_index(id, 0);
    snd_mixer_selem_id_set_name(id, "Master");
    snd_mixer_elem_t* element = snd_mixer_find_selem(raw, id);
    if (!element || !snd_mixer_selem_has_playback_volume(element)) return false;
    mixer_ = std::move(mixer);
    element_ = element;
    return true;
}

void MasterControl::Close() {
    element_ = nullptr;
    mixer_.reset();
}

namespace {

std::vector<pollfd> PollDescriptors(snd_mixer_t* mixer) {
    const int count = snd_mixer_poll_descriptors_count(mixer);
    if (count <= 0) return {};
    std::vector<pollfd> descriptors(static_cast<std::size_t>(count));
    if (snd_mixer_poll_descriptors(mixer, descriptors.data(), count) < 0) return {};
    return descriptors;
}

}  // namespace

std::vector<int> MasterControl::Descriptors() const {
    std::vector<int> fds;
    if (!IsOpen()) return fds;
    for (const pollfd& descriptor : PollDescriptors(mixer_.get())) fds.push_back(descriptor.fd);
    return fds;
}

bool MasterControl::Refresh() {
    if (!IsOpen()) return false;
    std::vector<pollfd> descriptors = PollDescriptors(mixer_.get());
    if (descriptors.empty()) return true;
    // Only when something is waiting: handling events on an idle control may block.
    if (poll(descriptors.data(), descriptors.size(), 0) <= 0) return true;
    if (snd_mixer_handle_events(mixer_.get()) < 0) {
        Close();
        return false;
    }
    return IsOpen();
}

std::uint32_t MasterControl::Volume() const {
    if (!IsOpen()) return 0;
    long min = 0;
    long max = 0;
    if (snd_mixer_selem_get_playback_volume_range(element_, &min, &max) < 0) return 0;
    bool any = false;
    long loudest = min;
    for (int channel = 0; channel <= SND_MIXER_SCHN_LAST; ++channel) {
        const auto id = static_cast<snd_mixer_selem_channel_id_t>(channel);
        if (!snd_mixer_selem_has_playback_channel(element_, id)) continue;
        long value = 0;
        if (snd_mixer_selem_get_playback_volume(element_, id, &value) < 0) continue;
        if (!any || value > loudest) loudest = value;
        any = true;
    }
    return any ? mixer_scale::LevelFromAlsa(loudest, min, max) : 0;
}

int MasterControl::Mute() const {
    if (!IsOpen() || !snd_mixer_selem_has_playback_switch(element_)) return 0;
    int on = 1;
    if (snd_mixer_selem_get_playback_switch(element_, SND_MIXER_SCHN_FRONT_LEFT, &on) < 0) return 0;
    return on ? 0 : 1;
}

std::uint32_t MasterControl::SetVolume(std::uint32_t value) {
    if (!IsOpen()) return MixerNoDevice;
    long min = 0;
    long max = 0;
    if (snd_mixer_selem_get_playback_volume_range(element_, &min, &max) < 0) return MixerFailed;
    const long raw = mixer_scale::AlsaFromLevel(value, min, max);
    return snd_mixer_selem_set_playback_volume_all(element_, raw) < 0 ? MixerFailed : MixerDone;
}

std::uint32_t MasterControl::SetMute(int value) {
    if (!IsOpen()) return MixerNoDevice;
    if (!snd_mixer_selem_has_playback_switch(element_)) return MixerFailed;
    return snd_mixer_selem_set_playback_switch_all(element_, value != 0 ? 0 : 1) < 0 ? MixerFailed
                                                                                     : MixerDone;
}

namespace {

using Clock = std::chrono::steady_clock;

// alsa-lib prints every failed open to stderr; retried once a second on a machine without a
// sound card, that would flood the terminal the player was started from.
void Silent(const char*, int, const char*, int, const char*, ...) {}

MasterControl& DefaultControl() {
    static MasterControl control;
    return control;
}

}  // namespace

bool Available() {
    static bool tried = false;
    static Clock::time_point lastTry{};
    MasterControl& control = DefaultControl();
    if (control.IsOpen() && control.Refresh()) return true;
    const auto now = Clock::now();
    if (tried && now - lastTry < std::chrono::seconds(1)) return false;
    if (!tried) snd_lib_error_set_handler(Silent);
    tried = true;
    lastTry = now;
    return control.Open("default");
}

std::uint32_t GetVolume() {
    return Available() ? DefaultControl().Volume() : 0;
}
int GetMute() {
    return Available() ? DefaultControl().Mute() : 0;
}
std::uint32_t SetVolume(std::uint32_t value) {
    return Available() ? DefaultControl().SetVolume(value) : MixerNoDevice;
}
std::uint32_t SetMute(int value) {
    return Available() ? DefaultControl().SetMute(value) : MixerNoDevice;
}
std::vector<int> ChangeDescriptors() {
    return DefaultControl().Descriptors();
}
void TakeChanges() {
    if (DefaultControl().IsOpen()) DefaultControl().Refresh();
}

}  // namespace mixer_alsa
