// Windows on a real display: placement and size, the resize to an outer size, title, the window
// manager hints, minimise and restore through the size callback, close requests (also from
// termination signals), waiting for events and the background mouse events.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <thread>
#include <vector>

#include "platform/gui.h"
#include "platform/posix/gui/inspect.h"
#include "platform/posix/gui/state.h"
#include "tests/integration/fltk/fltk_support.h"

using namespace fltk_test;

namespace {

class FltkWindow : public testing::Test {
  protected:
    void TearDown() override {
        gui::CloseWindow(0);
        gui::CloseWindow(1);
        Pump(50);
    }
    static bool Open(int number, int x, int y, int w, int h, bool minimiseBox = true) {
        gui::WindowSpec spec;
        spec.number = number;
        spec.x = x;
        spec.y = y;
        spec.innerWidth = w;
        spec.innerHeight = h;
        spec.title = "MP3 Klingtal";
        spec.minimiseBox = minimiseBox;
        const bool ok = gui::OpenWindow(spec);
        Pump(100);
        return ok;
    }
};

bool Has(const std::vector<std::string>& names, const std::string& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

}  // namespace

TEST_F(FltkWindow, OpensWithItsFrameCornerAtTheRequestedPlaceAndTheInnerSizeAsGiven) {
    ASSERT_TRUE(Open(0, 120, 90, 285, 116));
    int cx = 0, cy = 0;
    ClientOrigin(0, cx, cy);
    const gui::Rect outer = gui::WindowOuterRect(0);
    EXPECT_EQ(outer.x, 120);
    EXPECT_EQ(outer.y, 90);
    EXPECT_EQ(outer.width, 291);
    EXPECT_EQ(outer.height, 140);
    if (HaveWindowManager()) {
        // The frame sits around the client area, so the client starts below and right of it.
        EXPECT_GT(cy, 90);
        EXPECT_GE(cx, 120);
    }
    EXPECT_EQ(gui::CurrentWindow(), 0);
    EXPECT_EQ(gui::fltk::GetWindowTitle(0), "MP3 Klingtal");
    gui::SetWindowTitle(0, "MP3 Kiv");
    EXPECT_EQ(gui::fltk::GetWindowTitle(0), "MP3 Kiv");
}

TEST_F(FltkWindow, ResizesToAnOuterSizeWithoutMovingAndTheUserCannotResize) {
    ASSERT_TRUE(Open(0, 200, 150, 285, 116));
    const gui::Rect before = gui::WindowOuterRect(0);
    gui::ResizeWindowInner(0, 291 - gui::fltk::kNominalFrameWidth,
                           186 - gui::fltk::kNominalFrameHeight);
    Pump(150);
    const gui::Rect after = gui::WindowOuterRect(0);
    EXPECT_EQ(after.x, before.x);
    EXPECT_EQ(after.y, before.y);
    EXPECT_EQ(after.height, 186);
    // A resize request from outside is held at the fixed size.
    Xdotool("windowsize " + std::to_string(XidOf(0)) + " 500 400");
    Pump(150);
    EXPECT_EQ(gui::WindowOuterRect(0).width, 291);
    EXPECT_EQ(gui::WindowOuterRect(0).height, 186);
    if (HaveWindowManager()) {
        const auto actions = AtomNames(0, "_NET_WM_ALLOWED_ACTIONS");
        EXPECT_TRUE(Has(actions, "_NET_WM_ACTION_MINIMIZE"));
        EXPECT_FALSE(Has(actions, "_NET_WM_ACTION_MAXIMIZE_HORZ"));
        EXPECT_FALSE(Has(actions, "_NET_WM_ACTION_RESIZE"));
    }
}

TEST_F(FltkWindow, CentredWindowAndScreenSize) {
    gui::WindowSpec spec;
    spec.number = 1;
    spec.innerWidth = 300;
    spec.innerHeight = 140;
    spec.screenCentred = true;
    spec.title = "Über MP3 Klingtal";
    ASSERT_TRUE(gui::OpenWindow(spec));
    Pump(100);
    const gui::Rect outer = gui::WindowOuterRect(1);
    EXPECT_NEAR(outer.x + outer.width / 2, gui::ScreenWidth() / 2, 2);
    EXPECT_NEAR(outer.y + outer.height / 2, gui::ScreenHeight() / 2, 40);
    EXPECT_EQ(gui::fltk::GetWindowTitle(1), "Über MP3 Klingtal");
    const gui::Rect desktop = gui::DesktopArea();
    EXPECT_GE(desktop.width, gui::ScreenWidth());
    EXPECT_EQ(gui::SystemMetric(4), 0);
    EXPECT_EQ(gui::SystemMetric(33), 0);
}

TEST_F(FltkWindow, TopmostAndOpacityHints) {
    if (!HaveWindowManager()) GTEST_SKIP() << "needs a window manager";
    ASSERT_TRUE(Open(0, 50, 50, 285, 116));
    gui::SetWindowTopmost(0, true);
    Pump(150);
    EXPECT_TRUE(Has(WmState(0), "_NET_WM_STATE_ABOVE"));
    gui::SetWindowTopmost(0, false);
    Pump(150);
    EXPECT_FALSE(Has(WmState(0), "_NET_WM_STATE_ABOVE"));
    gui::SetWindowOpacity(0, 0);
    EXPECT_EQ(OpacityProperty(0), 0);
    gui::SetWindowOpacity(0, 255);
    EXPECT_EQ(OpacityProperty(0), -1);  // opaque: no property at all
    gui::SetWindowOpacity(0, 128);
    EXPECT_NEAR(double(OpacityProperty(0)), 128.0 / 255 * 0xffffffff, 2.0);  // 32-bit cardinal
}

TEST_F(FltkWindow, MinimiseAndRestoreReachTheSizeCallbackOnce) {
    if (!HaveWindowManager()) GTEST_SKIP() << "needs a window manager";
    ASSERT_TRUE(Open(0, 50, 50, 285, 116));
    std::vector<bool> reports;
    gui::SetSizeCallback(0, [&reports](bool minimised) {
        reports.push_back(minimised);
        gui::SetWindowTitle(0, minimised ? "MP3 Kiv" : "MP3 Klingtal");
    });
    Xdotool("windowminimize --sync " + std::to_string(XidOf(0)));
    Pump(200);
    ASSERT_EQ(reports, std::vector<bool>{true});
    EXPECT_EQ(gui::fltk::GetWindowTitle(0), "MP3 Kiv");
    Xdotool("windowactivate --sync " + std::to_string(XidOf(0)));
    Pump(200);
    EXPECT_EQ(reports, (std::vector<bool>{true, false}));
    EXPECT_EQ(gui::fltk::GetWindowTitle(0), "MP3 Klingtal");
    // Closing the window is not a minimise.
    gui::CloseWindow(0);
    Pump(100);
    EXPECT_EQ(reports.size(), 2u);
}

TEST_F(FltkWindow, CloseRequestIsAnEventAndTheWindowStays) {
    ASSERT_TRUE(Open(0, 50, 50, 285, 116));
    SendDeleteRequest(0);
    ASSERT_TRUE(PumpUntil(gui::EventCloseWindow, -1, 1000));
    EXPECT_EQ(gui::fltk::GetWindowTitle(0), "MP3 Klingtal");  // still there: the program decides
    // Disabled, it ignores the request, as a disabled window does.
    gui::SetWindowEnabled(0, false);
    SendDeleteRequest(0);
    EXPECT_FALSE(PumpUntil(gui::EventCloseWindow, -1, 300));
}

TEST_F(FltkWindow, AWindowManagerThatHasGoneIsNotTakenForARunningOne) {
    const bool running = HaveWindowManager();
    const unsigned long check = RootWmCheck();
    SetRootWmCheck(GoneWindow());  // what a crashed window manager leaves on the root window
    EXPECT_FALSE(HaveWindowManager());
    SetRootWmCheck(check);
    EXPECT_EQ(HaveWindowManager(), running);
}

TEST_F(FltkWindow, TerminationSignalsAskTheFirstWindowToClose) {
    ASSERT_TRUE(Open(0, 50, 50, 285, 116));
    ASSERT_TRUE(Open(1, 300, 200, 300, 140, false));
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(signal);
        std::raise(signal);  // caught: the test process goes on
        const std::vector<gui::Event> events = Pump(100);
        ASSERT_EQ(events.size(), 1u);
        EXPECT_EQ(events[0].type, gui::EventCloseWindow);
        EXPECT_EQ(events[0].window, 0);
    }
}

