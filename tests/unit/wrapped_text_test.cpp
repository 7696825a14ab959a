// Message lines broken to a width: at spaces, inside a long path after a separator, never
// inside a UTF-8 sequence, and with nothing lost however long the text.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/common/wrapped_text.h"

namespace {

// Every character (every UTF-8 sequence) one unit wide.
std::vector<std::string> Wrap(const std::string& text, int width) {
    return WrapText(text, width, [](std::string_view) { return 1; });
}

TEST(WrappedText, BreaksAtSpacesThenSeparatorsThenAnywhere) {
    const struct {
        const char* text;
        int width;
        std::vector<std::string> lines;
    } cases[] = {
        {"kurz", 10, {"kurz"}},
        {"eins zwei drei", 9, {"eins zwei", "drei"}},
        {"/musik/alben/lied.mp3", 14, {"/musik/alben/", "lied.mp3"}},
        {"C:\\Musik\\Lied.mp3", 10, {"C:\\Musik\\", "Lied.mp3"}},
        {"abcdefghij", 4, {"abcd", "efgh", "ij"}},
        {"\xC3\x84\xC3\x96\xC3\x9C\xC3\xA4\xC3\xB6",
         3,
         {"\xC3\x84\xC3\x96\xC3\x9C", "\xC3\xA4\xC3\xB6"}},
        {"Fehler!\nzweite Zeile", 20, {"Fehler!", "zweite Zeile"}},
    };
    for (const auto& c : cases) EXPECT_EQ(Wrap(c.text, c.width), c.lines) << c.text;
}

TEST(WrappedText, HugePathKeepsEveryCharacterWithinTheWidth) {
    std::string path;
    while (path.size() < 100000) path += "/ordner" + std::to_string(path.size());
    std::string joined;
    for (const std::string& line : Wrap(path, 150)) {
        EXPECT_LE(line.size(), 150u);
        joined += line;
    }
    EXPECT_EQ(joined, path);
}

}  // namespace
