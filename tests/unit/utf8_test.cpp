// The one UTF-8 rule: which bytes are valid, what replaces the others, and the way to UTF-16
// and back, with the edges each reader of foreign text meets (Latin-1 bytes in file names,
// overlong forms, surrogates, sequences cut off by the end).
#include <gtest/gtest.h>

#include <string>

#include "platform/utf8.h"

namespace {

using namespace std::string_literals;

TEST(Utf8, EveryByteThatIsNotValidUtf8BecomesAReplacementCharacter) {
    const struct {
        std::string in, out;
    } cases[] = {
        {"M\xC3\xA4"s + "dchen", "M\xC3\xA4"s + "dchen"},          // valid stays
        {"M\xE4"s + "dchen", "M\xEF\xBF\xBD"s + "dchen"},          // Latin-1 in a file name
        {"\xC0\xAF", "\xEF\xBF\xBD\xEF\xBF\xBD"},                  // overlong '/'
        {"\xED\xA0\x80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},  // surrogate
        {"\xE6\x9D\xB1\xE4", "\xE6\x9D\xB1\xEF\xBF\xBD"},          // cut off at the end
        {"\xF0\x9F\x8E\xB5", "\xF0\x9F\x8E\xB5"},                  // four bytes
        {"\xF4\x90\x80\x80", std::string(4, '?')},                 // past U+10FFFF
        {"\xF8\x88\x80\x80\x80", std::string(5, '?')},             // five-byte form
        {"a\0b"s, "a\0b"s},                                        // NUL is a character
    };
    for (const auto& c : cases) {
        std::string expected;
        for (char ch : c.out) expected += ch == '?' ? "\xEF\xBF\xBD" : std::string(1, ch);
        EXPECT_EQ(utf8::Repaired(c.in), expected) << c.in;
    }
}

TEST(Utf8, WellShapedFormsTakeWhatValidOnesRefuse) {
    const struct {
        std::string bytes;
        std::size_t valid, wellShaped;  // lengths Decode gives at 0 under each rule
        char32_t codePoint;             // under the lenient rule, 0 when none
    } cases[] = {
        {"\xC3\xA4", 2, 2, 0xE4},       {"\xE0\x80\x80", 0, 3, 0},  // overlong NUL
        {"\xED\xA0\x80", 0, 3, 0xD800}, {"\xF4\x90\x80\x80", 0, 4, 0x110000},
        {"\xC0\x80", 0, 0, 0},          {"\xC3x", 0, 0, 0},  // no continuation
        {"\xF5\x80\x80\x80", 0, 0, 0},  {"\x80", 0, 0, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(utf8::Decode(c.bytes, 0).length, c.valid) << c.bytes;
        const utf8::Sequence lenient = utf8::Decode(c.bytes, 0, utf8::Forms::WellShaped);
        EXPECT_EQ(lenient.length, c.wellShaped) << c.bytes;
        EXPECT_EQ(lenient.codePoint, c.codePoint) << c.bytes;
    }
    // Only a sequence that was valid up to the end counts as cut off.
    EXPECT_TRUE(utf8::Decode("\xF0\x9F\x8E", 0).cutOff);
    EXPECT_FALSE(utf8::Decode("\xF0\x8F\x8E", 0).cutOff);
}

TEST(Utf8, Utf16BothWaysWithSurrogatePairsAndReplacements) {
    const struct {
        std::string utf8;
        std::u16string utf16;
    } both[] = {
        {"", u""}, {"Grüße 東京", u"Grüße 東京"}, {"\xF0\x9F\x8E\xB5", u"\U0001F3B5"},  // a pair
    };
    for (const auto& c : both) {
        EXPECT_EQ(utf8::ToUtf16(c.utf8), c.utf16) << c.utf8;
        EXPECT_EQ(utf8::FromUtf16(std::u16string_view(c.utf16)), c.utf8) << c.utf8;
    }
    // Each invalid byte one U+FFFD; each surrogate without its other half one U+FFFD.
    EXPECT_EQ(utf8::ToUtf16("a\xE6\x9D\xED\xA0\x80"), u"a\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD");
    const char16_t broken[] = {0xDC00, 'x', 0xD800, 'y', 0xD800};
    EXPECT_EQ(utf8::FromUtf16(std::u16string_view(broken, 5)), "\uFFFDx\uFFFDy\uFFFD");
}

}  // namespace
