// The device's failures: each gives its error number and leaves no song half-open, so the same
// alias opens fine afterwards.
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "device_fixture.h"

namespace mci_test {
namespace {

using DeviceErrors = DeviceTest;

void ExpectNothingOpenUnder(const std::string& alias, const std::string& goodFile) {
    EXPECT_EQ(Send("status " + alias + " mode").error, mci::MCIERR_INVALID_DEVICE_NAME);
    EXPECT_EQ(Send("open \"" + goodFile + "\" alias " + alias).error, 0u);
    EXPECT_EQ(Send("close " + alias).error, 0u);
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

TEST_F(DeviceErrors, FilesThatCannotBePlayed) {
    const std::string good = File("cbr44s");
    const std::string empty = folder_->File("empty.mp3");
    const std::string text = folder_->File("text.mp3");
    const std::string folder = folder_->File("folder.mp3");
    WriteBytes(empty, "");
    WriteBytes(text, std::string(5000, 'x') + "Dies ist keine MP3-Datei.\n");
    std::filesystem::create_directory(folder);
    // A named pipe would block a plain open until some writer comes, which never happens.
    const std::string pipe = folder_->File("x.mp3");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    const struct {
        std::string path;
        std::uint32_t error;
    } cases[] = {
        {folder_->File("missing.mp3"), mci::MCIERR_FILE_NOT_FOUND},
        {folder_->File("no folder/x.mp3"), mci::MCIERR_FILE_NOT_FOUND},
        {empty, mci::MCIERR_INVALID_FILE},
        {text, mci::MCIERR_INVALID_FILE},
        {folder, mci::MCIERR_INVALID_FILE},
        {pipe, mci::MCIERR_INVALID_FILE},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(Send("open \"" + c.path + "\" alias MP3Stueck").error, c.error);
        ExpectNothingOpenUnder("MP3Stueck", good);
    }
}

TEST_F(DeviceErrors, AFileThatCannotBeRead) {
    std::string path = folder_->File("locked.mp3");
    std::filesystem::copy_file(File("cbr44s"), path);
    if (geteuid() == 0) {
        // Permissions do not stop root; this file opens but every read of it fails.
        path = "/proc/self/mem";
    } else {
        ASSERT_EQ(chmod(path.c_str(), 0), 0);
    }
    EXPECT_EQ(Send("open \"" + path + "\" alias s").error, mci::MCIERR_FILE_READ);
    ExpectNothingOpenUnder("s", File("cbr44s"));
}

// A path with a double quote cannot be written as one element; it must not open anything,
// not even a file whose name is a part of it.
TEST_F(DeviceErrors, APathWithADoubleQuote) {
    const std::string dir = folder_->File("q");
    std::filesystem::create_directory(dir);
    std::filesystem::copy_file(File("cbr44s"), dir + "/a\"b.mp3");
    std::filesystem::copy_file(File("cbr44s"), dir + "/a");
    EXPECT_EQ(Send("open \"" + dir + "/a\"b.mp3\" alias s").error, mci::MCIERR_EXTRA_CHARACTERS);
    ExpectNothingOpenUnder("s", File("cbr44s"));
}

TEST_F(DeviceErrors, AliasesAndCommands) {
    ASSERT_EQ(Send("open " + File("cbr44s") + " alias MP3Stueck").error, 0u);
    EXPECT_EQ(Send("open " + File("vbr44s") + " alias mp3stueck").error,
              mci::MCIERR_DUPLICATE_ALIAS);
    // The first song is untouched by the refused second one.
    EXPECT_EQ(Number(Send("status MP3Stueck length")), LengthOf("cbr44s"));

    EXPECT_EQ(Send("play Anderes").error, mci::MCIERR_INVALID_DEVICE_NAME);
    EXPECT_EQ(Send("close Anderes").error, mci::MCIERR_INVALID_DEVICE_NAME);
    EXPECT_EQ(Send("abspielen MP3Stueck").error, mci::MCIERR_UNRECOGNIZED_COMMAND);
    EXPECT_EQ(Send("play MP3Stueck rückwärts").error, mci::MCIERR_UNRECOGNIZED_KEYWORD);
    EXPECT_EQ(Send("status MP3Stueck mode").text, "stopped");

    // Replies are cut to the buffer and always terminated.
    char small[3] = {'x', 'x', 'x'};
    EXPECT_EQ(mci::mciSendString("status MP3Stueck mode", small, sizeof small), 0u);
    EXPECT_STREQ(small, "st");
    EXPECT_EQ(mci::mciSendString("status MP3Stueck mode", nullptr, 0), 0u);
    EXPECT_EQ(mci::mciSendString(nullptr, small, sizeof small), mci::MCIERR_MISSING_COMMAND_STRING);
    EXPECT_STREQ(small, "");
}

// Without any output a song opens and waits at its start; it plays once an output is there.
TEST_F(DeviceErrors, NoAudioOutputYet) {
    const char* driver = std::getenv("SDL_AUDIODRIVER");
    // SDL picks its driver when its audio starts, that is when nothing is open or closing. The
    // dummy output closes at once; a PulseAudio one may still be closing from an earlier test.
    if (driver == nullptr || std::string(driver) != "dummy") GTEST_SKIP() << "dummy driver only";
    const std::string saved = driver;
    std::this_thread::sleep_for(std::chrono::milliseconds(600));
    Send("status nichts mode");  // lets the outputs of earlier tests go
    setenv("SDL_AUDIODRIVER", "kein_treiber", 1);
    EXPECT_EQ(Send("open " + File("cbr44s") + " alias s").error, 0u);
    EXPECT_EQ(Send("play s").error, 0u);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(Number(Send("status s position")), 0);
    EXPECT_EQ(Send("status s mode").text, "playing");
    setenv("SDL_AUDIODRIVER", saved.c_str(), 1);
    EXPECT_TRUE(WaitForPosition("s", 100));
}

}  // namespace
}  // namespace mci_test
