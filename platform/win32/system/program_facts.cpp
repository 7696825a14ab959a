// What the core asks of Windows about this build and its installation: the About window's
// credits; the program is never installed for every user (its zips are portable) and the
// user's settings are placed by the application data folder, not by environment variables.
#include "platform/system.h"

namespace sys {

std::string ConfigVariable(const char*) {
    return "";
}

bool IsInstalledProgram(const std::string&) {
    return false;
}

BuildCredits ProgramCredits() {
    return {"C++-Compiler MinGW-w64", "Für Details siehe: mingw-w64.org",
            "https://www.mingw-w64.org/"};
}

}  // namespace sys
