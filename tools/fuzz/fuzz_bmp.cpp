// Feeds arbitrary bytes to the BMP decoder; it must reject or decode without touching memory
// outside the input, and a decoded image must have exactly width * height pixels.
#include <cstdlib>

#include "platform/common/bmp_decode.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    BmpImage image;
    if (DecodeBmp(data, size, image)) {
        const std::size_t pixels = std::size_t(image.info.width) * image.info.height;
        if (image.rgba.size() != pixels * 4) std::abort();
    }
    return 0;
}
