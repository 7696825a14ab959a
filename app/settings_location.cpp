// Choosing the settings file's folder.
#include "app/settings_location.h"

#include <cstdlib>

#include "app/settings.h"
#include "platform/file.h"
#include "platform/system.h"

namespace {

#ifndef _WIN32
std::string EnvironmentValue(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}
#endif

std::string WithSeparator(std::string folder) {
    if (!folder.empty() && folder.back() != sys::PathSeparator) folder += sys::PathSeparator;
    return folder;
}

}  // namespace

SettingsEnvironment CurrentSettingsEnvironment(const std::string& programDir) {
#ifdef _WIN32
    return {programDir, "", "", sys::UserAppDataFolder()};
#else
    return {programDir, EnvironmentValue("XDG_CONFIG_HOME"), EnvironmentValue("HOME"), ""};
#endif
}

SettingsFiles ChooseSettingsFiles(const std::string& besideProgram, const std::string& userFile,
                                  const SettingsPlaceFacts& facts) {
    if (facts.installed && !userFile.empty()) return {userFile, userFile};
    const bool beside =
        (facts.besideExists && facts.besideReplaceable) || facts.programFolderWritable;
    if (beside || userFile.empty()) return {besideProgram, besideProgram};
    const bool readBeside = !facts.userFileExists && facts.besideExists;
    return {readBeside ? besideProgram : userFile, userFile};
}

std::string BesideProgramSettingsPath(const SettingsEnvironment& environment) {
    return WithSeparator(environment.programDir) + SettingsFileName;
}

std::string UserSettingsPath(const SettingsEnvironment& environment) {
#ifdef _WIN32
    if (environment.appData.empty()) return "";
    return WithSeparator(environment.appData) + "MP3Klingtal\\" + SettingsFileName;
#else
    // The base directory rules allow only absolute paths; anything else counts as unset.
    std::string configHome = environment.xdgConfigHome;
    if (configHome.empty() || configHome.front() != '/') {
        if (environment.home.empty()) return "";
        configHome = WithSeparator(environment.home) + ".config";
    }
    return WithSeparator(configHome) + "mp3klingtal/" + SettingsFileName;
#endif
}

bool IsInstalledProgram(const std::string& programDir) {
#ifdef _WIN32
    (void)programDir;
    return false;
#else
    return platform::FileExists(WithSeparator(programDir) +
                                "../share/applications/mp3klingtal.desktop");
#endif
}

SettingsFiles FindSettingsFiles(const SettingsEnvironment& environment) {
    const std::string beside = BesideProgramSettingsPath(environment);
    const std::string user = UserSettingsPath(environment);
    SettingsPlaceFacts facts;
    facts.besideExists = platform::FileExists(beside);
    facts.besideReplaceable = facts.besideExists && platform::FileCanBeReplaced(beside);
    facts.programFolderWritable = platform::FolderIsWritable(environment.programDir);
    facts.userFileExists = !user.empty() && platform::FileExists(user);
    facts.installed = IsInstalledProgram(environment.programDir);
    return ChooseSettingsFiles(beside, user, facts);
}

bool PrepareSettingsFolder(const std::string& settingsPath) {
    const std::size_t slash = settingsPath.find_last_of(sys::PathSeparator);
    if (slash == std::string::npos) return true;  // the current folder
    const std::string folder = settingsPath.substr(0, slash + 1);
    return platform::FolderExists(folder) || platform::CreateFolders(folder);
}
