// What the desktop bus is handed: any file name or tag as valid UTF-8, and a path as a
// percent-encoded file:// address.
#include <gtest/gtest.h>

#include "platform/posix/media/text.h"

namespace {

using media::posix::FileUri;
using media::posix::ValidUtf8;

TEST(MediaText, EveryByteThatIsNotValidUtf8BecomesAReplacementCharacter) {
    const struct {
        const char* in;
        const char* out;
    } cases[] = {
        {"M\xC3\xA4"
         "dchen",
         "M\xC3\xA4"
         "dchen"},  // valid stays
        {"M\xE4"
         "dchen",
         "M\xEF\xBF\xBD"
         "dchen"},                                                 // Latin-1 byte in a file name
        {"\xC0\xAF", "\xEF\xBF\xBD\xEF\xBF\xBD"},                  // overlong '/'
        {"\xED\xA0\x80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},  // surrogate
        {"\xE6\x9D\xB1\xE4", "\xE6\x9D\xB1\xEF\xBF\xBD"},          // cut off at the end
        {"\xF0\x9F\x8E\xB5", "\xF0\x9F\x8E\xB5"},                  // four bytes
    };
    for (const auto& c : cases) EXPECT_EQ(ValidUtf8(c.in), c.out) << c.in;
}

TEST(MediaText, FileAddressesEncodeEverythingButUnreservedCharacters) {
    EXPECT_EQ(FileUri("/home/a/Die Ärzte/50% & mehr #1.mp3"),
              "file:///home/a/Die%20%C3%84rzte/50%25%20%26%20mehr%20%231.mp3");
    EXPECT_EQ(FileUri("/a-b_c.d~e/f"), "file:///a-b_c.d~e/f");
}

}  // namespace
