// The string-command pass-through against the system's MCI. This file must not see windows.h:
// its MCIERR_* macros would replace the names platform/mci.h declares.
#include "platform/mci.h"

#include <gtest/gtest.h>

#include <cstring>

namespace systemvalues {  // mci_numbers.cpp
std::uint32_t FileNotFound();
std::uint32_t InvalidDeviceName();
std::uint32_t UnrecognizedCommand();
std::uint32_t OutOfRange();
std::uint32_t NoClosingQuote();
}  // namespace systemvalues

namespace {

TEST(Win32Mci, ErrorNumbersAreTheSystemsOwn) {
    EXPECT_EQ(mci::MCIERR_FILE_NOT_FOUND, systemvalues::FileNotFound());
    EXPECT_EQ(mci::MCIERR_INVALID_DEVICE_NAME, systemvalues::InvalidDeviceName());
    EXPECT_EQ(mci::MCIERR_UNRECOGNIZED_COMMAND, systemvalues::UnrecognizedCommand());
    EXPECT_EQ(mci::MCIERR_OUTOFRANGE, systemvalues::OutOfRange());
    EXPECT_EQ(mci::MCIERR_NO_CLOSING_QUOTE, systemvalues::NoClosingQuote());
}

TEST(Win32Mci, CommandsPassThroughWithReplies) {
    char reply[256] = "stale";
    // A command on an alias that is not open fails and leaves an empty reply, which the
    // program reads as position 0.
    EXPECT_NE(mci::mciSendString("status MP3Stueck position", reply, sizeof(reply)), 0u);
    EXPECT_STREQ(reply, "");
    EXPECT_NE(mci::mciSendString("open \"C:\\nicht da\\x.mp3\" alias MP3Stueck", reply, 256), 0u);
    EXPECT_NE(mci::mciSendString("close MP3Stueck", nullptr, 0), 0u);

    // A reply that does not fit is refused, and the buffer still holds a terminated text.
    ASSERT_EQ(mci::mciSendString("sysinfo all quantity", reply, sizeof(reply)), 0u);
    EXPECT_GT(std::strlen(reply), 0u);
    char tiny[2] = {'x', 'x'};
    EXPECT_EQ(mci::mciSendString("sysinfo all name 1", tiny, sizeof(tiny)),
              mci::MCIERR_PARAM_OVERFLOW);
    EXPECT_LT(strnlen(tiny, sizeof(tiny)), sizeof(tiny));
}

}  // namespace
