// ALSA's "Master" playback control as master volume, for systems without a PulseAudio server.
#pragma once

#include <alsa/asoundlib.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace mixer_alsa {

// The "Master" simple element of one card's mixer, kept open between calls. Main thread only.
class MasterControl {
  public:
    // False when the card has no mixer or no "Master" element with a playback volume.
    bool Open(const std::string& card);
    void Close();
    bool IsOpen() const { return element_ != nullptr; }

    // Takes in changes made by other programs since the last call; false when the card is gone
    // (the control is closed then).
    bool Refresh();
    std::uint32_t Volume() const;  // 0..65535 over the element's range, the loudest channel
    int Mute() const;              // 1 when the first channel's switch is off
    std::uint32_t SetVolume(std::uint32_t value);
    std::uint32_t SetMute(int value);
    // The descriptors that become readable when the control changes; none when closed.
    std::vector<int> Descriptors() const;

  private:
    struct MixerCloser {
        void operator()(snd_mixer_t* mixer) const { snd_mixer_close(mixer); }
    };
    std::unique_ptr<snd_mixer_t, MixerCloser> mixer_;
    snd_mixer_elem_t* element_ = nullptr;  // owned by mixer_
};

// The default card's control: opened on first use and reopened at most once a second after a
// failure. The getters return 0 when it is not available.
bool Available();
std::uint32_t GetVolume();
int GetMute();
std::uint32_t SetVolume(std::uint32_t value);
std::uint32_t SetMute(int value);
// The open control's change descriptors (none when it is not open), and taking in what they
// announced, so that they are quiet again.
std::vector<int> ChangeDescriptors();
void TakeChanges();

}  // namespace mixer_alsa
