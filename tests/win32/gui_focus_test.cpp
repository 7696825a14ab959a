// The window's keys never go dead: a control keeps the focus when the one that had it is
// disabled or hidden, when its window is disabled and enabled again, when an owned window
// closes, and a window whose focus got lost anyway still takes its keys.
#include <windows.h>

#include <functional>
#include <string>

#include "tests/win32/gui_fixture.h"

namespace {

using gui::GadgetKind;

class GuiFocusTest : public GuiWindowTest {
  protected:
    void SetUp() override {
        GuiWindowTest::SetUp();
        ASSERT_TRUE(gui::CreateGadget(Spec(4, GadgetKind::DefaultButton, 221, 2, 60, 15, "V")));
        ASSERT_TRUE(gui::CreateGadget(Spec(0, GadgetKind::ImageButton, 21, 79, 18, 16)));
        gui::GadgetSpec slider = Spec(13, GadgetKind::Slider, 4, 44, 212, 18);
        slider.maximum = 500;
        ASSERT_TRUE(gui::CreateGadget(slider));
        gui::SetKeyCallback(0, [this](char key) {
            typed_ += key;
            return true;
        });
        SetForegroundWindow(main_);
        Drain();
    }

    // A letter as the keyboard delivers it: to the focused control, or, with the focus nowhere,
    // as a system key to the active window.
    std::string Type(WPARAM key) {
        typed_.clear();
        HWND focus = GetFocus();
        if (focus != nullptr) {
            PostMessageW(focus, WM_KEYDOWN, key, 1);
        } else {
            PostMessageW(GetActiveWindow(), WM_SYSKEYDOWN, key, 1);
        }
        Drain();
        return typed_;
    }

    std::string typed_;
};

TEST_F(GuiFocusTest, TheKeysWorkAfterEveryWayTheFocusCanGo) {
    struct Case {
        const char* name;
        int focused;  // the gadget holding the focus before
        std::function<void()> change;
    };
    const Case cases[] = {
        {"window disabled and enabled", 0,
         [] {
             gui::SetWindowEnabled(0, false);
             gui::SetWindowEnabled(0, true);
         }},
        {"focused button disabled", 4, [] { gui::SetGadgetEnabled(4, false); }},
        {"focused slider disabled", 13, [] { gui::SetGadgetEnabled(13, false); }},
        {"focused button hidden", 0, [] { gui::SetGadgetVisible(0, false); }},
        {"focus lost", 0, [] { SetFocus(nullptr); }},
    };
    for (const Case& c : cases) {
        for (int gadget : {0, 4, 13}) {
            gui::SetGadgetEnabled(gadget, true);
            gui::SetGadgetVisible(gadget, true);
        }
        SetFocus(Control(c.focused));
        c.change();
        EXPECT_EQ(Type('X'), "x") << c.name;
        EXPECT_TRUE(GetFocus() != nullptr && IsChild(main_, GetFocus())) << c.name;
        EXPECT_TRUE(IsWindowEnabled(GetFocus())) << c.name;
    }
    // Back after the window was disabled: the control that had the focus.
    SetFocus(Control(13));
    gui::SetWindowEnabled(0, false);
    gui::SetWindowEnabled(0, true);
    EXPECT_EQ(GetFocus(), Control(13));
}

TEST_F(GuiFocusTest, AnOwnedWindowGivesItsOwnerBackEnabledAndFocused) {
    SetFocus(Control(13));
    gui::WindowSpec about;
    about.number = 1;
    about.innerWidth = 300;
    about.innerHeight = 140;
    about.title = "Über";
    about.owner = 0;
    ASSERT_TRUE(gui::OpenWindow(about));
    ASSERT_TRUE(gui::CreateGadget(Spec(101, GadgetKind::DefaultButton, 210, 112, 75, 20, "Ok")));
    gui::SetWindowEnabled(0, false);
    SetForegroundWindow(FindWindowW(L"KlingtalWindow", L"\u00dcber"));
    Drain();
    // The owner enabled only afterwards, as a modal window's caller does.
    gui::CloseWindow(1);
    const bool enabledAtOnce = IsWindowEnabled(main_) != FALSE;
    gui::SetWindowEnabled(0, true);
    gui::UseWindow(0);
    Drain();
    EXPECT_TRUE(enabledAtOnce);
    EXPECT_EQ(GetActiveWindow(), main_);
    EXPECT_EQ(GetFocus(), Control(13));
    EXPECT_EQ(Type('B'), "b");
}

}  // namespace
