// The About window's chime: RIFF/WAVE file bytes (PCM mono, 22050 Hz, 8 bit), living as long
// as the process.
#pragma once

#include <cstddef>
#include <cstdint>

const std::uint8_t* AboutSoundData();
std::size_t AboutSoundSize();
