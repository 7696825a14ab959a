// Window messages to the program's events, and the window itself: style and client size,
// topmost, transparency, minimising, closing and the mouse.
#include <windows.h>

#include <commctrl.h>

#include "tests/win32/gui_fixture.h"

namespace {

using gui::GadgetKind;

bool HasEvent(const std::vector<gui::Event>& events, int type, int gadget = -1) {
    for (const gui::Event& e : events) {
        if (e.type == type && e.window == 0 && (gadget < 0 || e.gadget == gadget)) return true;
    }
    return false;
}

TEST_F(GuiWindowTest, WindowHasTheClassicStyleAndClientSize) {
    // Windows adds WS_CLIPSIBLINGS to every window with a caption.
    EXPECT_EQ(StyleOf(main_) & 0xFFFF0000u & ~DWORD{WS_CLIPSIBLINGS}, 0x10CA0000u);
    RECT client{};
    GetClientRect(main_, &client);
    EXPECT_EQ(client.right, 285);
    EXPECT_EQ(client.bottom, 116);
    gui::Rect outer = gui::WindowOuterRect(0);
    EXPECT_EQ(outer.x, 100);
    EXPECT_EQ(outer.y, 80);
    EXPECT_EQ(TextOf(main_), L"MP3 Klingtal");

    gui::ResizeWindowInner(0, 285, 162);
    GetClientRect(main_, &client);
    EXPECT_EQ(client.right, 285);
    EXPECT_EQ(client.bottom, 162);
    RECT r{};
    GetWindowRect(main_, &r);
    EXPECT_EQ(r.left, 100);  // not moved
    EXPECT_EQ(r.top, 80);
}

TEST_F(GuiWindowTest, ClicksComeOutAsGadgetEvents) {
    ASSERT_TRUE(gui::CreateGadget(Spec(0, GadgetKind::Button, 21, 79, 18, 16)));
    ASSERT_TRUE(gui::CreateGadget(Spec(21, GadgetKind::Toggle, 162, 79, 23, 16, "Zuf.")));
    ASSERT_TRUE(gui::CreateGadget(Spec(43, GadgetKind::CheckBox, 135, 117, 140, 12, "U")));
    ASSERT_TRUE(gui::CreateGadget(Spec(2, GadgetKind::Field, 2, 2, 215, 15)));
    Drain();

    SendMessageW(Control(0), BM_CLICK, 0, 0);
    std::vector<gui::Event> events = Drain();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].type, gui::EventGadget);
    EXPECT_EQ(events[0].gadget, 0);
    EXPECT_EQ(events[0].window, 0);

    // A toggle changes its state before the program hears of the click.
    SendMessageW(Control(21), BM_CLICK, 0, 0);
    EXPECT_TRUE(HasEvent(Drain(), gui::EventGadget, 21));
    EXPECT_EQ(gui::GetGadgetState(21), 1);
    SendMessageW(Control(43), BM_CLICK, 0, 0);
    EXPECT_TRUE(HasEvent(Drain(), gui::EventGadget, 43));
    EXPECT_EQ(gui::GetGadgetState(43), 1);

    // Text put into the field by the program is not a command.
    gui::SetGadgetText(2, "C:\\Musik\\");
    EXPECT_TRUE(Drain().empty());
}

TEST_F(GuiWindowTest, OptionsExcludeEachOtherWithinTheirGroup) {
    gui::GadgetSpec first = Spec(37, GadgetKind::Option, 5, 133, 122, 12, "merken");
    first.startsGroup = true;
    ASSERT_TRUE(gui::CreateGadget(first));
    ASSERT_TRUE(gui::CreateGadget(Spec(38, GadgetKind::Option, 5, 148, 122, 12, "Mitte")));
    gui::SetGadgetState(37, 1);
    EXPECT_EQ(gui::GetGadgetState(37), 1);
    gui::SetGadgetState(38, 1);
    EXPECT_EQ(gui::GetGadgetState(37), 0);
    SendMessageW(Control(37), BM_CLICK, 0, 0);
    EXPECT_TRUE(HasEvent(Drain(), gui::EventGadget, 37));
    EXPECT_EQ(gui::GetGadgetState(37), 1);
    EXPECT_EQ(gui::GetGadgetState(38), 0);
}

