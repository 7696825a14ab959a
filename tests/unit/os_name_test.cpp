// The Windows name from the version numbers: the exact texts, and the near misses that must not
// be taken for a known system (transparency depends on the "Windows XP" text).
#include "platform/common/os_name.h"

#include <gtest/gtest.h>

namespace {

std::string Name(bool known, int platform, int major, int minor) {
    return OsNameFromVersion(OsVersion{known, platform, major, minor});
}

TEST(OsName, Windows9xIsToldByTheMinorVersion) {
    EXPECT_EQ(Name(true, OsPlatformWin9x, 4, 0), "Windows 95");
    EXPECT_EQ(Name(true, OsPlatformWin9x, 4, 10), "Windows 98");
    EXPECT_EQ(Name(true, OsPlatformWin9x, 4, 90), "Windows ME");
    EXPECT_EQ(Name(true, OsPlatformWin9x, 4, 1), "Windows unbekannt");
    EXPECT_EQ(Name(true, OsPlatformWin9x, 5, 1), "Windows unbekannt");  // not XP on 9x
}

TEST(OsName, NtIsToldByMajorAndMinor) {
    EXPECT_EQ(Name(true, OsPlatformNt, 3, 51), "Windows NT3.51");
    EXPECT_EQ(Name(true, OsPlatformNt, 3, 10), "Windows NT3.51");
    EXPECT_EQ(Name(true, OsPlatformNt, 4, 0), "Windows NT4");
    EXPECT_EQ(Name(true, OsPlatformNt, 5, 0), "Windows 2000");
    EXPECT_EQ(Name(true, OsPlatformNt, 5, 1), "Windows XP");
}

TEST(OsName, LaterAndOddSystemsAreUnknown) {
    EXPECT_EQ(Name(true, OsPlatformNt, 5, 2), "Windows unbekannt");   // Server 2003, XP x64
    EXPECT_EQ(Name(true, OsPlatformNt, 6, 1), "Windows unbekannt");   // 7
    EXPECT_EQ(Name(true, OsPlatformNt, 10, 0), "Windows unbekannt");  // 10 and 11
    EXPECT_EQ(Name(true, 0, 3, 10), "Windows unbekannt");             // Win32s
    EXPECT_EQ(Name(true, 3, 5, 1), "Windows unbekannt");              // CE
}

TEST(OsName, FailedQueryIsUnknownWhateverTheNumbersSay) {
    EXPECT_EQ(Name(false, OsPlatformNt, 5, 1), "Windows unbekannt");
    EXPECT_EQ(Name(false, OsPlatformWin9x, 4, 10), "Windows unbekannt");
}

}  // namespace
