// Where the settings file is looked for and written.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/settings.h"
#include "app/settings_location.h"
#include "platform/file.h"
#include "support/test_files.h"

using testing_support::TempFolder;
using testing_support::WriteFile;

TEST(SettingsLocation, RuleChoosesWhereToReadAndWrite) {
    const std::string beside = "B", user = "U";
    struct Case {
        SettingsPlaceFacts facts;  // beside exists, replaceable, folder writable, user exists
        std::string read, write;
    } cases[] = {
        // Portable use: a writable program folder, with or without the file.
        {{false, false, true, false}, "B", "B"},
        {{true, true, true, true}, "B", "B"},
        // The file is there and can be replaced although no new file may be made there.
        {{true, true, false, true}, "B", "B"},
        // A read-only program folder: the user's file, the prepared one read until it exists.
        {{true, false, false, false}, "B", "U"},
        {{true, false, false, true}, "U", "U"},
        {{false, false, false, false}, "U", "U"},
        // A file that cannot be replaced in a writable folder stays where the user put it.
        {{true, false, true, true}, "B", "B"},
        // Installed for everyone: the user's file only, even where the program may write.
        {{true, true, true, false, true}, "U", "U"},
    };
    for (const Case& c : cases) {
        const SettingsFiles files = ChooseSettingsFiles(beside, user, c.facts);
        EXPECT_EQ(files.read, c.read) << c.facts.besideExists << c.facts.besideReplaceable
                                      << c.facts.programFolderWritable << c.facts.userFileExists;
        EXPECT_EQ(files.write, c.write) << c.facts.besideExists << c.facts.besideReplaceable
                                        << c.facts.programFolderWritable << c.facts.userFileExists;
    }
    // Without a user folder the program's folder is the only candidate left.
    EXPECT_EQ(ChooseSettingsFiles(beside, "", {}).write, beside);
}

TEST(SettingsLocation, WritableProgramFolderHoldsTheFile) {
    TempFolder program;
    const SettingsEnvironment env{program.Path(), "/elsewhere", "/home/nobody", "C:\\Users\\x"};
    EXPECT_EQ(FindSettingsFiles(env).write, program.Path() + "MP3Klingtal.Ini");
    // The separator is added when the folder comes without one.
    SettingsEnvironment bare = env;
    bare.programDir.pop_back();
    EXPECT_EQ(FindSettingsFiles(bare).read, program.Path() + "MP3Klingtal.Ini");
}

#ifdef _WIN32

TEST(SettingsLocation, RoamingApplicationDataOnWindows) {
    EXPECT_EQ(UserSettingsPath({"C:\\P\\", "", "", "C:\\Users\\x\\AppData\\Roaming\\"}),
              "C:\\Users\\x\\AppData\\Roaming\\MP3Klingtal\\MP3Klingtal.Ini");
    EXPECT_EQ(UserSettingsPath({"C:\\P\\", "", "", ""}), "");
}

#else

TEST(SettingsLocation, ConfigurationFolderWhenTheProgramFolderIsNoPlace) {
    TempFolder home;
    const std::string program = home.File("no-such-folder/");
    EXPECT_EQ(FindSettingsFiles({program, home.File("cfg"), "/home/x", ""}).write,
              home.File("cfg/mp3klingtal/MP3Klingtal.Ini"));
    // Unset or relative XDG_CONFIG_HOME falls back to ~/.config.
    EXPECT_EQ(UserSettingsPath({program, "", "/home/x", ""}),
              "/home/x/.config/mp3klingtal/MP3Klingtal.Ini");
    EXPECT_EQ(UserSettingsPath({program, "relative/cfg", "/home/x/", ""}),
              "/home/x/.config/mp3klingtal/MP3Klingtal.Ini");
    // With no home either, the program folder is the only candidate left.
    EXPECT_EQ(FindSettingsFiles({program, "", "", ""}).write, program + "MP3Klingtal.Ini");
}

// Installed under a prefix (its desktop entry in share/applications), the program keeps its
// settings in the user's folder, also where it could write its own folder (root).
TEST(SettingsLocation, InstalledProgramUsesTheConfigurationFolder) {
    TempFolder prefix;
    ASSERT_TRUE(platform::CreateFolders(prefix.File("bin/")));
    const SettingsEnvironment env{prefix.File("bin/"), prefix.File("cfg"), "/home/x", ""};
    EXPECT_EQ(FindSettingsFiles(env).write, prefix.File("bin/MP3Klingtal.Ini"));
    ASSERT_TRUE(platform::CreateFolders(prefix.File("share/applications/")));
    ASSERT_TRUE(WriteFile(prefix.File("share/applications/mp3klingtal.desktop"), ""));
    EXPECT_EQ(FindSettingsFiles(env).write, prefix.File("cfg/mp3klingtal/MP3Klingtal.Ini"));
}

TEST(SettingsLocation, ConfigurationFolderIsCreatedOnFirstWrite) {
    TempFolder home;
    const std::string path =
        FindSettingsFiles({home.File("no-such-folder/"), home.File("cfg"), "", ""}).write;
    EXPECT_FALSE(platform::FolderExists(home.File("cfg")));
    ASSERT_TRUE(PrepareSettingsFolder(path));
    ASSERT_TRUE(SaveSettings(path, SongListState{}, ui::Options{}));
    EXPECT_TRUE(platform::FileExists(path));
    // A file in the way of the folder makes preparing fail rather than pretend.
    ASSERT_TRUE(WriteFile(home.File("plain"), "x"));
    EXPECT_FALSE(PrepareSettingsFolder(home.File("plain/sub/MP3Klingtal.Ini")));
}

#endif

TEST(SettingsLocation, ReplaceableFilesAndWritableFolders) {
    TempFolder folder;
    EXPECT_TRUE(platform::FolderIsWritable(folder.Path()));
    EXPECT_FALSE(platform::FolderIsWritable(folder.File("missing")));
    EXPECT_FALSE(platform::FileCanBeReplaced(folder.File("missing.ini")));
    ASSERT_TRUE(WriteFile(folder.File("a.ini"), "x"));
    EXPECT_TRUE(platform::FileCanBeReplaced(folder.File("a.ini")));
    EXPECT_FALSE(platform::FileCanBeReplaced(folder.Path()));  // a folder is no settings file
    // Finding out leaves nothing behind.
    int entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(folder.Path()))
        ++entries;
    EXPECT_EQ(entries, 1);
}
