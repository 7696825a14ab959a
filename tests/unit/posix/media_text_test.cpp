// What the desktop bus is handed: a path as a percent-encoded file:// address.
#include <gtest/gtest.h>

#include "platform/posix/media/text.h"

namespace {

using media::posix::FileUri;

TEST(MediaText, FileAddressesEncodeEverythingButUnreservedCharacters) {
    EXPECT_EQ(FileUri("/home/a/Die Ärzte/50% & mehr #1.mp3"),
              "file:///home/a/Die%20%C3%84rzte/50%25%20%26%20mehr%20%231.mp3");
    EXPECT_EQ(FileUri("/a-b_c.d~e/f"), "file:///a-b_c.d~e/f");
}

}  // namespace
