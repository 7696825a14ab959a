// The master volume on Linux: the PulseAudio default sink while a server answers, else ALSA's
// "Master" on the default card, else none (getters 0, setters MixerNoDevice). Chosen on every
// call, so a sound server that starts or stops later is used or left as it comes and goes.
#include <sys/epoll.h>
#include <unistd.h>

#include <vector>

#include "volume/mixer.h"
#include "volume/mixer_alsa.h"
#include "volume/mixer_pulse.h"

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

// One descriptor for the main loop to watch, whichever mixer is in use: an epoll set holding
// PulseAudio's change signal and the ALSA control's descriptors once it is open. A closed ALSA
// descriptor leaves the set by itself.
class ChangeSet {
  public:
    ChangeSet() : epoll_(epoll_create1(EPOLL_CLOEXEC)) { Add(mixer_pulse::ChangeDescriptor()); }
    ~ChangeSet() {
        if (epoll_ >= 0) close(epoll_);
    }
    ChangeSet(const ChangeSet&) = delete;
    ChangeSet& operator=(const ChangeSet&) = delete;

    int Descriptor() const { return epoll_; }
    // Adding a descriptor the set holds already is refused by epoll and changes nothing.
    void Add(int fd) {
        if (epoll_ < 0 || fd < 0) return;
        epoll_event event{};
        event.events = EPOLLIN;
        event.data.fd = fd;
        epoll_ctl(epoll_, EPOLL_CTL_ADD, fd, &event);
    }

  private:
    int epoll_;
};

ChangeSet& Changes() {
    static ChangeSet set;
    return set;
}

}  // namespace

bool MixerReportsChanges() {
    switch (Choose()) {
        case Source::Pulse:
            return true;
        case Source::Alsa: {
            const std::vector<int> fds = mixer_alsa::ChangeDescriptors();
            for (int fd : fds) Changes().Add(fd);
            return !fds.empty();
        }
        case Source::None:
            break;
    }
    return false;
}

int MixerChangeDescriptor() {
    return Changes().Descriptor();
}

void TakeMixerChanges() {
    mixer_pulse::TakeChanges();
    mixer_alsa::TakeChanges();
}

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
