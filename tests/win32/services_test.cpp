// The Windows system services and the mixer against the running system.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "platform/file.h"
#include "platform/system.h"
#include "platform/win32/handle_win32.h"
#include "platform/win32/system/wav.h"
#include "platform/win32/text_win32.h"
#include "volume/mixer.h"

namespace {

// A fresh folder under the system's temporary folder, removed again afterwards.
class TempFolder {
  public:
    TempFolder() {
        char base[MAX_PATH];
        GetTempPathA(MAX_PATH, base);
        path_ = std::string(base) + "klingtal-" + std::to_string(GetCurrentProcessId()) + "-" +
                std::to_string(counter_++) + "\\";
        CreateDirectoryA(path_.c_str(), nullptr);
    }
    ~TempFolder() {
        for (const std::string& name : made_) {
            DeleteFileA((path_ + name).c_str());
            RemoveDirectoryA((path_ + name).c_str());
        }
        RemoveDirectoryA(path_.c_str());
    }
    void File(const std::string& name) {
        std::ofstream(path_ + name) << "x";
        made_.insert(made_.begin(), name);
    }
    void Folder(const std::string& name) {
        CreateDirectoryA((path_ + name).c_str(), nullptr);
        made_.push_back(name);
    }
    const std::string& Path() const { return path_; }

