// Where the settings file lives: next to the program when it can be written there (portable
// use), otherwise in the user's own settings folder, where a file prepared next to a read-only
// program is still read until the user's own exists. Main thread only.
#pragma once

#include <string>

// The environment the choice depends on; empty texts stand for unset variables. Only Windows
// has an application data folder, only other systems the XDG variables.
struct SettingsEnvironment {
    std::string programDir;     // ending in the path separator
    std::string xdgConfigHome;  // $XDG_CONFIG_HOME (not Windows)
    std::string home;           // $HOME (not Windows)
    std::string appData;        // Windows: the roaming application data folder (%APPDATA%)
};

// The environment of this process.
SettingsEnvironment CurrentSettingsEnvironment(const std::string& programDir);

// The file read at start-up and the one written at shutdown (full paths).
struct SettingsFiles {
    std::string read;
    std::string write;
};

// What the choice needs to know about the two places.
struct SettingsPlaceFacts {
    bool besideExists = false;       // the file next to the program is there
    bool besideReplaceable = false;  // ... and can be replaced by a new one
    bool programFolderWritable = false;
    bool userFileExists = false;  // the file in the user's settings folder is there
    bool installed = false;       // the program was installed for every user of the system
};

// The rule: an installed program always uses the user's file. Otherwise beside the program when
// the file there can be replaced or the folder is writable; else the user's file, which is read
// only once it exists (till then the one beside the program, so that a prepared file keeps
// working). Without a user folder ("") it is beside.
SettingsFiles ChooseSettingsFiles(const std::string& besideProgram, const std::string& userFile,
                                  const SettingsPlaceFacts& facts);

// The file next to the program and the one in the user's settings folder ("" when there is
// none): $XDG_CONFIG_HOME/mp3klingtal/ (default ~/.config/...), on Windows
// %APPDATA%\MP3Klingtal\.
std::string BesideProgramSettingsPath(const SettingsEnvironment& environment);
std::string UserSettingsPath(const SettingsEnvironment& environment);

// The rule applied to the places as they are now.
SettingsFiles FindSettingsFiles(const SettingsEnvironment& environment);

// Creates the folder the settings file goes into when it is missing (the user's folder on
// first write). False when it does not exist afterwards.
bool PrepareSettingsFolder(const std::string& settingsPath);