// A press on the trackbar's channel beside the thumb moves the thumb there at once, reported as
// a move; the control alone would only page towards the point.
TEST_F(GuiWindowTest, PressOnTheTrackbarChannelMovesThere) {
    gui::GadgetSpec slider = Spec(13, GadgetKind::Slider, 4, 44, 212, 18);
    slider.maximum = 500;
    ASSERT_TRUE(gui::CreateGadget(slider));
    Drain();
    HWND track = Control(13);
    RECT channel{};
    SendMessageW(track, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
    const LPARAM point = MAKELPARAM(channel.left + (channel.right - channel.left) * 3 / 4, 9);
    PostMessageW(track, WM_LBUTTONDOWN, MK_LBUTTON, point);
    PostMessageW(track, WM_LBUTTONUP, 0, point);
    EXPECT_TRUE(HasEvent(Drain(), gui::EventGadget, 13));
    EXPECT_NEAR(gui::GetGadgetState(13), 375, 15);
}

TEST_F(GuiWindowTest, TrackbarAndDropDownNotificationsAreEvents) {
    gui::GadgetSpec slider = Spec(13, GadgetKind::Slider, 4, 44, 212, 18);
    slider.maximum = 500;
    ASSERT_TRUE(gui::CreateGadget(slider));
    ASSERT_TRUE(gui::CreateGadget(Spec(3, GadgetKind::DropDown, 2, 20, 280, 160)));
    gui::AddGadgetItem(3, "eins.mp3");
    gui::AddGadgetItem(3, "zwei.mp3");
    Drain();

    // What a trackbar sends its parent while dragged, and when the drag ends.
    HWND track = Control(13);
    SendMessageW(track, TBM_SETPOS, TRUE, 250);
    SendMessageW(main_, WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, 250),
                 reinterpret_cast<LPARAM>(track));
    SendMessageW(main_, WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0), reinterpret_cast<LPARAM>(track));
    std::vector<gui::Event> events = Drain();
    ASSERT_EQ(events.size(), 1u);  // the end of the drag repeats nothing
    EXPECT_EQ(events[0].gadget, 13);
    EXPECT_EQ(gui::GetGadgetState(13), 250);
    // Setting the slider from the program is silent.
    gui::SetGadgetState(13, 100);
    EXPECT_TRUE(Drain().empty());

    // The user picks an item: the list box selects and tells its parent.
    HWND combo = Control(3);
    SendMessageW(combo, CB_SETCURSEL, 1, 0);
    SendMessageW(main_, WM_COMMAND, MAKEWPARAM(3, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
    SendMessageW(main_, WM_COMMAND, MAKEWPARAM(3, CBN_DROPDOWN), reinterpret_cast<LPARAM>(combo));
    events = Drain();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].gadget, 3);
    EXPECT_EQ(gui::GetGadgetText(3), "zwei.mp3");
}

TEST_F(GuiWindowTest, MouseButtonsAreReportedForControlsToo) {
    ASSERT_TRUE(gui::CreateGadget(Spec(24, GadgetKind::Button, 210, 79, 9, 16)));
    Drain();
    // Posted, as the system queues them: a press on the knob button, then the release.
    PostMessageW(Control(24), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 8));
    PostMessageW(Control(24), WM_LBUTTONUP, 0, MAKELPARAM(4, 8));
    std::vector<gui::Event> events = Drain();
    EXPECT_TRUE(HasEvent(events, gui::EventLeftButtonDown));
    EXPECT_TRUE(HasEvent(events, gui::EventLeftButtonUp));
    EXPECT_TRUE(HasEvent(events, gui::EventGadget, 24));  // and the button was clicked

    // Mouse positions: the client point plus the frame and caption metrics, which the program
    // takes off again, whatever the real frame measures.
    POINT origin{0, 0};
    ClientToScreen(main_, &origin);
    SetCursorPos(origin.x + 40, origin.y + 30);
    EXPECT_EQ(gui::WindowMouseX(0) - gui::SystemMetric(33), 40);
    EXPECT_EQ(gui::WindowMouseY(0) - gui::SystemMetric(4), 30);
    EXPECT_EQ(gui::SystemMetric(4), GetSystemMetrics(SM_CYCAPTION));
    EXPECT_EQ(gui::SystemMetric(33), GetSystemMetrics(SM_CYFRAME));  // metric 33
}

TEST_F(GuiWindowTest, ReturnAndEscapePressTheChosenButton) {
    ASSERT_TRUE(gui::CreateGadget(Spec(101, GadgetKind::DefaultButton, 210, 112, 75, 20, "Ok")));
    Drain();
    PostMessageW(main_, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(Drain().empty());  // not chosen yet
    gui::SetEnterEscapeButton(0, 101);
    PostMessageW(main_, WM_KEYDOWN, VK_RETURN, 0);
    PostMessageW(Control(101), WM_KEYDOWN, VK_ESCAPE, 0);
    std::vector<gui::Event> events = Drain();
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].gadget, 101);
    EXPECT_EQ(events[1].gadget, 101);
}

