// The system's master output volume and mute, on the scale 0 to 65535. Each backend set defines
// these functions itself; CMake links one (volume/backends.cmake): mixer_linux.cpp (PulseAudio,
// else ALSA), mixer_win32.cpp (Core Audio, else winmm) or mixer_fake.cpp (tests).
#pragma once

#include <cstdint>

// Error codes the setters return, with the values of the Windows multimedia error numbers.
inline constexpr std::uint32_t MixerDone = 0;
inline constexpr std::uint32_t MixerFailed = 1;    // the mixer refused or the request was lost
inline constexpr std::uint32_t MixerNoDevice = 2;  // no mixer to talk to

// Main thread only. Each call is cheap enough for a main-loop pass. Without any mixer the
// getters return 0 and the setters do nothing.
std::uint32_t GetVolume();                     // 0..65535
std::uint32_t SetVolume(std::uint32_t value);  // values above 65535 act as 65535; 0 = done
int GetMute();                                 // 1 muted, 0 not muted or no mixer
std::uint32_t SetMute(int value);              // 1 mutes, 0 unmutes; 0 = done

// Changes made elsewhere (another program, the desktop's volume keys). Where the mixer can
// tell, the main loop waits for them instead of asking: on Linux it watches
// MixerChangeDescriptor() and calls TakeMixerChanges() whenever it is readable; on Windows the
// mixer posts a window message to the program's thread, which ends the wait by itself.
// False while the mixer in use cannot report changes: then the main loop asks once a second.
bool MixerReportsChanges();
// Readable while a change waits to be taken; -1 where there is none. The same for the whole run.
int MixerChangeDescriptor();
void TakeMixerChanges();
