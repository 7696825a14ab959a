// Program directory, system name, music folder, sleeping, opening addresses and short sounds.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <unistd.h>

#include "platform/system.h"
#include "temp_folder.h"

namespace {

using Clock = std::chrono::steady_clock;

long long MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

// Sets an environment variable for one test and puts the old value back afterwards.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const std::optional<std::string>& value) : name_(name) {
        if (const char* old = getenv(name)) old_ = old;
        if (value) {
            setenv(name, value->c_str(), 1);
        } else {
            unsetenv(name);
        }
    }
    ~ScopedEnv() {
        if (old_) {
            setenv(name_, old_->c_str(), 1);
        } else {
            unsetenv(name_);
        }
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

  private:
    const char* name_;
    std::optional<std::string> old_;
};

std::string ReadFile(const std::string& path) {
    std::ifstream file(path);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// Children of this process that have ended and not been waited for.
int ZombieChildren() {
    int zombies = 0;
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        const std::string stat = ReadFile(entry.path().string() + "/stat");
        const auto close = stat.rfind(')');
        if (close == std::string::npos) continue;
        std::istringstream rest(stat.substr(close + 1));
        char state = 0;
        long parent = 0;
        rest >> state >> parent;
        if (state == 'Z' && parent == getpid()) ++zombies;
    }
    return zombies;
}

// A mono 16-bit WAV of the given length, silent.
std::vector<std::uint8_t> MakeWav(int milliseconds) {
    const std::uint32_t rate = 8000;
    const std::uint32_t dataBytes = rate * 2 * static_cast<std::uint32_t>(milliseconds) / 1000;
    std::vector<std::uint8_t> wav;
    const auto text = [&wav](const char* s) { wav.insert(wav.end(), s, s + 4); };
    const auto number = [&wav](std::uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) wav.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    };
    text("RIFF");
    number(36 + dataBytes, 4);
    text("WAVE");
    text("fmt ");
    number(16, 4);
    number(1, 2);  // PCM
    number(1, 2);  // mono
    number(rate, 4);
    number(rate * 2, 4);
    number(2, 2);
    number(16, 2);
    text("data");
    number(dataBytes, 4);
    wav.resize(wav.size() + dataBytes, 0);
    return wav;
}

}  // namespace

TEST(ProgramPlace, DirectoryOfTheExecutableAndSystemName) {
    const std::string dir = sys::ProgramDirectory();
    ASSERT_FALSE(dir.empty());
    EXPECT_EQ(dir.back(), '/');
    EXPECT_EQ(dir, std::filesystem::canonical("/proc/self/exe").parent_path().string() + "/");
    EXPECT_EQ(sys::OperatingSystemName(), "Linux");
}

TEST(MusicFolder, FollowsTheUserDirsFileUnderHome) {
    TempFolder home;
    home.MakeFolder(".config");
    home.MakeFolder("Meine Musik");
    std::ofstream(home.Path() + ".config/user-dirs.dirs")
        << "XDG_MUSIC_DIR=\"$HOME/Meine Musik\"\n";
    std::string homePath = home.Path();
    homePath.pop_back();
    ScopedEnv setHome("HOME", homePath);
    ScopedEnv noConfig("XDG_CONFIG_HOME", std::nullopt);
    EXPECT_EQ(sys::DefaultMusicFolder(), homePath + "/Meine Musik/");
    {
        // XDG_CONFIG_HOME moves the file; an empty config folder there means no music entry.
        ScopedEnv config("XDG_CONFIG_HOME", home.MakeFolder("elsewhere"));
        EXPECT_EQ(sys::DefaultMusicFolder(), homePath + "/");
        home.MakeFolder("Music");
        EXPECT_EQ(sys::DefaultMusicFolder(), homePath + "/Music/");
    }
    // A trailing slash in HOME does not double up.
    ScopedEnv slashed("HOME", homePath + "/");
    EXPECT_EQ(sys::DefaultMusicFolder(), homePath + "/Meine Musik/");
}