TEST_F(FltkWindow, WaitingForAnEventEndsWithTheEventOrTheTime) {
    ASSERT_TRUE(Open(0, 50, 50, 285, 116));
    Pump(50);
    using Clock = std::chrono::steady_clock;
    auto start = Clock::now();
    gui::WaitForEvent(150);
    EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(145));
    EXPECT_EQ(gui::PollEvent().type, gui::EventNone);

    // A close request from the window manager ends the wait early and stays queued.
    SendDeleteRequest(0);
    start = Clock::now();
    gui::WaitForEvent(2000);
    EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(1500));
    EXPECT_EQ(gui::PollEvent().type, gui::EventCloseWindow);
}

// An idle program waits without a time limit: a watched descriptor (the mixer, the media
// controls) and a window event each end the wait at once.
TEST_F(FltkWindow, AWaitWithoutLimitEndsWithAWatchedDescriptorOrAnEvent) {
    ASSERT_TRUE(Open(0, 50, 50, 285, 116));
    Pump(50);
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    bool served = false;
    ASSERT_TRUE(gui::WatchInput(fds[0], [&] {
        char c = 0;
        served = read(fds[0], &c, 1) == 1;
    }));
    using Clock = std::chrono::steady_clock;
    std::thread writer([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        EXPECT_EQ(write(fds[1], "x", 1), 1);
    });
    auto start = Clock::now();
    gui::WaitForEvent(-1);
    const auto waited = Clock::now() - start;
    writer.join();
    EXPECT_TRUE(served);
    EXPECT_GE(waited, std::chrono::milliseconds(90));
    EXPECT_LT(waited, std::chrono::milliseconds(600));
    gui::UnwatchInput(fds[0]);
    close(fds[0]);
    close(fds[1]);

    SendDeleteRequest(0);
    start = Clock::now();
    gui::WaitForEvent(-1);
    EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(1500));
    EXPECT_EQ(gui::PollEvent().type, gui::EventCloseWindow);
}