TEST_F(GuiWindowTest, CloseRequestIsAnEventAndTheWindowStays) {
    PostMessageW(main_, WM_CLOSE, 0, 0);
    std::vector<gui::Event> events = Drain();
    EXPECT_TRUE(HasEvent(events, gui::EventCloseWindow));
    EXPECT_TRUE(IsWindow(main_));
}

TEST_F(GuiWindowTest, SessionEndRunsTheCallbackOnceBeforeTheMessageReturns) {
    int calls = 0;
    gui::SetSessionEndCallback([&calls] { ++calls; });
    SendMessageW(main_, WM_ENDSESSION, FALSE, 0);  // the session goes on
    EXPECT_EQ(calls, 0);
    SendMessageW(main_, WM_ENDSESSION, TRUE, 0);
    EXPECT_EQ(calls, 1);
    SendMessageW(main_, WM_ENDSESSION, TRUE, 0);  // another window of the program
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(Drain().empty());
}

TEST_F(GuiWindowTest, MinimisedWindowReportsWhereItWillComeBack) {
    std::vector<bool> calls;
    gui::SetSizeCallback(0, [&calls](bool minimised) { calls.push_back(minimised); });
    ShowWindow(main_, SW_MINIMIZE);
    Drain();
    ASSERT_TRUE(IsIconic(main_));
    gui::Rect rect = gui::WindowOuterRect(0);
    EXPECT_EQ(rect.x, 100);  // not -32000
    EXPECT_EQ(rect.y, 80);
    ShowWindow(main_, SW_RESTORE);
    Drain();
    ASSERT_GE(calls.size(), 2u);
    EXPECT_TRUE(calls.front());
    EXPECT_FALSE(calls.back());
}

TEST_F(GuiWindowTest, TopmostAndTransparency) {
    gui::SetWindowTopmost(0, true);
    EXPECT_NE(ExStyleOf(main_) & WS_EX_TOPMOST, 0u);
    gui::SetWindowTopmost(0, false);
    EXPECT_EQ(ExStyleOf(main_) & WS_EX_TOPMOST, 0u);

    gui::SetWindowOpacity(0, 180);
    // Only the layered style is left, apart from the edge Windows gives every captioned window.
    EXPECT_EQ(ExStyleOf(main_) & ~DWORD{WS_EX_WINDOWEDGE}, DWORD{WS_EX_LAYERED});
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(main_, nullptr, &alpha, &flags));
    EXPECT_EQ(alpha, 180);
    EXPECT_EQ(flags, DWORD{LWA_ALPHA});
    gui::SetWindowOpacity(0, 999);  // kept inside 0..255
    ASSERT_TRUE(GetLayeredWindowAttributes(main_, nullptr, &alpha, &flags));
    EXPECT_EQ(alpha, 255);
}

TEST_F(GuiWindowTest, SecondWindowTakesGadgetsUntilClosed) {
    gui::WindowSpec about;
    about.number = 1;
    about.innerWidth = 300;
    about.innerHeight = 140;
    about.title = "Über MP3 Klingtal";
    about.screenCentred = true;
    ASSERT_TRUE(gui::OpenWindow(about));
    EXPECT_EQ(gui::CurrentWindow(), 1);
    EXPECT_FALSE(gui::OpenWindow(about));  // already open
    ASSERT_TRUE(gui::CreateGadget(Spec(101, GadgetKind::DefaultButton, 210, 112, 75, 20, "Ok")));
    HWND aboutHwnd = FindWindowW(L"KlingtalWindow", L"\u00dcber MP3 Klingtal");
    ASSERT_NE(aboutHwnd, nullptr);
    EXPECT_EQ(StyleOf(aboutHwnd) & WS_MINIMIZEBOX, 0u);
    RECT r{};
    GetWindowRect(aboutHwnd, &r);
    EXPECT_NEAR((r.left + r.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);

    gui::SetWindowEnabled(0, false);
    EXPECT_FALSE(IsWindowEnabled(main_));
    gui::CloseWindow(1);
    gui::SetWindowEnabled(0, true);
    gui::UseWindow(0);
    EXPECT_FALSE(IsWindow(aboutHwnd));
    EXPECT_EQ(gui::GetGadgetText(101), "");  // went with its window
    EXPECT_EQ(gui::CurrentWindow(), 0);
}

}  // namespace
