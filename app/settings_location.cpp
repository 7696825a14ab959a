// Choosing the settings file's folder.
#include "app/settings_location.h"

#include "app/settings.h"
#include "platform/file.h"
#include "platform/system.h"

namespace {

std::string WithSeparator(std::string folder) {
    if (!folder.empty() && folder.back() != sys::PathSeparator) folder += sys::PathSeparator;
    return folder;
}

}  // namespace

SettingsEnvironment CurrentSettingsEnvironment(const std::string& programDir) {
    return {programDir, sys::ConfigVariable("XDG_CONFIG_HOME"), sys::ConfigVariable("HOME"),
            sys::UserAppDataFolder()};
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
    // Only Windows names an application data folder; elsewhere the XDG variables decide.
    if (!environment.appData.empty())
        return WithSeparator(environment.appData) + "MP3Klingtal\\" + SettingsFileName;
    // The base directory rules allow only absolute paths; anything else counts as unset.
    std::string configHome = environment.xdgConfigHome;
    if (configHome.empty() || configHome.front() != '/') {
        if (environment.home.empty()) return "";
        configHome = WithSeparator(environment.home) + ".config";
    }
    return WithSeparator(configHome) + "mp3klingtal/" + SettingsFileName;
}

SettingsFiles FindSettingsFiles(const SettingsEnvironment& environment) {
    const std::string beside = BesideProgramSettingsPath(environment);
    const std::string user = UserSettingsPath(environment);
    SettingsPlaceFacts facts;
    facts.besideExists = platform::FileExists(beside);
    facts.besideReplaceable = facts.besideExists && platform::FileCanBeReplaced(beside);
    facts.programFolderWritable = platform::FolderIsWritable(environment.programDir);
    facts.userFileExists = !user.empty() && platform::FileExists(user);
    facts.installed = sys::IsInstalledProgram(environment.programDir);
    return ChooseSettingsFiles(beside, user, facts);
}

bool PrepareSettingsFolder(const std::string& settingsPath) {
    const std::size_t slash = settingsPath.find_last_of(sys::PathSeparator);
    if (slash == std::string::npos) return true;  // the current folder
    const std::string folder = settingsPath.substr(0, slash + 1);
    return platform::FolderExists(folder) || platform::CreateFolders(folder);
}
