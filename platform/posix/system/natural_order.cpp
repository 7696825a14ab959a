// Natural name order for directory listings: digit runs by value; letters first by their base
// letter (so "Ärger" sits among the a's as in a German file manager), then case-blind, then
// bytewise.
#include "platform/posix/system/natural_order.h"

#include <cstddef>
#include <cstdint>

#include "platform/utf8.h"

namespace sys {
namespace {

bool IsDigit(unsigned char c) {
    return c >= '0' && c <= '9';
}

// One step of a name: either a run of digits or one character (a UTF-8 sequence, or a single
// byte where the sequence is broken), folded to lower case for ASCII and Latin-1 letters.
struct Token {
    bool isNumber = false;
    std::uint32_t codePoint = 0;  // characters only
    std::string_view digits;      // numbers only, leading zeros removed
};

enum class Level { BaseLetter, IgnoreCase };

std::uint32_t FoldCase(std::uint32_t cp) {
    if (cp >= 'A' && cp <= 'Z') return cp + 32;
    if (cp >= 0xC0 && cp <= 0xDE && cp != 0xD7) return cp + 32;  // À..Þ, not the sign ×
    return cp;
}

// The letter a Latin-1 letter (already folded to lower case) is filed under.
std::uint32_t BaseLetter(std::uint32_t cp) {
    // à..ÿ in order; ÷ (the '/' slot) is no letter and never looked up.
    static constexpr char bases[] = "aaaaaaaceeeeiiiidnooooo/ouuuuyty";
    static_assert(sizeof(bases) == 0x20 + 1);
    if (cp == 0xDF) return 's';                           // ß
    if (cp < 0xE0 || cp > 0xFF || cp == 0xF7) return cp;  // not ÷ either
    return static_cast<unsigned char>(bases[cp - 0xE0]);
}

// Decodes one character at s[i]; advances i. Invalid or truncated sequences yield the lead byte
// as its own character, so every byte string still has exactly one reading. Overlong forms and
// surrogates count as the characters they spell.
std::uint32_t DecodeChar(std::string_view s, std::size_t& i) {
    const utf8::Sequence sequence = utf8::Decode(s, i, utf8::Forms::WellShaped);
    if (sequence.length == 0) return static_cast<unsigned char>(s[i++]);
    i += sequence.length;
    return sequence.codePoint;
}

Token NextToken(std::string_view s, std::size_t& i, Level level) {
    Token token;
    if (IsDigit(static_cast<unsigned char>(s[i]))) {
        const std::size_t start = i;
        while (i < s.size() && IsDigit(static_cast<unsigned char>(s[i]))) ++i;
        std::size_t first = start;
        while (first + 1 < i && s[first] == '0') ++first;
        token.isNumber = true;
        token.digits = s.substr(first, i - first);
        return token;
    }
    token.codePoint = FoldCase(DecodeChar(s, i));
    if (level == Level::BaseLetter) token.codePoint = BaseLetter(token.codePoint);
    return token;
}

// Numbers sort where the character '0' would, so a number's place among other characters does
// not depend on its value; two numbers compare by value.
int CompareTokens(const Token& a, const Token& b) {
    const std::uint32_t keyA = a.isNumber ? '0' : a.codePoint;
    const std::uint32_t keyB = b.isNumber ? '0' : b.codePoint;
    if (keyA != keyB) return keyA < keyB ? -1 : 1;
    if (!a.isNumber) return 0;
    if (a.digits.size() != b.digits.size()) return a.digits.size() < b.digits.size() ? -1 : 1;
    const int byDigits = a.digits.compare(b.digits);
    return byDigits < 0 ? -1 : (byDigits > 0 ? 1 : 0);
}

// How far two names may be skipped before comparing: their common bytes, cut back to just after
// an ASCII character that is no digit. Such a character is a token of its own and ends any
// token before it, so up to there both names split into the same tokens. Names in one folder
// often share a long start ("Track 01", "Track 02"); the sort compares each pair many times.
std::size_t SameTokensPrefix(std::string_view a, std::string_view b) {
    const std::size_t shorter = a.size() < b.size() ? a.size() : b.size();
    std::size_t n = 0;
    while (n < shorter && a[n] == b[n]) ++n;
    while (n > 0) {
        const auto c = static_cast<unsigned char>(a[n - 1]);
        if (c < 0x80 && !IsDigit(c)) break;
        --n;
    }
    return n;
}

int CompareAt(std::string_view a, std::string_view b, std::size_t start, Level level) {
    std::size_t i = start;
    std::size_t j = start;
    while (i < a.size() && j < b.size()) {
        const int order = CompareTokens(NextToken(a, i, level), NextToken(b, j, level));
        if (order != 0) return order;
    }
    if (i < a.size()) return 1;
    return j < b.size() ? -1 : 0;
}

}  // namespace

bool StartsWithFolded(std::string_view name, std::string_view prefix) {
    std::size_t i = 0, j = 0;
    while (j < prefix.size()) {
        if (i >= name.size()) return false;
        if (BaseLetter(FoldCase(DecodeChar(name, i))) !=
            BaseLetter(FoldCase(DecodeChar(prefix, j))))
            return false;
    }
    return true;
}

bool NaturalLess(std::string_view a, std::string_view b) {
    const std::size_t start = SameTokensPrefix(a, b);
    for (Level level : {Level::BaseLetter, Level::IgnoreCase}) {
        if (const int order = CompareAt(a, b, start, level); order != 0) return order < 0;
    }
    return a < b;
}

}  // namespace sys
