// The string-command pass-through against the system's MCI. This file must not see windows.h:
// its MCIERR_* macros would replace the names platform/mci.h declares.
#include "platform/mci.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

namespace systemvalues {  // mci_system_side.cpp
std::uint32_t FileNotFound();
std::uint32_t InvalidDeviceName();
std::uint32_t UnrecognizedCommand();
std::uint32_t OutOfRange();
std::uint32_t NoClosingQuote();
std::string Environment(const char* name);
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

// Milliseconds from a "status ... position" reply; -1 when the command fails.
long Position() {
    char reply[256] = "";
    if (mci::mciSendString("status MP3Stueck position", reply, sizeof(reply)) != 0) return -1;
    return std::strtol(reply, nullptr, 10);
}

// With a real MP3 (scripts/test-windows makes one with lame and names it in KLINGTAL_TEST_MP3,
// behind a folder and a file name in Cyrillic and CJK that no ANSI code page holds together):
// the song opens under its alias through the quoted path, answers status requests, plays on.
TEST(Win32Mci, RealSongOpensPlaysAndCloses) {
    std::string song = systemvalues::Environment("KLINGTAL_TEST_MP3");
    if (song.empty()) GTEST_SKIP() << "KLINGTAL_TEST_MP3 not set";
    char reply[256] = "";
    std::string open = std::string("open \"") + song + "\" alias MP3Stueck";
    ASSERT_EQ(mci::mciSendString(open.c_str(), reply, sizeof(reply)), 0u) << open;
    EXPECT_EQ(mci::mciSendString("set MP3Stueck time format ms", reply, sizeof(reply)), 0u);
    // Wine's MCI cannot seek to the end of an MP3 (it answers 277), which is how the program
    // measures a song; it asks for the length instead, which Wine knows.
    EXPECT_EQ(mci::mciSendString("status MP3Stueck length", reply, sizeof(reply)), 0u);
    EXPECT_NEAR(std::strtol(reply, nullptr, 10), 5000, 100);
    EXPECT_EQ(mci::mciSendString("play MP3Stueck from 1 notify", reply, sizeof(reply)), 0u);
    EXPECT_EQ(mci::mciSendString("status MP3Stueck mode", reply, sizeof(reply)), 0u);
    EXPECT_STREQ(reply, "playing");
    const long first = Position();
    EXPECT_GE(first, 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(800));
    EXPECT_GT(Position(), first + 300) << "the position does not advance while playing";
    EXPECT_EQ(mci::mciSendString("close MP3Stueck", reply, sizeof(reply)), 0u);
    EXPECT_EQ(Position(), -1);
}

}  // namespace
