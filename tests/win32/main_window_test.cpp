// The program's own main window built on the native controls: every gadget is a control with
// its number where the program placed it, the kinds that matter have their native styles, the
// tooltips are there, and the settings show (transparency only on Windows XP, extended mode,
// the minimised title).
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "platform/gui.h"
#include "ui/about_window.h"
#include "ui/gadgets.h"
#include "ui/keys.h"
#include "ui/main_window.h"
#include "volume/mixer.h"

namespace {

constexpr int MainGadgets[] = {0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  11, 12, 13, 14,
                               15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 29, 30,
                               31, 32, 33, 34, 35, 36, 37, 38, 39, 41, 42, 43, 44, 45};

class MainWindowTest : public ::testing::Test {
  protected:
    void Start(std::string_view osName, int transparency = 255, int optionOn = 0) {
        ui::Options options;
        options.WindowX = 120;
        options.WindowY = 90;
        options.Transparency = transparency;
        options.OptionOn = optionOn;
        ASSERT_TRUE(ui::StartMainWindow(options, "C:\\Musik\\", 0, osName, 0, minimised_));
        main_ = FindWindowW(L"KlingtalWindow", L"MP3 Klingtal");
        ASSERT_NE(main_, nullptr);
    }
    void TearDown() override {
        gui::CloseWindow(ui::MainWindow);
        while (gui::PollEvent().type != gui::EventNone) {
        }
    }
    // The control that has the number now (the last created with it).
    HWND Control(int id) const {
        HWND found = nullptr;
        for (HWND c = GetWindow(main_, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) {
            if (GetDlgCtrlID(c) == id) found = c;
        }
        return found;
    }
    std::wstring Title() const {
        wchar_t text[64] = {};
        GetWindowTextW(main_, text, 64);
        return text;
    }
    DWORD Style(int id) const { return static_cast<DWORD>(GetWindowLongW(Control(id), GWL_STYLE)); }
    DWORD ExStyle(int id) const {
        return static_cast<DWORD>(GetWindowLongW(Control(id), GWL_EXSTYLE));
    }
    std::wstring ClassOf(int id) const {
        wchar_t name[64] = {};
        GetClassNameW(Control(id), name, 64);
        return CharLowerW(name);
    }

    int minimised_ = 0;
    HWND main_ = nullptr;
};

TEST_F(MainWindowTest, EveryGadgetIsANativeControlWhereTheProgramPutIt) {
    Start("Windows unbekannt");
    RECT client{};
    GetClientRect(main_, &client);
    EXPECT_EQ(client.right, ui::MainInnerWidth);
    EXPECT_EQ(client.bottom, ui::MainInnerHeight);
    for (int id : MainGadgets) {
        SCOPED_TRACE(id);
        HWND control = Control(id);
        ASSERT_NE(control, nullptr);
        RECT r{};
        GetWindowRect(control, &r);
        MapWindowPoints(nullptr, main_, reinterpret_cast<POINT*>(&r), 2);
        gui::Rect wanted = gui::GadgetRect(id);
        EXPECT_EQ(r.left, wanted.x);
        EXPECT_EQ(r.top, wanted.y);
        EXPECT_EQ(r.right - r.left, wanted.width);
        if (id != ui::SongChoice) {
            EXPECT_EQ(r.bottom - r.top, wanted.height);
        }
    }
    // Both "rate" labels stay.
    int labels = 0;
    for (HWND c = GetWindow(main_, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) {
        labels += GetDlgCtrlID(c) == ui::RateLabel && IsWindowVisible(c);
    }
    EXPECT_EQ(labels, 2);
}

TEST_F(MainWindowTest, KindsCarryTheirNativeStyles) {
    Start("Windows unbekannt");
    EXPECT_EQ(ClassOf(ui::FolderDisplay), L"edit");
    EXPECT_NE(ExStyle(ui::FolderDisplay) & WS_EX_CLIENTEDGE, 0u);
    EXPECT_EQ(Style(ui::FolderButton) & 0xF, DWORD{BS_DEFPUSHBUTTON});
    for (int toggle : {ui::AllToggle, ui::RepeatToggle, ui::RandomToggle}) {
        EXPECT_EQ(Style(toggle) & (0xF | BS_PUSHLIKE), DWORD{BS_AUTOCHECKBOX | BS_PUSHLIKE});
    }
    for (int image : {ui::PlayButton, ui::StopButton, ui::MuteButton, ui::AboutButton}) {
        EXPECT_NE(Style(image) & BS_BITMAP, 0u) << image;
    }
    EXPECT_EQ(Style(ui::VolumeKnob) & (0xF | BS_BITMAP), DWORD{BS_OWNERDRAW});
    EXPECT_EQ(ClassOf(ui::SongChoice), L"combobox");
    EXPECT_EQ(Style(ui::SongChoice) & 0xF, DWORD{CBS_DROPDOWNLIST});
    EXPECT_EQ(ClassOf(ui::PositionSlider), L"msctls_trackbar32");
    EXPECT_NE(Style(ui::PositionSlider) & TBS_NOTICKS, 0u);
    EXPECT_EQ(SendMessageW(Control(ui::PositionSlider), TBM_GETRANGEMAX, 0, 0), 500);
    EXPECT_EQ(SendMessageW(Control(ui::TransparencySlider), TBM_GETRANGEMAX, 0, 0), 255);
    EXPECT_EQ(Style(ui::ElapsedText) & SS_TYPEMASK, DWORD{SS_CENTER});
    EXPECT_EQ(Style(ui::SongNumberText) & SS_TYPEMASK, DWORD{SS_RIGHT});
    EXPECT_NE(ExStyle(ui::PositionFrame) & WS_EX_CLIENTEDGE, 0u);
    EXPECT_NE(ExStyle(ui::BitrateFrame) & WS_EX_STATICEDGE, 0u);
    EXPECT_EQ(Style(ui::TransparencyGroup) & 0xF, DWORD{BS_GROUPBOX});
    EXPECT_EQ(Style(ui::RememberPositionOption) & (0xF | WS_GROUP),
              DWORD{BS_AUTORADIOBUTTON | WS_GROUP});
    EXPECT_NE(Style(ui::FolderDisplay) & ES_READONLY, 0u);
    EXPECT_EQ(Style(ui::CentredOption) & (0xF | WS_GROUP), DWORD{BS_AUTORADIOBUTTON});
    EXPECT_FALSE(IsWindowEnabled(Control(ui::PositionSlider)));
    EXPECT_FALSE(IsWindowEnabled(Control(ui::SongChoice)));
    EXPECT_TRUE(IsWindowVisible(Control(ui::MuteButton)));
    EXPECT_FALSE(IsWindowVisible(Control(ui::UnmuteButton)));
    EXPECT_EQ(SendMessageW(Control(ui::AllToggle), BM_GETCHECK, 0, 0), BST_CHECKED);
}

TEST_F(MainWindowTest, TooltipsOnTheControlsThatHaveThem) {
    Start("Windows unbekannt");
    HWND tips = nullptr;
    for (HWND w = GetWindow(GetDesktopWindow(), GW_CHILD); w != nullptr;
         w = GetWindow(w, GW_HWNDNEXT)) {
        wchar_t name[64] = {};
        GetClassNameW(w, name, 64);
        if (lstrcmpiW(name, TOOLTIPS_CLASSW) == 0 && GetWindow(w, GW_OWNER) == main_) tips = w;
    }
    ASSERT_NE(tips, nullptr);
    EXPECT_EQ(SendMessageW(tips, TTM_GETTOOLCOUNT, 0, 0), 20);
    wchar_t text[100] = {};
    TOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.hwnd = main_;
    tool.uId = reinterpret_cast<UINT_PTR>(Control(ui::VolumeKnob));
    tool.lpszText = text;
    SendMessageW(tips, TTM_GETTEXTW, 100, reinterpret_cast<LPARAM>(&tool));
    EXPECT_STREQ(text, L"Lautst\u00e4rkeregler (+/-)");
}

TEST_F(MainWindowTest, TransparencyOnlyOnWindowsXp) {
    Start("Windows unbekannt", 200);
    EXPECT_FALSE(IsWindowVisible(Control(ui::TransparencySlider)));
    EXPECT_FALSE(IsWindowVisible(Control(ui::TransparencyGroup)));
    EXPECT_EQ(GetWindowLongW(main_, GWL_EXSTYLE) & WS_EX_LAYERED, 0);
    TearDown();

    Start("Windows XP", 200, 1);
    EXPECT_TRUE(IsWindowVisible(Control(ui::TransparencySlider)));
    EXPECT_TRUE(IsWindowVisible(Control(ui::TransparencyGroup)));
    EXPECT_EQ(SendMessageW(Control(ui::TransparencySlider), TBM_GETPOS, 0, 0), 200);
    BYTE alpha = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(main_, nullptr, &alpha, nullptr));
    EXPECT_EQ(alpha, 200);
    EXPECT_FALSE(IsWindowVisible(Control(ui::ExpandButton)));
    EXPECT_TRUE(IsWindowVisible(Control(ui::ShrinkButton)));
}

TEST_F(MainWindowTest, MinimisedTitleAndRestoredPosition) {
    Start("Windows unbekannt");
    ShowWindow(main_, SW_MINIMIZE);
    while (gui::PollEvent().type != gui::EventNone) {
    }
    EXPECT_EQ(minimised_, 1);
    EXPECT_EQ(Title(), L"MP3 Kiv");
    gui::Rect where = gui::WindowOuterRect(ui::MainWindow);
    EXPECT_EQ(where.x, 120);
    EXPECT_EQ(where.y, 90);
    ShowWindow(main_, SW_RESTORE);
    while (gui::PollEvent().type != gui::EventNone) {
    }
    EXPECT_EQ(minimised_, 0);
    EXPECT_EQ(Title(), L"MP3 Klingtal");
}

// The pixels of a control that are not the button face: its ink, as the screen shows it.
int InkOf(HWND window, HWND control) {
    RECT r{};
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
    HDC dc = GetDC(window);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    int ink = 0;
    for (int y = r.top; y < r.bottom; ++y) {
        for (int x = r.left; x < r.right; ++x) ink += GetPixel(dc, x, y) != face;
    }
    ReleaseDC(window, dc);
    return ink;
}

TEST_F(MainWindowTest, ReadoutsKeepTheirInkAfterAFullRepaint) {
    Start("Windows unbekannt");
    for (auto [id, text] : {std::pair{ui::SongNumberText, "1"},
                            {ui::SongCountText, "12"},
                            {ui::BitrateValue, "128"},
                            {ui::SampleRateValue, "44"}}) {
        gui::SetGadgetText(id, text);
    }
    gui::SetGadgetEnabled(ui::PositionSlider, true);
    RedrawWindow(main_, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    while (gui::PollEvent().type != gui::EventNone) {
    }
    for (int id : {ui::PositionSlider, ui::SliderStartText, ui::ElapsedText, ui::SongLengthText,
                   ui::SongNumberText, ui::SeparatorText, ui::SongCountText, ui::TotalTimeText,
                   ui::BitrateValue, ui::BitrateUnit, ui::SampleRateValue, ui::SampleRateUnit,
                   ui::RateLabel, ui::VolumeKnob, ui::VolumeTrack}) {
        EXPECT_GT(InkOf(main_, Control(id)), 0) << id;
    }
    // The About window's version and date inside their frame, looked at once it is shown.
    std::vector<int> aboutInk;
    ui::ShowAboutWindow({[](std::string_view) {},
                         [&aboutInk] {
                             HWND about = FindWindowW(L"KlingtalWindow", L"\u00dcber MP3 Klingtal");
                             RedrawWindow(
                                 about, nullptr, nullptr,
                                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
                             for (int id : {ui::AboutVersionText, ui::AboutDateText}) {
                                 aboutInk.push_back(InkOf(about, GetDlgItem(about, id)));
                             }
                             PostMessageW(about, WM_CLOSE, 0, 0);
                             return false;
                         }});
    EXPECT_GT(aboutInk.at(0), 0);
    EXPECT_GT(aboutInk.at(1), 0);
}

// A key as the keyboard delivers it to the focused control; Shift held as the thread sees it.
void Press(UINT key, bool shift = false) {
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_SHIFT] = shift ? 0x80 : 0;
    SetKeyboardState(keys);
    PostMessageW(GetFocus(), WM_KEYDOWN, key, 0);
    PostMessageW(GetFocus(), WM_KEYUP, key, 0xC0000001);
}

TEST_F(MainWindowTest, TabWalksTheVisibleControlsInReadingOrder) {
    Start("Windows unbekannt");
    gui::SetGadgetEnabled(ui::SongChoice, true);
    gui::SetGadgetEnabled(ui::PositionSlider, true);
    SetForegroundWindow(main_);
    SetFocus(Control(ui::FolderDisplay));
    std::vector<int> walked;
    for (int i = 0; i < 17; ++i) {
        Press(VK_TAB);
        while (gui::PollEvent().type != gui::EventNone) {
        }
        walked.push_back(GetDlgCtrlID(GetFocus()));
    }
    // Past the about button the compact window shows no more: round to the start again.
    EXPECT_EQ(walked,
              (std::vector<int>{4, 3, 5, 0, 12, 1, 7, 9, 11, 21, 22, 24, 13, 29, 32, 36, 2}));
    Press(VK_TAB, true);
    while (gui::PollEvent().type != gui::EventNone) {
    }
    EXPECT_EQ(GetDlgCtrlID(GetFocus()), ui::AboutButton);
}

TEST_F(MainWindowTest, LettersClickTheirButtonsAndReturnTheDefaultOne) {
    Start("Windows unbekannt");
    SetFocus(Control(ui::AllToggle));
    for (auto [key, gadget] : {std::pair{'Z', ui::PreviousButton},
                               {'X', ui::PlayButton},
                               {'C', ui::PauseButton},
                               {'V', ui::StopButton},
                               {'B', ui::NextButton},
                               {VK_RETURN, ui::FolderButton}}) {
        Press(key);
        gui::Event event = gui::PollEvent();
        EXPECT_EQ(event.type, gui::EventGadget) << key;
        EXPECT_EQ(event.gadget, gadget) << key;
        while (gui::PollEvent().type != gui::EventNone) {
        }
    }
    EXPECT_EQ(gui::GetGadgetText(ui::FolderDisplay), "C:\\Musik\\");  // nothing typed there
    SetVolume(40000);
    Press(VK_SUBTRACT);
    EXPECT_EQ(gui::PollEvent().gadget, ui::VolumeKnob);  // wakes the loop, which moves the knob
    EXPECT_NEAR(static_cast<double>(GetVolume()), 40000.0 - ui::VolumeKeyStep, 2.0);
}

TEST_F(MainWindowTest, TheFocusedSongListTakesLettersAsTheStartOfAName) {
    Start("Windows unbekannt");
    for (const char* name : {"Abend.mp3", "Bach.mp3", "Xaver.mp3"}) {
        gui::AddGadgetItem(ui::SongChoice, name);
    }
    gui::SetGadgetEnabled(ui::SongChoice, true);
    gui::SetGadgetState(ui::SongChoice, 0);
    SetForegroundWindow(main_);
    SetFocus(Control(ui::SongChoice));
    std::vector<int> gadgets;
    for (UINT key : {'B', 'X'}) {  // next and play anywhere else
        Press(key);
        for (gui::Event e = gui::PollEvent(); e.type != gui::EventNone; e = gui::PollEvent()) {
            if (e.type == gui::EventGadget) gadgets.push_back(e.gadget);
        }
    }
    EXPECT_EQ(gadgets, (std::vector<int>{ui::SongChoice, ui::SongChoice}));
    EXPECT_EQ(gui::GetGadgetState(ui::SongChoice), 2);
}

TEST_F(MainWindowTest, TheSongListHoldsTenThousandNamesAndOpensScrolledToTheCurrentOne) {
    Start("Windows unbekannt");
    for (int i = 1; i <= 10000; ++i) {
        gui::AddGadgetItem(ui::SongChoice, "Lied " + std::to_string(i) + ".mp3");
    }
    gui::SetGadgetEnabled(ui::SongChoice, true);
    HWND combo = Control(ui::SongChoice);
    EXPECT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 10000);
    gui::SetGadgetState(ui::SongChoice, 9998);
    SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetComboBoxInfo(combo, &info));
    EXPECT_TRUE(IsWindowVisible(info.hwndList));
    EXPECT_NE(GetWindowLongW(info.hwndList, GWL_STYLE) & WS_VSCROLL, 0);
    RECT list{};
    GetClientRect(info.hwndList, &list);
    const LRESULT top = SendMessageW(info.hwndList, LB_GETTOPINDEX, 0, 0);
    const LRESULT rows =
        list.bottom / std::max<LRESULT>(1, SendMessageW(info.hwndList, LB_GETITEMHEIGHT, 0, 0));
    EXPECT_LE(top, 9998);
    EXPECT_GT(top + rows, 9998);
    SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
}

TEST_F(MainWindowTest, ImageButtonsAndTheKnobAreNamedByTheirTooltips) {
    Start("Windows unbekannt");
    for (int id : {ui::VolumeKnob, ui::PreviousButton, ui::PlayButton, ui::PauseButton,
                   ui::StopButton, ui::NextButton, ui::MuteButton, ui::UnmuteButton, ui::InfoButton,
                   ui::ExpandButton, ui::ShrinkButton, ui::AboutButton}) {
        wchar_t name[100] = {};
        GetWindowTextW(Control(id), name, 100);
        EXPECT_GT(lstrlenW(name), 3) << id;
    }
    wchar_t stop[100] = {};
    GetWindowTextW(Control(ui::StopButton), stop, 100);
    EXPECT_STREQ(stop, L"Stop (V)");
}

TEST_F(MainWindowTest, ExpandAndShrinkSetTheClientArea) {
    Start("Windows unbekannt");
    RECT client{};
    ui::SetExtendedMode(true);
    GetClientRect(main_, &client);
    EXPECT_EQ(client.right, 285);
    EXPECT_EQ(client.bottom, ui::ExtendedInnerHeight);
    ui::SetExtendedMode(false);
    GetClientRect(main_, &client);
    EXPECT_EQ(client.right, 285);
    EXPECT_EQ(client.bottom, 116);
}

TEST_F(MainWindowTest, NamesTheSmallFontLacksShowInTheMessageFont) {
    Start("Windows unbekannt");
    auto fontOf = [this](int id) { return SendMessageW(Control(id), WM_GETFONT, 0, 0); };
    const LRESULT small = fontOf(ui::FolderDisplay);
    gui::AddGadgetItem(ui::SongChoice, "Lied.mp3");
    EXPECT_EQ(fontOf(ui::SongChoice), small);
    gui::AddGadgetItem(ui::SongChoice,
                       "\xD0\x9C\xD0\xB5\xD0\xBB\xD0\xBE\xD0\xB4\xD0\xB8\xD1\x8F.mp3");
    EXPECT_NE(fontOf(ui::SongChoice), small);
    gui::ClearGadgetItems(ui::SongChoice);
    EXPECT_EQ(fontOf(ui::SongChoice), small);
    gui::SetGadgetText(ui::FolderDisplay, "C:\\\xD0\x9C\xD1\x83\xD0\xB7\xD1\x8B\xD0\xBA\xD0\xB0\\");
    EXPECT_NE(fontOf(ui::FolderDisplay), small);
}

TEST_F(MainWindowTest, AnOwnedWindowHasItsOwner) {
    Start("Windows unbekannt");
    gui::WindowSpec about;
    about.number = ui::AboutWindow;
    about.innerWidth = 300;
    about.innerHeight = 140;
    about.title = "Über MP3 Klingtal";
    about.owner = ui::MainWindow;
    ASSERT_TRUE(gui::OpenWindow(about));
    HWND window = FindWindowW(L"KlingtalWindow", L"\u00dcber MP3 Klingtal");
    EXPECT_EQ(GetWindow(window, GW_OWNER), main_);
    gui::CloseWindow(ui::AboutWindow);
}

}  // namespace
