// What the core asks of a POSIX system about this build and its installation: the About
// window's credits, whether the program was installed for every user, and the environment
// variables that place the user's settings.
#include <cstdlib>

#include "platform/file.h"
#include "platform/system.h"

namespace sys {

std::string ConfigVariable(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

bool IsInstalledProgram(const std::string& programDir) {
    std::string folder = programDir;
    if (!folder.empty() && folder.back() != '/') folder += '/';
    return platform::FileExists(folder + "../share/applications/mp3klingtal.desktop");
}

BuildCredits ProgramCredits() {
    return {"C++-Toolkit FLTK, libmpg123, SDL2", "Für Details siehe: www.fltk.org",
            "https://www.fltk.org/"};
}

}  // namespace sys
