// Fuzzes the ID3v2 reader over a song's first bytes; every field it gives must be valid UTF-8.
#include <cstdlib>
#include <string_view>

#include "platform/utf8.h"
#include "trackinfo/id3v2.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto fields = ParseId3v2(std::span<const std::uint8_t>(data, size));
    if (!fields) return 0;
    for (const std::string* field :
         {&fields->title, &fields->artist, &fields->album, &fields->year, &fields->comment}) {
        // UTF-16 grows by half at most, a byte becomes three at most (U+FFFD, €); nothing comes
        // from outside the input.
        if (utf8::Repaired(*field) != *field || field->size() > 3 * size) std::abort();
    }
    return 0;
}
