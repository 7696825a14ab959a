// Directory listings by handle: order, odd names, links, loops and large folders.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/system.h"
#include "temp_folder.h"

namespace {

std::vector<sys::DirEntry> List(int handle, const std::string& path) {
    std::vector<sys::DirEntry> entries;
    if (!sys::ExamineDirectory(handle, path)) return entries;
    sys::DirEntry entry;
    while (sys::NextDirectoryEntry(handle, entry)) entries.push_back(entry);
    sys::FinishDirectory(handle);
    return entries;
}

std::vector<std::string> Names(const std::vector<sys::DirEntry>& entries) {
    std::vector<std::string> names;
    for (const auto& entry : entries) names.push_back(entry.name);
    return names;
}

}  // namespace

TEST(DirectoryListing, FileManagerOrderWithDotsFirst) {
    TempFolder folder;
    for (const char* name : {"10 x.mp3", "2 x.mp3", "b.mp3", "A.mp3", "a.mp3", "-rf.mp3"}) {
        folder.Touch(name);
    }
    EXPECT_EQ(Names(List(0, folder.Path())),
              (std::vector<std::string>{".", "..", "-rf.mp3", "2 x.mp3", "10 x.mp3", "A.mp3",
                                        "a.mp3", "b.mp3"}));
}

TEST(DirectoryListing, OddNamesComeBackByteForByte) {
    TempFolder folder;
    const std::vector<std::string> odd = {
        "with space.mp3",     "quote\"d.mp3",    "it's.mp3",    "Grüße & Küsse.mp3",
        "under_score.mp3",    "back\\slash.mp3", "--help.mp3",  "*.mp3",
        "$(touch pwned).mp3", "tab\there.mp3",   "\xFF\xFE.mp3"};
    for (const auto& name : odd) folder.Touch(name);
    const auto names = Names(List(0, folder.Path()));
    ASSERT_EQ(names.size(), odd.size() + 2);
    for (const auto& name : odd) {
        EXPECT_EQ(std::count(names.begin(), names.end(), name), 1) << name;
    }
    EXPECT_FALSE(std::filesystem::exists(folder.Path() + "pwned"));
}

TEST(DirectoryListing, LinksCountAsWhatTheyPointTo) {
    TempFolder folder;
    folder.MakeFolder("real");
    folder.Touch("song.mp3");
    std::filesystem::create_directory_symlink(folder.Path() + "real", folder.Path() + "dirlink");
    std::filesystem::create_symlink(folder.Path() + "song.mp3", folder.Path() + "filelink.mp3");
    std::filesystem::create_symlink(folder.Path() + "gone", folder.Path() + "dangling");
    std::filesystem::create_directory_symlink(folder.Path(), folder.Path() + "real/up");
    folder.MakeFolder("music.mp3");  // a folder with a song's name is still a folder
    ASSERT_EQ(mkfifo((folder.Path() + "pipe.mp3").c_str(), 0600), 0);
    std::filesystem::create_symlink(folder.Path() + "pipe.mp3", folder.Path() + "pipelink.mp3");
    std::map<std::string, bool> isDirectory, isFile;
    for (const auto& entry : List(0, folder.Path())) {
        isDirectory[entry.name] = entry.isDirectory;
        isFile[entry.name] = entry.isFile;
    }
    // Only regular files, directly or through a link, are files.
    for (const char* name : {"song.mp3", "filelink.mp3"}) EXPECT_TRUE(isFile.at(name)) << name;
    for (const char* name : {"real", "dirlink", "dangling", "pipe.mp3", "pipelink.mp3"})
        EXPECT_FALSE(isFile.at(name)) << name;
    EXPECT_TRUE(isDirectory.at("."));
    EXPECT_TRUE(isDirectory.at(".."));
    EXPECT_TRUE(isDirectory.at("real"));
    EXPECT_TRUE(isDirectory.at("dirlink"));
    EXPECT_TRUE(isDirectory.at("music.mp3"));
    EXPECT_FALSE(isDirectory.at("song.mp3"));
    EXPECT_FALSE(isDirectory.at("filelink.mp3"));
    EXPECT_FALSE(isDirectory.at("dangling"));
    // A loop through a link leads back to a folder with the same identity.
    const std::string top = sys::DirectoryIdentity(folder.Path());
    EXPECT_FALSE(top.empty());
    EXPECT_EQ(sys::DirectoryIdentity(folder.Path() + "real/up/"), top);
    EXPECT_EQ(sys::DirectoryIdentity(folder.Path() + "dirlink"),
              sys::DirectoryIdentity(folder.Path() + "real"));
    EXPECT_NE(sys::DirectoryIdentity(folder.Path() + "real"), top);
    EXPECT_EQ(sys::DirectoryIdentity(folder.Path() + "song.mp3"), "");
    EXPECT_EQ(sys::DirectoryIdentity(folder.Path() + "dangling"), "");
    EXPECT_EQ(sys::DirectoryIdentity(""), "");
}

