// Finding the music folder from the text of user-dirs.dirs, and the fallbacks.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "platform/posix/system/music_folder.h"

using sys::ChooseMusicFolder;
using sys::MusicDirFromUserDirs;

TEST(UserDirs, ReadsTheMusicEntryAsTheDesktopWritesIt) {
    const std::string file =
        "# This file is written by xdg-user-dirs-update\n"
        "XDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
        "XDG_MUSIC_DIR=\"$HOME/Musik\"\n"
        "XDG_VIDEOS_DIR=\"$HOME/Videos\"\n";
    EXPECT_EQ(MusicDirFromUserDirs(file, "/home/anna"), "/home/anna/Musik");
}

TEST(UserDirs, QuotingEscapesAndOddCharacters) {
    EXPECT_EQ(MusicDirFromUserDirs("XDG_MUSIC_DIR=\"$HOME/Meine Musik\"", "/h"), "/h/Meine Musik");
    EXPECT_EQ(MusicDirFromUserDirs("XDG_MUSIC_DIR=\"$HOME/a\\\"b\\$c\\\\d\"", "/h"),
              "/h/a\"b$c\\d");
    EXPECT_EQ(MusicDirFromUserDirs("XDG_MUSIC_DIR=\"/srv/Musik & Hörbücher\"", "/h"),
              "/srv/Musik & Hörbücher");
    EXPECT_EQ(MusicDirFromUserDirs("XDG_MUSIC_DIR=\"${HOME}/M\"", "/h"), "/h/M");
    // Unquoted, a trailing comment, Windows line ends, export and indentation.
    EXPECT_EQ(MusicDirFromUserDirs("XDG_MUSIC_DIR=$HOME/M # mine\r\n", "/h"), "/h/M");
    EXPECT_EQ(MusicDirFromUserDirs("  export XDG_MUSIC_DIR=\"$HOME/M\"\r\n", "/h"), "/h/M");
    // A home folder containing characters that mean something to a shell is taken literally.
    EXPECT_EQ(MusicDirFromUserDirs("XDG_MUSIC_DIR=\"$HOME/M\"", "/home/$x y"), "/home/$x y/M");
}

TEST(UserDirs, RejectsWhatNamesNoUsableFolder) {
    EXPECT_EQ(MusicDirFromUserDirs("", "/h"), "");
    EXPECT_EQ(MusicDirFromUserDirs("XDG_DESKTOP_DIR=\"$HOME/Desktop\"", "/h"), "");
    EXPECT_EQ(MusicDirFromUserDirs("# XDG_MUSIC_DIR=\"$HOME/M\"", "/h"), "");
    EXPECT_EQ(MusicDirFromUserDirs("XDG_MUSIC_DIR=\"Musik\"", "/h"), "");  // relative
    EXPECT_EQ(MusicDirFromUserDirs("XDG_MUSIC_DIR=\"$HOMEX/M\"", "/h"), "");
    EXPECT_EQ(MusicDirFromUserDirs("MY_XDG_MUSIC_DIR=\"/m\"", "/h"), "");
    EXPECT_EQ(MusicDirFromUserDirs("XDG_MUSIC_DIR=\"$HOME/M", "/h"), "/h/M");  // unclosed quote
    EXPECT_EQ(MusicDirFromUserDirs(std::string("XDG_MUSIC_DIR=\"/\0m\"", 20), "/h"),
              std::string("/\0m", 3));
}

TEST(UserDirs, TheLastAssignmentWins) {
    EXPECT_EQ(MusicDirFromUserDirs("XDG_MUSIC_DIR=\"/a\"\nXDG_MUSIC_DIR=\"/b\"\n", "/h"), "/b");
    // "$HOME/" alone is how a user says "no separate music folder".
    EXPECT_EQ(MusicDirFromUserDirs("XDG_MUSIC_DIR=\"$HOME/\"", "/h"), "/h/");
}

TEST(MusicFolder, FallsBackThroughTheCandidatesAndEndsInASlash) {
    const std::string file = "XDG_MUSIC_DIR=\"$HOME/Musik\"\n";
    std::set<std::string> existing = {"/h/Musik", "/h/Music", "/h"};
    const auto exists = [&existing](const std::string& p) { return existing.count(p) > 0; };
    EXPECT_EQ(ChooseMusicFolder(file, "/h", exists), "/h/Musik/");
    existing.erase("/h/Musik");  // named but missing: not a folder to scan
    EXPECT_EQ(ChooseMusicFolder(file, "/h", exists), "/h/Music/");
    existing.erase("/h/Music");
    EXPECT_EQ(ChooseMusicFolder(file, "/h", exists), "/h/");
    existing.clear();
    EXPECT_EQ(ChooseMusicFolder(file, "/h", exists), "/");
    // No home at all: only an absolute music folder or the root are left.
    existing = {"/Music"};
    EXPECT_EQ(ChooseMusicFolder("", "", exists), "/Music/");
    existing = {"/h/"};
    EXPECT_EQ(ChooseMusicFolder("XDG_MUSIC_DIR=\"$HOME/\"", "/h", exists), "/h/");
}
