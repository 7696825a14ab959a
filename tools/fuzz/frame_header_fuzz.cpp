// Fuzzes the frame header search and decoding over a whole song held in memory.
#include <cstdlib>

#include "trackinfo/frame_header.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    const auto start = FrameSearchStart(bytes);
    const SongHeaderInfo info = AnalyseHeaderBytes(bytes);
    if (info.duration < 0) std::abort();
    // A header is only ever found behind the tags.
    if (!start && !info.texts.bitrateText.empty()) std::abort();
    return 0;
}
