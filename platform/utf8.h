// UTF-8 for the whole program: the one decoder of its sequences, the one encoder of code points,
// and the one pair of conversions to and from UTF-16 (the Windows calls and ID3v2 text). Every
// reader of foreign bytes (tags, file names, the desktop bus) judges them by the same rule.
// Pure; any thread.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace utf8 {

// The bytes a sequence takes as its first byte announces it: 1 for ASCII and for the bytes
// 0x80 to 0xBF, which begin none; 2 to 4 for 0xC0 to 0xFF, whether valid lead bytes or not.
constexpr std::size_t AnnouncedLength(unsigned char lead) {
    return lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
}

// Which sequences Decode takes.
enum class Forms {
    // The shortest form of a code point up to U+10FFFF that is no UTF-16 surrogate.
    Valid,
    // A lead byte 0xC2 to 0xF4 with the continuation bytes it announces, also where they make
    // an overlong three- or four-byte form, a surrogate or a code point past U+10FFFF.
    WellShaped,
};

struct Sequence {
    std::size_t length = 0;  // 1 to 4 bytes; 0 when the bytes at i begin no sequence taken
    char32_t codePoint = 0;
    bool cutOff = false;  // the bytes from i on begin a sequence that the end of text cuts short
};

// The sequence at text[i] (i < text.size()).
inline Sequence Decode(std::string_view text, std::size_t i, Forms forms = Forms::Valid) {
    Sequence sequence;
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[i + k]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) return {1, lead, false};
    if (lead < 0xC2 || lead > 0xF4) return sequence;
    const std::size_t length = AnnouncedLength(lead);
    char32_t codePoint = lead & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
        if (i + k >= text.size()) {
            sequence.cutOff = true;
            return sequence;
        }
        const unsigned char c = byte(k);
        // The second byte's narrower ranges keep out the overlong and out-of-range forms.
        const bool valid = forms == Forms::Valid && k == 1;
        const unsigned char low = valid && lead == 0xE0   ? 0xA0
                                  : valid && lead == 0xF0 ? 0x90
                                                          : 0x80;
        const unsigned char high = valid && lead == 0xED   ? 0x9F
                                   : valid && lead == 0xF4 ? 0x8F
                                                           : 0xBF;
        if (c < low || c > high) return sequence;
        codePoint = (codePoint << 6) | (c & 0x3F);
    }
    return {length, codePoint, false};
}

// cp must be a code point (up to U+10FFFF), not a surrogate.
inline void Append(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += char(cp);
    } else if (cp < 0x800) {
        out += char(0xC0 | (cp >> 6));
        out += char(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += char(0xE0 | (cp >> 12));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    } else {
        out += char(0xF0 | (cp >> 18));
        out += char(0x80 | ((cp >> 12) & 0x3F));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    }
}

inline constexpr char32_t Replacement = 0xFFFD;

// The text with every byte that begins no valid sequence replaced by U+FFFD, so the result is
// valid UTF-8 and valid text stays as it is.
inline std::string Repaired(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = Decode(text, i).length;
        if (length == 0) {
            Append(out, Replacement);
            ++i;
        } else {
            out.append(text.substr(i, length));
            i += length;
        }
    }
    return out;
}

// UTF-8 to UTF-16 (Unit: char16_t, or wchar_t on Windows); every byte that begins no valid
// sequence becomes U+FFFD.
template <typename Unit = char16_t>
std::basic_string<Unit> ToUtf16(std::string_view text) {
    static_assert(sizeof(Unit) == 2);
    std::basic_string<Unit> out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const Sequence sequence = Decode(text, i);
        const char32_t cp = sequence.length == 0 ? Replacement : sequence.codePoint;
        i += sequence.length == 0 ? 1 : sequence.length;
        if (cp >= 0x10000) {
            out.push_back(Unit(0xD800 + ((cp - 0x10000) >> 10)));
            out.push_back(Unit(0xDC00 + ((cp - 0x10000) & 0x3FF)));
        } else {
            out.push_back(Unit(cp));
        }
    }
    return out;
}

// UTF-16 to UTF-8; a surrogate without its other half becomes U+FFFD.
template <typename Unit>
std::string FromUtf16(std::basic_string_view<Unit> units) {
    static_assert(sizeof(Unit) == 2);
    std::string out;
    out.reserve(units.size());
    char32_t high = 0;  // a high surrogate waiting for its low half
    for (const Unit u : units) {
        const char32_t unit = char32_t(u) & 0xFFFF;
        const bool isHigh = unit >= 0xD800 && unit <= 0xDBFF;
        const bool isLow = unit >= 0xDC00 && unit <= 0xDFFF;
        if (high != 0 && isLow) {
            Append(out, 0x10000 + ((high - 0xD800) << 10) + (unit - 0xDC00));
            high = 0;
            continue;
        }
        if (high != 0) Append(out, Replacement);
        high = isHigh ? unit : 0;
        if (!isHigh) Append(out, isLow ? Replacement : unit);
    }
    if (high != 0) Append(out, Replacement);
    return out;
}

}  // namespace utf8
