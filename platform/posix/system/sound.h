// Internal to the POSIX system services: closing short sounds once they have been heard.
#pragma once

namespace sys {

// Closes the output of every sound started with PlayWav that has finished playing. Main thread
// only (SDL opens and closes devices on one thread); cheap when nothing plays.
void ReleaseFinishedSounds();

}  // namespace sys
