// Making file names and tags fit for the desktop bus.
#include "platform/posix/media_text.h"

#include <cstdint>

namespace media::posix {

namespace {

// The length of the valid UTF-8 sequence at text[i], or 0 when there is none.
std::size_t SequenceLength(std::string_view text, std::size_t i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[i + k]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) return 1;
    const std::size_t length = lead >= 0xC2 && lead <= 0xDF   ? 2
                               : lead >= 0xE0 && lead <= 0xEF ? 3
                               : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                              : 0;
    if (length == 0 || i + length > text.size()) return 0;
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(k) & 0xC0) != 0x80) return 0;
    }
    // Overlong forms, UTF-16 surrogates and code points past U+10FFFF.
    const unsigned char second = byte(1);
    if (lead == 0xE0 && second < 0xA0) return 0;
    if (lead == 0xED && second > 0x9F) return 0;
    if (lead == 0xF0 && second < 0x90) return 0;
    if (lead == 0xF4 && second > 0x8F) return 0;
    return length;
}

bool Unreserved(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~' || c == '/';
}

}  // namespace

std::string ValidUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = SequenceLength(text, i);
        if (length == 0) {
            out += "\xEF\xBF\xBD";
            ++i;
        } else {
            out.append(text.substr(i, length));
            i += length;
        }
    }
    return out;
}

std::string FileUri(std::string_view absolutePath) {
    static constexpr char Hex[] = "0123456789ABCDEF";
    std::string uri = "file://";
    for (const char ch : absolutePath) {
        const auto c = static_cast<unsigned char>(ch);
        if (Unreserved(c)) {
            uri += ch;
        } else {
            uri += '%';
            uri += Hex[c >> 4];
            uri += Hex[c & 0x0F];
        }
    }
    return uri;
}

}  // namespace media::posix
