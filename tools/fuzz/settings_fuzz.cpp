// Fuzzes the settings reader; whatever it reads must come back unchanged once written.
#include <cstdlib>
#include <string_view>

#include "app/settings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    // Kept between runs: the song list holds arrays of 10,000 entries. Reading sets every value.
    static SongListState songs;
    static ui::Options options;
    ParseSettings(bytes, "/music/", songs, options);
    const std::string written = FormatSettings(songs, options);
    ParseSettings(written, "/other/", songs, options);
    if (FormatSettings(songs, options) != written) std::abort();
    return 0;
}
