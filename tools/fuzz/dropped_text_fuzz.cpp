// Fuzzes reading the first path out of dropped text.
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/common/dropped_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path =
        FirstDroppedPath(std::string_view(reinterpret_cast<const char*>(data), size));
    // Decoding only shortens; what comes out is an absolute path without NUL bytes.
    if (path.size() > size) std::abort();
    if (!path.empty() && (path.front() != '/' || path.find('\0') != std::string::npos)) {
        std::abort();
    }
    return 0;
}
