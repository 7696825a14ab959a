// Where the settings file is looked for and written.
#include <gtest/gtest.h>

#include "app/settings.h"
#include "app/settings_location.h"
#include "platform/file.h"
#include "support/test_files.h"

using testing_support::TempFolder;
using testing_support::WriteFile;

#ifndef _WIN32

TEST(SettingsLocation, WritableProgramFolderHoldsTheFile) {
    TempFolder program;
    const SettingsEnvironment env{program.Path(), "/elsewhere", "/home/nobody"};
    EXPECT_EQ(SettingsFilePath(env), program.Path() + "MP3Klingtal.Ini");
    // The separator is added when the folder comes without one.
    SettingsEnvironment bare = env;
    bare.programDir.pop_back();
    EXPECT_EQ(SettingsFilePath(bare), program.Path() + "MP3Klingtal.Ini");
}

TEST(SettingsLocation, ConfigurationFolderWhenTheProgramFolderIsNoPlace) {
    TempFolder home;
    const std::string program = home.File("no-such-folder/");
    EXPECT_EQ(SettingsFilePath({program, home.File("cfg"), "/home/x"}),
              home.File("cfg/mp3klingtal/MP3Klingtal.Ini"));
    // Unset or relative XDG_CONFIG_HOME falls back to ~/.config.
    EXPECT_EQ(SettingsFilePath({program, "", "/home/x"}),
              "/home/x/.config/mp3klingtal/MP3Klingtal.Ini");
    EXPECT_EQ(SettingsFilePath({program, "relative/cfg", "/home/x/"}),
              "/home/x/.config/mp3klingtal/MP3Klingtal.Ini");
    // With no home either, the program folder is the only candidate left.
    EXPECT_EQ(SettingsFilePath({program, "", ""}), program + "MP3Klingtal.Ini");
}

TEST(SettingsLocation, ConfigurationFolderIsCreatedOnFirstWrite) {
    TempFolder home;
    const std::string path = SettingsFilePath({home.File("no-such-folder/"), home.File("cfg"), ""});
    EXPECT_FALSE(platform::FolderExists(home.File("cfg")));
    ASSERT_TRUE(PrepareSettingsFolder(path));
    ASSERT_TRUE(SaveSettings(path, Settings{}));
    EXPECT_TRUE(platform::FileExists(path));
    // A file in the way of the folder makes preparing fail rather than pretend.
    ASSERT_TRUE(WriteFile(home.File("plain"), "x"));
    EXPECT_FALSE(PrepareSettingsFolder(home.File("plain/sub/MP3Klingtal.Ini")));
}

#endif
