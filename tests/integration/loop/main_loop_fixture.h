// The program over the headless gui with the real device, for the main-loop tests: started on a
// folder of the test's own, shut down after each test.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>

#include "app/app_state.h"
#include "app/lifecycle.h"
#include "app/main_loop.h"
#include "platform/gui.h"
#include "platform/headless/headless.h"
#include "support/test_files.h"
#include "ui/gadgets.h"

namespace {

namespace hl = gui::headless;
using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;
using testing_support::TempFolder;
using testing_support::WriteFile;

class MainLoop : public ::testing::Test {
  protected:
    void SetUp() override {
        hl::Reset();
        hl::SetWaitLimit(5000);  // a wait that never ends fails the test instead of hanging it
    }
    void TearDown() override {
        if (started) Shutdown(*app, true);
    }
    void Start() {
        WriteFile(program.File("MP3Klingtal.Ini"), "Pfad = " + songs.Path() + "\r\n");
        ASSERT_TRUE(StartUp(*app, StartOptions{program.Path()}));
        started = true;
    }

    TempFolder program, songs;
    std::unique_ptr<AppState> app = std::make_unique<AppState>();
    bool started = false;
};

}  // namespace
