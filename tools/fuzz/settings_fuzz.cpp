// Fuzzes the settings reader; whatever it reads must come back unchanged once written.
#include <cstdlib>
#include <string_view>

#include "app/settings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const Settings first = ParseSettings(bytes, "/music/");
    const std::string written = FormatSettings(first);
    if (FormatSettings(ParseSettings(written, "/other/")) != written) std::abort();
    return 0;
}
