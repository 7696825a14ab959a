// Choosing the settings file's folder.
#include "app/settings_location.h"

#include <cstdlib>

#include "app/settings.h"
#include "platform/file.h"
#include "platform/system.h"

namespace {

std::string EnvironmentValue(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::string WithSeparator(std::string folder) {
    if (!folder.empty() && folder.back() != sys::PathSeparator) folder += sys::PathSeparator;
    return folder;
}

}  // namespace

SettingsEnvironment CurrentSettingsEnvironment(const std::string& programDir) {
    return {programDir, EnvironmentValue("XDG_CONFIG_HOME"), EnvironmentValue("HOME")};
}

std::string SettingsFilePath(const SettingsEnvironment& environment) {
    const std::string besideProgram = WithSeparator(environment.programDir) + SettingsFileName;
#ifdef _WIN32
    return besideProgram;
#else
    if (platform::FileExists(besideProgram) || platform::FolderIsWritable(environment.programDir))
        return besideProgram;
    // The base directory rules allow only absolute paths; anything else counts as unset.
    std::string configHome = environment.xdgConfigHome;
    if (configHome.empty() || configHome.front() != '/') {
        if (environment.home.empty()) return besideProgram;  // nowhere better; may stay unwritten
        configHome = WithSeparator(environment.home) + ".config";
    }
    return WithSeparator(configHome) + "mp3klingtal/" + SettingsFileName;
#endif
}

bool PrepareSettingsFolder(const std::string& settingsPath) {
    const std::size_t slash = settingsPath.find_last_of(sys::PathSeparator);
    if (slash == std::string::npos) return true;  // the current folder
    const std::string folder = settingsPath.substr(0, slash + 1);
    return platform::FolderExists(folder) || platform::CreateFolders(folder);
}