class OpenUrlTest : public ::testing::Test {
  protected:
    // A stand-in xdg-open that writes each argument on a line of its own.
    void SetUp() override {
        const std::string script = bin_.Path() + "xdg-open";
        std::ofstream(script) << "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > "
                              << out_.Path() << "args.tmp\nmv " << out_.Path() << "args.tmp "
                              << out_.Path() << "args\n";
        std::filesystem::permissions(script, std::filesystem::perms::owner_all);
    }

    // The arguments the stand-in got, once it has finished; "" after two seconds without.
    std::string Arguments() {
        const auto start = Clock::now();
        while (MillisecondsSince(start) < 2000) {
            if (std::filesystem::exists(out_.Path() + "args"))
                return ReadFile(out_.Path() + "args");
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return "";
    }

    TempFolder bin_;
    TempFolder out_;
};

TEST_F(OpenUrlTest, AddressArrivesAsOneUninterpretedArgument) {
    ScopedEnv path("PATH", bin_.Path() + ":/usr/bin:/bin");
    const std::string url =
        "https://example.org/a b?x=1&y='2'\"3\";$(touch " + out_.Path() + "pwned)`id`|cat>x";
    const auto start = Clock::now();
    sys::OpenUrl(url);
    EXPECT_LT(MillisecondsSince(start), 100);  // the caller never waits for the browser
    EXPECT_EQ(Arguments(), url + "\n");
    EXPECT_FALSE(std::filesystem::exists(out_.Path() + "pwned"));
    // The finished child is collected, not left as a zombie.
    const auto waitStart = Clock::now();
    while (ZombieChildren() > 0 && MillisecondsSince(waitStart) < 2000) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_EQ(ZombieChildren(), 0);
}

TEST_F(OpenUrlTest, MissingOpenerAndBadAddressesAreIgnored) {
    TempFolder empty;
    {
        ScopedEnv path("PATH", empty.Path());
        sys::OpenUrl("https://example.org/");  // no xdg-open at all
    }
    ScopedEnv path("PATH", bin_.Path() + ":/usr/bin:/bin");
    sys::OpenUrl("");
    sys::OpenUrl(std::string_view("https://a\0b", 11));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_FALSE(std::filesystem::exists(out_.Path() + "args"));
}

TEST(PlayWav, PlaysInTheBackgroundAndRejectsGarbage) {
    ScopedEnv driver("SDL_AUDIODRIVER",
                     getenv("SDL_AUDIODRIVER") ? getenv("SDL_AUDIODRIVER") : std::string("dummy"));
    const auto wav = MakeWav(200);
    sys::PlayWav(wav.data(), wav.size());  // the first call sets up SDL's audio subsystem
    auto start = Clock::now();
    EXPECT_TRUE(sys::PlayWav(wav.data(), wav.size()));
    EXPECT_LT(MillisecondsSince(start), 100);
    // Clicking again and again neither piles up devices nor fails.
    for (int n = 0; n < 8; ++n) EXPECT_TRUE(sys::PlayWav(wav.data(), wav.size()));

    EXPECT_FALSE(sys::PlayWav(nullptr, 100));
    EXPECT_FALSE(sys::PlayWav(wav.data(), 0));
    EXPECT_FALSE(sys::PlayWav(wav.data(), 20));  // cut off inside the header
    std::vector<std::uint8_t> garbage(4000, 0xA5);
    EXPECT_FALSE(sys::PlayWav(garbage.data(), garbage.size()));
    auto lying = wav;
    lying[40] = 0xFF;  // a data size far beyond the bytes given
    lying[41] = 0xFF;
    lying[42] = 0xFF;
    lying[43] = 0x7F;
    sys::PlayWav(lying.data(), lying.size());  // may play what is there; must not read past it

    // Finished sounds are closed by the idle sleep; afterwards a new sound still plays.
    start = Clock::now();
    while (MillisecondsSince(start) < 800) sys::SleepMs(20);
    EXPECT_TRUE(sys::PlayWav(wav.data(), wav.size()));
}
