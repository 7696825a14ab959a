// Finds the format and the sample data inside RIFF/WAVE bytes, so they can be handed to the
// sound output as they are. Only uncompressed PCM is accepted.
#pragma once

#include <cstddef>
#include <cstdint>

namespace win32 {

struct WavParts {
    std::uint16_t channels = 0;
    std::uint32_t samplesPerSecond = 0;
    std::uint16_t bitsPerSample = 0;
    const std::uint8_t* data = nullptr;
    std::size_t dataSize = 0;
};

// False for anything but a complete PCM WAVE with a "fmt " chunk before its "data" chunk. A
// data chunk that claims more bytes than there are is cut to what is there.
bool ParseWav(const std::uint8_t* bytes, std::size_t size, WavParts& parts);

}  // namespace win32
