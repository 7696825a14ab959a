// The test's side of the in-memory mixer (volume/mixer_fake.cpp, which implements
// volume/mixer.h for tests): play the other programs on the system (change the values behind
// the program's back), read the values, count the program's calls, take the mixer away.
#pragma once

#include <cstdint>

namespace mixer_fake {

struct CallCounts {
    int getVolume = 0;
    int setVolume = 0;
    int getMute = 0;
    int setMute = 0;
};

// Back to the start: present, volume 65535, not muted, no calls counted.
void Reset();
// Without a mixer the getters return 0 and the setters change nothing and return MixerNoDevice.
void SetPresent(bool present);
// Another program changes the volume (limited to 65535 like a real mixer) or the mute; the
// change is reported as a real mixer reports one.
void ChangeVolumeOutside(std::uint32_t value);
void ChangeMuteOutside(int value);
// The stored values, whether or not the mixer is present; reading them counts no call.
std::uint32_t StoredVolume();
int StoredMute();
CallCounts Calls();

}  // namespace mixer_fake
