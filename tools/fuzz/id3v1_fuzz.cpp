// Fuzzes building the info text from a song's last bytes.
#include <cstdlib>
#include <string>

#include "trackinfo/id3v1.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text = Id3v1InfoText(std::span<const std::uint8_t>(data, size));
    // Five lines at most 30 bytes of field each, three bytes of UTF-8 per byte at worst.
    if (text.size() > 5 * 3 * 30 + 64) std::abort();
    return 0;
}
