// How the device counts the open song's time against the real time of its audio. Windows' own
// device counts a VBR MP3 as if its whole audio had the first frame's bitrate: its length and
// the points it plays from are in that estimate, while its position then advances in real
// time. Main thread only.
#pragma once

#include <cstdint>

struct DeviceClock {
    std::int32_t deviceLengthMs = 0;  // the open song's length as the device answered it
    // The song's real length when the device counts it otherwise (milliseconds), else 0: the
    // device's milliseconds are then real ones.
    std::int32_t realLengthMs = 0;
    std::int64_t exactMs = 0;  // the song's exact duration from its header, else 0
    // Where the device last started playing, in its counting and in real time.
    std::int32_t startDeviceMs = 0, startRealMs = 0;
    // Some song of this run was counted by its first frame: the device does so with every
    // song, and a song without an exact duration may play on past the length it answers.
    bool countsByFirstFrame = false;
};

// The device answered deviceLengthMs for a song whose header gives exactMs (0: none). A real
// length that differs by more than a second is taken instead of the device's.
void LearnSongClock(DeviceClock& clock, std::int32_t deviceLengthMs, std::int64_t exactMs);

// The song's length in real milliseconds.
std::int32_t RealLength(const DeviceClock& clock);

// The device's point for realMs of the song, and a note that it starts playing from there.
std::int32_t StartDeviceAt(DeviceClock& clock, std::int32_t realMs);
// The device started at its own point deviceMs (the song's opening start).
void NoteDeviceStart(DeviceClock& clock, std::int32_t deviceMs);

// The real position of a polled device position, within the real length.
std::int32_t RealPosition(const DeviceClock& clock, std::int32_t deviceMs);

// Where the song's audio ends, in real milliseconds, for a song whose length is lengthMs: a
// header's exact duration a little shorter than the device's count ends it earlier, as the
// device stops there.
std::int32_t SongEndMs(const DeviceClock& clock, std::int32_t lengthMs);

// The song may go on sounding after its position has passed the length the device answered.
bool MayPlayPastLength(const DeviceClock& clock);
