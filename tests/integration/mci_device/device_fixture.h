// Shared set-up of the device suite: the test files (made once), a send helper that also checks
// that no command blocks for long, and waiting for a song to stop.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "mp3_files.h"
#include "platform/mci.h"
#include "support/test_files.h"

namespace mci_test {

struct Reply {
    std::uint32_t error = 0;
    std::string text;
};

// Sends one command; every command but a seek with "wait" must come back within 200 ms.
Reply Send(const std::string& command);
std::int64_t Number(const Reply& reply);  // -1 when the reply is not a decimal number
// The program's own opening sequence: open, measure the length, play from 1. Returns the length.
std::int64_t OpenAndStart(const std::string& path, const std::string& alias);

class DeviceTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override;
    void TearDown() override;

    // Name of a file made in SetUpTestSuite: cbr44s, vbr44s, vbr44s_notag, cbr22m, vbr22m_notag,
    // vbr22s, cbr320 (6 s at 320 kbit/s).
    static const std::string& File(const std::string& name);
    // Milliseconds: the music as made, or every frame for a file without a length header.
    static std::int64_t LengthOf(const std::string& name);

    // Polls "status <alias> mode" until it is "stopped"; false after timeoutMs plus the time an
    // output may take to start (a PulseAudio null sink that was idle wakes up late).
    static bool WaitUntilStopped(const std::string& alias, int timeoutMs);
    // Polls until the position has reached ms; false when it does not within ms plus the
    // start-up time.
    static bool WaitForPosition(const std::string& alias, std::int64_t ms);
    static constexpr int kStartUpMs = 2500;

    static std::unique_ptr<testing_support::TempFolder> folder_;
    static std::map<std::string, std::string> files_;
};

}  // namespace mci_test