TEST(DirectoryListing, NestedHandlesKeepTheirOwnPlace) {
    TempFolder folder;
    folder.MakeFolder("a");
    folder.MakeFolder("b");
    folder.Touch("a/inner.mp3");
    ASSERT_TRUE(sys::ExamineDirectory(0, folder.Path()));
    sys::DirEntry entry;
    std::vector<std::string> seen;
    while (sys::NextDirectoryEntry(0, entry)) {
        seen.push_back(entry.name);
        if (entry.name == "a") {
            const auto inner = Names(List(1, folder.Path() + "a/"));
            EXPECT_EQ(inner, (std::vector<std::string>{".", "..", "inner.mp3"}));
        }
    }
    sys::FinishDirectory(0);
    EXPECT_EQ(seen, (std::vector<std::string>{".", "..", "a", "b"}));
    // The deepest handle works too, and a path without the trailing separator is fine.
    EXPECT_EQ(Names(List(63, folder.Path() + "a")).size(), 3u);
}

TEST(DirectoryListing, FailuresAndMisuse) {
    TempFolder folder;
    const std::string file = folder.Touch("plain.mp3");
    sys::DirEntry entry;
    EXPECT_FALSE(sys::ExamineDirectory(0, folder.Path() + "missing/"));
    EXPECT_FALSE(sys::NextDirectoryEntry(0, entry));
    EXPECT_FALSE(sys::ExamineDirectory(0, file));
    EXPECT_FALSE(sys::ExamineDirectory(0, ""));
    EXPECT_FALSE(sys::ExamineDirectory(-1, folder.Path()));
    EXPECT_FALSE(sys::ExamineDirectory(64, folder.Path()));
    EXPECT_FALSE(sys::NextDirectoryEntry(64, entry));
    sys::FinishDirectory(64);  // out of range: ignored
    sys::FinishDirectory(5);   // never opened: ignored
    // After finishing, the handle reports no more entries.
    ASSERT_TRUE(sys::ExamineDirectory(2, folder.Path()));
    sys::FinishDirectory(2);
    EXPECT_FALSE(sys::NextDirectoryEntry(2, entry));
    // Examining again on a busy handle starts over rather than mixing two listings.
    ASSERT_TRUE(sys::ExamineDirectory(3, folder.Path()));
    ASSERT_TRUE(sys::NextDirectoryEntry(3, entry));
    ASSERT_TRUE(sys::ExamineDirectory(3, folder.Path()));
    EXPECT_EQ(Names(List(3, folder.Path())).size(), 3u);
}

TEST(DirectoryListing, TwelveThousandEntriesInNaturalOrderQuickly) {
    TempFolder folder;
    constexpr int count = 12000;
    for (int n = count; n >= 1; --n) {
        const std::string name = folder.Path() + "Track " + std::to_string(n) + ".mp3";
        close(open(name.c_str(), O_CREAT | O_WRONLY, 0644));
    }
    const auto start = std::chrono::steady_clock::now();
    const auto entries = List(0, folder.Path());
    const auto took = std::chrono::steady_clock::now() - start;
    ASSERT_EQ(entries.size(), static_cast<std::size_t>(count) + 2);
    for (int n = 1; n <= count; ++n) {
        ASSERT_EQ(entries[static_cast<std::size_t>(n) + 1].name,
                  "Track " + std::to_string(n) + ".mp3");
    }
    // About 20 ms optimised and 1 s under the sanitizers; quadratic work would take minutes.
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(took).count();
    EXPECT_LT(ms, 4000);
    RecordProperty("listing_ms", static_cast<int>(ms));
}
