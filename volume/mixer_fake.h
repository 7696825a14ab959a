// An in-memory mixer for tests: the program's calls act on two stored values, and a test can
// play the other programs on the system (change the values behind the program's back), read
// the values, count the calls, and take the mixer away altogether.
#pragma once

#include <cstdint>

namespace mixer_fake {

// What the program's calls do (the public GetVolume etc. forward here).
std::uint32_t GetVolume();
std::uint32_t SetVolume(std::uint32_t value);
int GetMute();
std::uint32_t SetMute(int value);
// Changes "outside" are reported through an eventfd on Linux; elsewhere the fake cannot tell.
bool ReportsChanges();
int ChangeDescriptor();
void TakeChanges();

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
