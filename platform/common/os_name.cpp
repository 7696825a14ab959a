// Version numbers to the Windows name; every combination not listed is "Windows unbekannt".
#include "platform/common/os_name.h"

std::string OsNameFromVersion(const OsVersion& version) {
    if (version.known && version.platform == OsPlatformWin9x) {
        switch (version.minor) {
            case 0:
                return "Windows 95";
            case 10:
                return "Windows 98";
            case 90:
                return "Windows ME";
            default:
                break;
        }
    }
    if (version.known && version.platform == OsPlatformNt) {
        if (version.major == 3) return "Windows NT3.51";
        if (version.major == 4) return "Windows NT4";
        if (version.major == 5 && version.minor == 0) return "Windows 2000";
        if (version.major == 5 && version.minor == 1) return "Windows XP";
    }
    return "Windows unbekannt";
}
