// The directory listing order: digits by value, case ignored, a total order over any bytes.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "platform/posix/system/natural_order.h"

using sys::NaturalLess;

namespace {

std::vector<std::string> Sorted(std::vector<std::string> names) {
    std::sort(names.begin(), names.end(), NaturalLess);
    return names;
}

}  // namespace

TEST(NaturalOrder, DigitRunsCompareByValue) {
    EXPECT_EQ(Sorted({"10 x.mp3", "2 x.mp3", "1 x.mp3"}),
              (std::vector<std::string>{"1 x.mp3", "2 x.mp3", "10 x.mp3"}));
    EXPECT_EQ(Sorted({"track 100", "track 20", "track 3"}),
              (std::vector<std::string>{"track 3", "track 20", "track 100"}));
    // Several runs in one name, each by value.
    EXPECT_TRUE(NaturalLess("cd2 track10", "cd10 track2"));
    EXPECT_TRUE(NaturalLess("cd2 track2", "cd2 track10"));
    // Runs longer than any integer type still compare by value.
    EXPECT_TRUE(NaturalLess("99999999999999999999999", "100000000000000000000000"));
    EXPECT_FALSE(NaturalLess("100000000000000000000000", "99999999999999999999999"));
}

TEST(NaturalOrder, LeadingZerosTieThenBytes) {
    // Equal values: the bytewise order decides, so neither name is lost or duplicated.
    EXPECT_TRUE(NaturalLess("007.mp3", "7.mp3"));
    EXPECT_FALSE(NaturalLess("7.mp3", "007.mp3"));
    EXPECT_TRUE(NaturalLess("0", "00") != NaturalLess("00", "0"));
    EXPECT_TRUE(NaturalLess("7.mp3", "08.mp3"));
}

TEST(NaturalOrder, CaseIgnoredThenBytewise) {
    EXPECT_TRUE(NaturalLess("apple", "Banana"));
    EXPECT_TRUE(NaturalLess("Apple", "banana"));
    EXPECT_TRUE(NaturalLess("A.mp3", "a.mp3"));  // tie broken bytewise: 'A' < 'a'
    EXPECT_FALSE(NaturalLess("a.mp3", "A.mp3"));
    // Latin-1 capitals in UTF-8 fold as well: "Ärger" and "ärger" sit together before "b".
    EXPECT_EQ(Sorted({"b", "\xC3\xA4rger", "\xC3\x84rger"}),
              (std::vector<std::string>{"\xC3\x84rger", "\xC3\xA4rger", "b"}));
    // Accented letters are filed under their base letter first, as a German reader expects.
    EXPECT_TRUE(
        NaturalLess("\xC3\xA4"
                    "b",
                    "ac"));                                   // "äb" before "ac"
    EXPECT_TRUE(NaturalLess("a", "\xC3\xA4"));                // but after plain "a"
    EXPECT_TRUE(NaturalLess("\xC3\x96l 2", "\xC3\xB6l 10"));  // "Öl 2" before "öl 10"
    // The multiplication sign is no capital letter and is not folded onto the division sign.
    EXPECT_TRUE(NaturalLess("\xC3\x97", "\xC3\xB7"));
}

TEST(NaturalOrder, PrefixesAndEmptyNames) {
    EXPECT_TRUE(NaturalLess("", "a"));
    EXPECT_FALSE(NaturalLess("", ""));
    EXPECT_TRUE(NaturalLess("song", "song 2"));
    EXPECT_TRUE(NaturalLess("song2", "song2a"));
    EXPECT_FALSE(NaturalLess("song2a", "song2"));
}

TEST(NaturalOrder, ASharedStartEndingInsideANumberOrALetterStillCountsWhole) {
    struct Case {
        const char *first, *second;
    };
    for (const Case& c : {Case{"x19", "x100"},              // "x1" shared, 19 < 100
                          Case{"Track 011", "Track 0100"},  // "Track 01" shared, 11 < 100
                          Case{"x\xC3\xA0", "x\xC3\x9F"},   // "x" + lead byte: à (a) before ß (s)
                          Case{"a\xC3\x84", "a\xC3\xA4"}}) {  // Ä and ä tie: bytes decide
        EXPECT_TRUE(NaturalLess(c.first, c.second)) << c.first << " | " << c.second;
        EXPECT_FALSE(NaturalLess(c.second, c.first)) << c.first << " | " << c.second;
    }
}

TEST(NaturalOrder, NumbersSitWhereDigitsWould) {
    // '-' and ' ' come before digits, letters after them, whatever the number's value.
    EXPECT_TRUE(NaturalLess("-b", "5"));
    EXPECT_TRUE(NaturalLess(" x", "0"));
    EXPECT_TRUE(NaturalLess("99", "a"));
    EXPECT_TRUE(NaturalLess("x 9", "x_1"));
}

// std::sort needs a strict weak ordering or it may read out of bounds; check the axioms over
// names made from the characters that stress the tokenizer, broken UTF-8 included.
TEST(NaturalOrder, IsAStrictTotalOrderOverAnyBytes) {
    const std::string alphabet[] = {"a",        "A",        "0",    "1",    "9",
                                    "00",       " ",        "-",    "\xC3", "\xC3\x84",
                                    "\xC3\xA4", "\xE2\x82", "\xFF", "\x80", "."};
    std::mt19937 random(12345);
    std::vector<std::string> names;
    for (int n = 0; n < 100; ++n) {
        std::string name;
        const int parts = static_cast<int>(random() % 5);
        for (int p = 0; p < parts; ++p) name += alphabet[random() % std::size(alphabet)];
        names.push_back(name);
    }
    for (const auto& a : names) {
        EXPECT_FALSE(NaturalLess(a, a));
        for (const auto& b : names) {
            const bool ab = NaturalLess(a, b);
            const bool ba = NaturalLess(b, a);
            EXPECT_FALSE(ab && ba) << a << " | " << b;
            EXPECT_EQ(ab || ba, a != b) << a << " | " << b;
            if (!ab) continue;
            for (const auto& c : names) {
                if (NaturalLess(b, c)) {
                    EXPECT_TRUE(NaturalLess(a, c)) << a << " | " << b << " | " << c;
                }
            }
        }
    }
}

TEST(NaturalOrder, TypedStartsFoldAsTheOrderFoldsLetters) {
    struct Case {
        const char* name;
        const char* prefix;
        bool starts;
    };
    for (const Case& c :
         {Case{"Klang.mp3", "kl", true}, Case{"Ärger.mp3", "ar", true},
          Case{"ärger.mp3", "Ä", true}, Case{"Öl", "o", true}, Case{"Kl", "klang", false},
          Case{"Lied", "li ", false}, Case{"東京の夜.mp3", "東京", true}, Case{"x", "", true}}) {
        EXPECT_EQ(sys::StartsWithFolded(c.name, c.prefix), c.starts) << c.name << " " << c.prefix;
    }
}
