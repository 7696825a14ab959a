// The Windows name the program shows and decides on (transparency only on "Windows XP"), made
// from the version numbers the system reports. Pure, so every platform can test it.
#pragma once

#include <string>

// The platform identifiers of the Windows version query.
inline constexpr int OsPlatformWin9x = 1;
inline constexpr int OsPlatformNt = 2;

struct OsVersion {
    bool known = false;  // false when the version query failed
    int platform = 0;
    int major = 0;
    int minor = 0;
};

// "Windows 95", "Windows 98", "Windows ME", "Windows NT3.51", "Windows NT4", "Windows 2000",
// "Windows XP" or "Windows unbekannt".
std::string OsNameFromVersion(const OsVersion& version);
