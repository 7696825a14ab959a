// The byte arrays generated at build time from tools/images and tools/sound (BMP and WAV file
// bytes). Read through ui/images.h and ui/sound.h; nothing else includes this.
#pragma once

#include <cstddef>
#include <cstdint>

struct ResourceBlob {
    const std::uint8_t* data;
    std::size_t size;
};

inline constexpr int kEmbeddedImageCount = 12;
extern const ResourceBlob kEmbeddedImages[kEmbeddedImageCount + 1];  // [0] is empty
extern const ResourceBlob kEmbeddedAboutSound;
