// The file layer: what opens, sizes past 4 GiB, short reads and whole-file reads.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/file.h"
#include "support/test_files.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

using testing_support::TempFolder;
using testing_support::WriteFile;

TEST(ReadOnlyFile, OpensOnlyRegularFiles) {
    TempFolder folder;
    platform::ReadOnlyFile file;
    EXPECT_FALSE(file.Open(folder.File("missing.mp3")));
    EXPECT_FALSE(file.Open(folder.Path()));  // a folder named like a song
    EXPECT_EQ(file.Size(), -1);
    char byte = 0;
    EXPECT_EQ(file.Read(&byte, 1), 0u);
#ifndef _WIN32
    // A named pipe with no writer would block an ordinary open forever.
    ASSERT_EQ(mkfifo(folder.File("pipe.mp3").c_str(), 0600), 0);
    EXPECT_FALSE(file.Open(folder.File("pipe.mp3")));
#endif
}

TEST(ReadOnlyFile, ReadsOddNames) {
    TempFolder folder;
#ifdef _WIN32
    const std::string path = folder.File("Über 'den' & -Fluss_.mp3");
#else
    const std::string path = folder.File("Über \"den\" & -Fluss_.mp3\\");
#endif
    ASSERT_TRUE(WriteFile(path, "abcdef"));
    platform::ReadOnlyFile file(path);
    ASSERT_TRUE(file.IsOpen());
    EXPECT_EQ(file.Size(), 6);
    ASSERT_TRUE(file.Seek(4));
    char buffer[8] = {};
    EXPECT_EQ(file.Read(buffer, sizeof buffer), 2u);  // short read at the end
    EXPECT_EQ(std::string(buffer, 2), "ef");
    EXPECT_FALSE(file.Seek(-1));
    // Moving keeps exactly one owner of the open file.
    platform::ReadOnlyFile moved = std::move(file);
    EXPECT_FALSE(file.IsOpen());
    EXPECT_TRUE(moved.IsOpen());
}

TEST(ReadOnlyFile, SizeAndSeekGoPastFourGibibytes) {
    TempFolder folder;
    const std::string path = folder.File("huge.mp3");
    ASSERT_TRUE(WriteFile(path, ""));
    const std::uint64_t size = (std::uint64_t(1) << 32) + 300;
    std::error_code error;
    std::filesystem::resize_file(path, size, error);  // sparse: no real disk use
    if (error) GTEST_SKIP() << "no sparse files here";
    platform::ReadOnlyFile file(path);
    EXPECT_EQ(file.Size(), std::int64_t(size));
    ASSERT_TRUE(file.Seek(std::int64_t(size) - 10));
    char buffer[16];
    EXPECT_EQ(file.Read(buffer, sizeof buffer), 10u);
}

TEST(ReadWholeFile, StopsAtTheLimitAndReportsMissingFiles) {
    TempFolder folder;
    std::string contents = "stale";
    EXPECT_FALSE(platform::ReadWholeFile(folder.File("none"), contents));
    EXPECT_TRUE(contents.empty());
    ASSERT_TRUE(WriteFile(folder.File("f"), "0123456789"));
    ASSERT_TRUE(platform::ReadWholeFile(folder.File("f"), contents, 4));
    EXPECT_EQ(contents, "0123");
    ASSERT_TRUE(platform::ReadWholeFile(folder.File("f"), contents));
    EXPECT_EQ(contents, "0123456789");
    ASSERT_TRUE(WriteFile(folder.File("empty"), ""));
    ASSERT_TRUE(platform::ReadWholeFile(folder.File("empty"), contents));
    EXPECT_TRUE(contents.empty());
}
