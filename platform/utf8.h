// Telling valid UTF-8 from other bytes: the one rule the tag reader (UTF-8 in ID3v1 fields)
// and the desktop bus (which takes only valid UTF-8) both follow. Pure; any thread.
#pragma once

#include <cstddef>
#include <string_view>

namespace utf8 {

// How many bytes the UTF-8 sequence at text[i] takes (1 to 4), or 0 when the bytes there are
// not a valid sequence: overlong forms, UTF-16 surrogates and code points past U+10FFFF are
// not. cutOff, when given, is set to whether the bytes from i on begin a valid sequence that
// the end of text cuts short.
inline std::size_t SequenceAt(std::string_view text, std::size_t i, bool* cutOff = nullptr) {
    if (cutOff != nullptr) *cutOff = false;
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[i + k]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) return 1;
    const std::size_t length = lead >= 0xC2 && lead <= 0xDF   ? 2
                               : lead >= 0xE0 && lead <= 0xEF ? 3
                               : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                              : 0;
    if (length == 0) return 0;
    for (std::size_t k = 1; k < length; ++k) {
        if (i + k >= text.size()) {
            if (cutOff != nullptr) *cutOff = true;
            return 0;
        }
        const unsigned char c = byte(k);
        // The second byte's narrower ranges keep out the overlong and out-of-range forms.
        const unsigned char low = k == 1 && lead == 0xE0   ? 0xA0
                                  : k == 1 && lead == 0xF0 ? 0x90
                                                           : 0x80;
        const unsigned char high = k == 1 && lead == 0xED   ? 0x9F
                                   : k == 1 && lead == 0xF4 ? 0x8F
                                                            : 0xBF;
        if (c < low || c > high) return 0;
    }
    return length;
}

}  // namespace utf8
