// RIFF/WAVE chunk walk for the About sound; every length read from the data is checked against
// what is really there.
#include "platform/win32/system/wav.h"

#include <cstring>

namespace win32 {
namespace {

std::uint32_t Le32(const std::uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
std::uint16_t Le16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

}  // namespace

bool ParseWav(const std::uint8_t* bytes, std::size_t size, WavParts& parts) {
    parts = WavParts{};
    if (bytes == nullptr || size < 12 || std::memcmp(bytes, "RIFF", 4) != 0 ||
        std::memcmp(bytes + 8, "WAVE", 4) != 0) {
        return false;
    }
    bool haveFormat = false;
    std::size_t at = 12;
    while (size - at >= 8) {
        const std::uint8_t* chunk = bytes + at;
        std::size_t length = Le32(chunk + 4);
        std::size_t room = size - at - 8;
        if (std::memcmp(chunk, "fmt ", 4) == 0) {
            if (length < 16 || length > room) return false;
            if (Le16(chunk + 8) != 1) return false;  // PCM only
            parts.channels = Le16(chunk + 10);
            parts.samplesPerSecond = Le32(chunk + 12);
            parts.bitsPerSample = Le16(chunk + 22);
            haveFormat = parts.channels != 0 && parts.samplesPerSecond != 0 &&
                         (parts.bitsPerSample == 8 || parts.bitsPerSample == 16);
            if (!haveFormat) return false;
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            if (!haveFormat) return false;
            parts.data = chunk + 8;
            parts.dataSize = length < room ? length : room;
            return parts.dataSize > 0;
        }
        if (length > room) return false;
        at += 8 + length + (length & 1);  // chunks are padded to an even length
        if (at > size) return false;
    }
    return false;
}

}  // namespace win32
