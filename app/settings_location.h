// Where the settings file lives: next to the program when it is already there or the program's
// folder is writable, otherwise in the user's configuration folder. Main thread only.
#pragma once

#include <string>

// The environment the choice depends on; empty texts stand for unset variables.
struct SettingsEnvironment {
    std::string programDir;     // ending in the path separator
    std::string xdgConfigHome;  // $XDG_CONFIG_HOME
    std::string home;           // $HOME
};

// The environment of this process.
SettingsEnvironment CurrentSettingsEnvironment(const std::string& programDir);

// Full path of the settings file. On Windows always the program's folder.
std::string SettingsFilePath(const SettingsEnvironment& environment);

// Creates the folder the settings file goes into when it is missing (the configuration folder
// on first write). False when it does not exist afterwards.
bool PrepareSettingsFolder(const std::string& settingsPath);