TEST_F(FltkWindow, LeftButtonEventsWithClientMousePositionAndKeys) {
    ASSERT_TRUE(Open(1, 300, 200, 300, 140, false));
    gui::GadgetSpec button;
    button.number = 101;
    button.kind = gui::GadgetKind::DefaultButton;
    button.x = 210;
    button.y = 112;
    button.width = 75;
    button.height = 20;
    button.text = "Ok";
    ASSERT_TRUE(gui::CreateGadget(button));
    gui::GadgetSpec frame;
    frame.number = 108;
    frame.kind = gui::GadgetKind::SunkenFrame;
    frame.x = 5;
    frame.y = 55;
    frame.width = 190;
    frame.height = 35;
    ASSERT_TRUE(gui::CreateGadget(frame));
    Pump(100);

    ClickAt(1, 40, 70);  // over the frame: frames take no clicks
    const auto events = Pump(150);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].type, gui::EventLeftButtonDown);
    EXPECT_EQ(events[0].window, 1);
    EXPECT_EQ(events[1].type, gui::EventLeftButtonUp);
    EXPECT_EQ(gui::WindowMouseX(1), 40);
    EXPECT_EQ(gui::WindowMouseY(1), 70);

    // Over the button too, as the Windows message loop sees it (a press on the volume knob
    // starts its drag); the button's own event comes after the release.
    ClickAt(1, 240, 120);
    const auto onButton = Pump(150);
    ASSERT_EQ(onButton.size(), 3u);
    EXPECT_EQ(onButton[0].type, gui::EventLeftButtonDown);
    EXPECT_EQ(onButton[1].type, gui::EventLeftButtonUp);
    EXPECT_EQ(onButton[2].type, gui::EventGadget);
    EXPECT_EQ(onButton[2].gadget, 101);

    // A drag that starts on the button: the position follows the pointer while it is held.
    int ox = 0, oy = 0;
    ClientOrigin(1, ox, oy);
    Xdotool("mousemove " + std::to_string(ox + 220) + " " + std::to_string(oy + 120) +
            " mousedown 1");
    Pump(50);
    Xdotool("mousemove " + std::to_string(ox + 260) + " " + std::to_string(oy + 118));
    Pump(50);
    EXPECT_EQ(gui::WindowMouseX(1), 260);
    EXPECT_EQ(gui::WindowMouseY(1), 118);
    Xdotool("mouseup 1");
    const auto drag = Pump(150);
    ASSERT_FALSE(drag.empty());
    EXPECT_EQ(drag.front().type, gui::EventLeftButtonUp);

    // Return and Escape act like the chosen button; without one, Escape closes nothing.
    Xdotool("key --window " + std::to_string(XidOf(1)) + " Escape");
    EXPECT_TRUE(Pump(100).empty());
    gui::SetEnterEscapeButton(1, 101);
    Xdotool("key --window " + std::to_string(XidOf(1)) + " Escape");
    auto keys = Pump(100);
    ASSERT_EQ(keys.size(), 1u);
    EXPECT_EQ(keys[0].gadget, 101);
    Xdotool("key --window " + std::to_string(XidOf(1)) + " Return");
    keys = Pump(100);
    ASSERT_EQ(keys.size(), 1u);
    EXPECT_EQ(keys[0].gadget, 101);

    // A disabled window takes no input at all.
    gui::SetWindowEnabled(1, false);
    ClickAt(1, 240, 120);
    ClickAt(1, 40, 70);
    EXPECT_TRUE(Pump(100).empty());
}