  private:
    static inline int counter_ = 0;
    std::string path_;
    std::vector<std::string> made_;
};

// The names of a folder, folders ending in "/", entries neither file nor folder in "?".
std::vector<std::string> List(int handle, const std::string& path) {
    std::vector<std::string> names;
    if (!sys::ExamineDirectory(handle, path)) return names;
    sys::DirEntry entry;
    while (sys::NextDirectoryEntry(handle, entry)) {
        names.push_back(entry.name + (entry.isDirectory ? "/" : entry.isFile ? "" : "?"));
    }
    sys::FinishDirectory(handle);
    return names;
}

TEST(Win32System, ProgramDirectoryIsTheExecutablesFolder) {
    std::string dir = sys::ProgramDirectory();
    ASSERT_FALSE(dir.empty());
    EXPECT_EQ(dir.back(), '\\');
    EXPECT_EQ(GetFileAttributesA((dir + "win32_tests.exe").c_str()) != INVALID_FILE_ATTRIBUTES,
              true);
    EXPECT_EQ(sys::DefaultMusicFolder(), "C:\\");
}

TEST(Win32System, OsNameFollowsTheReportedVersion) {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof(info);
    ASSERT_TRUE(GetVersionExA(&info));
    std::string name = sys::OperatingSystemName();
    bool xp = info.dwPlatformId == VER_PLATFORM_WIN32_NT && info.dwMajorVersion == 5 &&
              info.dwMinorVersion == 1;
    EXPECT_EQ(name == "Windows XP", xp) << name;
    EXPECT_EQ(name.rfind("Windows ", 0), 0u);
}

TEST(Win32System, ListingGivesFilesFoldersAndDotsThroughEachHandle) {
    TempFolder folder;
    folder.File("b song.mp3");
    folder.File("A&B_-x.MP3");
    folder.Folder("sub");
    for (const std::string& path :
         {folder.Path(), folder.Path().substr(0, folder.Path().size() - 1)}) {
        std::vector<std::string> names = List(3, path);
        std::sort(names.begin(), names.end());
        EXPECT_EQ(names,
                  (std::vector<std::string>{"../", "./", "A&B_-x.MP3", "b song.mp3", "sub/"}))
            << path;
    }
    // Two handles at once, as a scan into a subfolder has them.
    ASSERT_TRUE(sys::ExamineDirectory(0, folder.Path()));
    EXPECT_EQ(List(63, folder.Path() + "sub").size(), 2u);  // just the dots
    sys::DirEntry entry;
    EXPECT_TRUE(sys::NextDirectoryEntry(0, entry));
    sys::FinishDirectory(0);
    EXPECT_FALSE(sys::NextDirectoryEntry(0, entry));

    EXPECT_FALSE(sys::ExamineDirectory(64, folder.Path()));
    EXPECT_FALSE(sys::ExamineDirectory(-1, folder.Path()));
    EXPECT_FALSE(sys::ExamineDirectory(1, folder.Path() + "missing"));
    EXPECT_FALSE(sys::NextDirectoryEntry(1, entry));
}

// Names no ANSI code page holds all of: a folder of them, a song in it, and the program's own
// folder seen through the same calls.
TEST(Win32System, NamesInAnyScriptComeBackAsUtf8) {
    TempFolder folder;
    const std::string sub = "Музыка 東京 ä";
    ASSERT_TRUE(CreateDirectoryW(win32::Utf8ToWide(folder.Path() + sub).c_str(), nullptr));
    const std::string song = folder.Path() + sub + "\\Мелодия 東京.mp3";
    win32::FileHandle file(CreateFileW(win32::Utf8ToWide(song).c_str(), GENERIC_WRITE, 0, nullptr,
                                       CREATE_NEW, 0, nullptr));
    ASSERT_TRUE(file);
    file.Reset(INVALID_HANDLE_VALUE);
    std::vector<std::string> top = List(5, folder.Path());
    std::sort(top.begin(), top.end());
    EXPECT_EQ(top, (std::vector<std::string>{"../", "./", sub + "/"}));
    std::vector<std::string> names = List(6, folder.Path() + sub);
    EXPECT_NE(std::find(names.begin(), names.end(), "Мелодия 東京.mp3"), names.end());
    EXPECT_FALSE(sys::DirectoryIdentity(folder.Path() + sub).empty());
    DeleteFileW(win32::Utf8ToWide(song).c_str());
    RemoveDirectoryW(win32::Utf8ToWide(folder.Path() + sub).c_str());
}

// Where the settings may go: the roaming application data folder, and a file the read-only
// attribute protects counts as not replaceable (the rename over it would fail).
TEST(Win32System, SettingsPlacesAsTheSystemSeesThem) {
    const std::string appData = sys::UserAppDataFolder();
    ASSERT_FALSE(appData.empty());
    EXPECT_EQ(appData.back(), '\\');
    EXPECT_TRUE(platform::FolderExists(appData));
    TempFolder folder;
    folder.File("MP3Klingtal.Ini");
    const std::string file = folder.Path() + "MP3Klingtal.Ini";
    EXPECT_TRUE(platform::FileCanBeReplaced(file));
    SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(platform::FileCanBeReplaced(file));
    EXPECT_TRUE(platform::FolderIsWritable(folder.Path()));
    SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(Win32System, DirectoryIdentityFollowsTheFolderNotThePath) {
    TempFolder folder;
    folder.Folder("sub");
    std::string same = sys::DirectoryIdentity(folder.Path());
    ASSERT_FALSE(same.empty());
    EXPECT_EQ(sys::DirectoryIdentity(folder.Path() + "sub\\.."), same);
    EXPECT_EQ(sys::DirectoryIdentity(folder.Path().substr(0, folder.Path().size() - 1)), same);
    EXPECT_NE(sys::DirectoryIdentity(folder.Path() + "sub"), same);
    EXPECT_EQ(sys::DirectoryIdentity(folder.Path() + "missing"), "");
}

TEST(Win32Mixer, VolumeAndMuteRoundTripWhenThereIsAMixer) {
    if (mixerGetNumDevs() == 0) {
        // No mixer: the getters answer 0 and the setters report an error.
        EXPECT_EQ(GetVolume(), 0u);
        EXPECT_EQ(GetMute(), 0);
        EXPECT_NE(SetVolume(1000), 0u);
        GTEST_SKIP() << "no mixer device";
    }
    std::uint32_t before = GetVolume();
    int mutedBefore = GetMute();
    ASSERT_EQ(SetVolume(30000), 0u);
    EXPECT_NEAR(static_cast<double>(GetVolume()), 30000.0, 700.0);
    ASSERT_EQ(SetVolume(70000), 0u);  // beyond the scale: the top of it
    EXPECT_NEAR(static_cast<double>(GetVolume()), 65535.0, 700.0);
    ASSERT_EQ(SetMute(1), 0u);
    EXPECT_EQ(GetMute(), 1);
    ASSERT_EQ(SetMute(0), 0u);
    EXPECT_EQ(GetMute(), 0);
    SetVolume(before);
    SetMute(mutedBefore);
}

// --- the About sound -------------------------------------------------------------------------

std::vector<std::uint8_t> Wav(std::uint16_t format, std::uint16_t bits, std::uint32_t dataBytes,
                              std::uint32_t claimedData) {
    std::vector<std::uint8_t> wav;
    auto put = [&wav](std::uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) wav.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    };
    wav.insert(wav.end(), {'R', 'I', 'F', 'F'});
    put(36 + dataBytes, 4);
    wav.insert(wav.end(), {'W', 'A', 'V', 'E', 'L', 'I', 'S', 'T'});
    put(3, 4);  // an odd-sized chunk before the format, padded to even
    wav.insert(wav.end(), {'a', 'b', 'c', 0});
    wav.insert(wav.end(), {'f', 'm', 't', ' '});
    put(16, 4);
    put(format, 2);
    put(1, 2);
    put(22050, 4);
    put(22050 * bits / 8, 4);
    put(bits / 8, 2);
    put(bits, 2);
    wav.insert(wav.end(), {'d', 'a', 't', 'a'});
    put(claimedData, 4);
    wav.insert(wav.end(), dataBytes, 0x80);
    return wav;
}

TEST(Win32Sound, WavPartsAreFoundAndLengthsChecked) {
    win32::WavParts parts;
    std::vector<std::uint8_t> good = Wav(1, 8, 25508, 25508);
    ASSERT_TRUE(win32::ParseWav(good.data(), good.size(), parts));
    EXPECT_EQ(parts.channels, 1);
    EXPECT_EQ(parts.samplesPerSecond, 22050u);
    EXPECT_EQ(parts.bitsPerSample, 8);
    EXPECT_EQ(parts.dataSize, 25508u);
    EXPECT_EQ(parts.data, good.data() + good.size() - 25508);

    std::vector<std::uint8_t> overstated = Wav(1, 8, 100, 0xFFFFFFF0);
    ASSERT_TRUE(win32::ParseWav(overstated.data(), overstated.size(), parts));
    EXPECT_EQ(parts.dataSize, 100u);  // what is really there

    std::vector<std::uint8_t> compressed = Wav(2, 8, 100, 100);
    EXPECT_FALSE(win32::ParseWav(compressed.data(), compressed.size(), parts));
    std::vector<std::uint8_t> oddBits = Wav(1, 12, 100, 100);
    EXPECT_FALSE(win32::ParseWav(oddBits.data(), oddBits.size(), parts));
    std::vector<std::uint8_t> empty = Wav(1, 8, 0, 0);
    EXPECT_FALSE(win32::ParseWav(empty.data(), empty.size(), parts));
    EXPECT_FALSE(win32::ParseWav(good.data(), 30, parts));  // cut inside a chunk
    EXPECT_FALSE(win32::ParseWav(nullptr, 0, parts));
    std::vector<std::uint8_t> riffOnly(good.begin(), good.begin() + 12);
    EXPECT_FALSE(win32::ParseWav(riffOnly.data(), riffOnly.size(), parts));
}

TEST(Win32Sound, PlayingNeverFailsLoudly) {
    std::vector<std::uint8_t> good = Wav(1, 8, 2205, 2205);
    sys::PlayWav(good.data(), good.size());  // true or false, depending on the sound card
    sys::PlayWav(good.data(), good.size());  // a second sound replaces the first
    std::vector<std::uint8_t> broken(good.begin(), good.begin() + 40);
    EXPECT_FALSE(sys::PlayWav(broken.data(), broken.size()));
}

}  // namespace
