// Fuzzes the ID3v2 reader over a song's first bytes; every field it gives must be valid UTF-8.
#include <cstdlib>
#include <string_view>

#include "platform/utf8.h"
#include "trackinfo/id3v2.h"

namespace {

bool ValidUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = utf8::SequenceAt(text, i);
        if (length == 0) return false;
        i += length;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto fields = ParseId3v2(std::span<const std::uint8_t>(data, size));
    if (!fields) return 0;
    for (const std::string* field :
         {&fields->title, &fields->artist, &fields->album, &fields->year, &fields->comment}) {
        // UTF-16 grows by half at most, a byte becomes three at most (U+FFFD, €); nothing comes
        // from outside the input.
        if (!ValidUtf8(*field) || field->size() > 3 * size) std::abort();
    }
    return 0;
}
