// Setting the master volume from what a control works out: the knob's place, a key's step, the
// wheel, a media-control request. Every one of them goes through here, so the scale's ends
// hold in one place.
#pragma once

#include <cstdint>

#include "volume/mixer.h"
#include "volume/mixer_scale.h"

// Sets the mixer to level, limited to 0..65535, and returns the level it was given. Main thread
// only.
inline std::uint32_t SetMasterVolume(std::int64_t level) {
    const std::uint32_t clamped = mixer_scale::ClampLevel(level);
    SetVolume(clamped);
    return clamped;
}
