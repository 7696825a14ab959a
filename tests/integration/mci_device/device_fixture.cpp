// Shared set-up of the device suite.
#include "device_fixture.h"

#include <chrono>
#include <cstdlib>
#include <thread>

#include "platform/mci.h"

namespace mci_test {

std::unique_ptr<testing_support::TempFolder> DeviceTest::folder_;
std::map<std::string, std::string> DeviceTest::files_;

namespace {
const std::map<std::string, Mp3Spec>& Specs() {
    static const std::map<std::string, Mp3Spec> specs = {
        {"cbr44s", {44100, 2, false, true, 3.0}},       {"vbr44s", {44100, 2, true, true, 3.0}},
        {"vbr44s_notag", {44100, 2, true, false, 3.0}}, {"cbr22m", {22050, 1, false, true, 2.5}},
        {"vbr22m_notag", {22050, 1, true, false, 2.5}}, {"vbr22s", {22050, 2, true, true, 2.5}},
        {"cbr320", {44100, 2, false, true, 6.0, 320}},
    };
    return specs;
}
}  // namespace

Reply Send(const std::string& command) {
    char buffer[256] = "garbage";
    const auto start = std::chrono::steady_clock::now();
    Reply reply;
    reply.error = mci::mciSendString(command.c_str(), buffer, sizeof buffer);
    const auto took = std::chrono::steady_clock::now() - start;
    const bool waitingSeek =
        command.rfind("seek", 0) == 0 && command.find(" wait") != std::string::npos;
    // No command waits for the sound: one that did would take as long as the song. The limit
    // leaves room for a busy machine running the sanitizer build, where any command may take a
    // few hundred milliseconds.
    if (!waitingSeek) {
        EXPECT_LT(took, std::chrono::milliseconds(1000)) << command;
    }
    reply.text = buffer;
    return reply;
}

std::int64_t Number(const Reply& reply) {
    if (reply.text.empty() || reply.text.find_first_not_of("0123456789") != std::string::npos) {
        return -1;
    }
    return std::stoll(reply.text);
}

std::int64_t OpenAndStart(const std::string& path, const std::string& alias) {
    EXPECT_EQ(Send("open \"" + path + "\" alias " + alias).error, 0u) << path;
    EXPECT_EQ(Send("set " + alias + " time format ms").error, 0u);
    EXPECT_EQ(Send("seek " + alias + " to end wait").error, 0u);
    const std::int64_t length = Number(Send("status " + alias + " position wait"));
    EXPECT_EQ(Send("seek " + alias + " to start").error, 0u);
    EXPECT_EQ(Send("play " + alias + " from 1 notify").error, 0u);
    return length;
}

void DeviceTest::SetUpTestSuite() {
    if (!testing_support::LameAvailable()) return;
    folder_ = std::make_unique<testing_support::TempFolder>();
    for (const auto& [name, spec] : Specs()) {
        const std::string path = folder_->File(name + ".mp3");
        if (MakeMp3(path, spec)) files_[name] = path;
    }
}

void DeviceTest::TearDownTestSuite() {
    files_.clear();
    folder_.reset();
}

void DeviceTest::SetUp() {
    if (!testing_support::LameAvailable()) GTEST_SKIP() << "lame is not installed";
    const char* driver = std::getenv("SDL_AUDIODRIVER");
    const char* pulse = std::getenv("KLINGTAL_PULSE_AVAILABLE");
    if (driver != nullptr && std::string(driver) == "pulseaudio" &&
        (pulse == nullptr || std::string(pulse) != "1")) {
        GTEST_SKIP() << "no PulseAudio server";
    }
    ASSERT_EQ(files_.size(), 7u) << "lame could not make the test files";
}

void DeviceTest::TearDown() {
    Send("close all");
}

const std::string& DeviceTest::File(const std::string& name) {
    return files_.at(name);
}

std::int64_t DeviceTest::LengthOf(const std::string& name) {
    const Mp3Spec& spec = Specs().at(name);
    // The encoder's header says how long the music is; without it every frame counts.
    if (spec.lengthHeader) return static_cast<std::int64_t>(spec.seconds * 1000);
    return LengthMs(CountFrames(File(name)));
}

bool DeviceTest::WaitUntilStopped(const std::string& alias, int timeoutMs) {
    const auto until =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs + kStartUpMs);
    while (std::chrono::steady_clock::now() < until) {
        if (Send("status " + alias + " mode").text == "stopped") return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

bool DeviceTest::WaitForPosition(const std::string& alias, std::int64_t ms) {
    const auto until =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(ms + kStartUpMs);
    while (std::chrono::steady_clock::now() < until) {
        if (Number(Send("status " + alias + " position")) >= ms) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

}  // namespace mci_test

// libpulse, under SDL's PulseAudio output, keeps one small allocation per stream for good; it is
// none of ours. Read by LeakSanitizer in the sanitizer build, unused otherwise.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libpulse.so\n";
}
