// The keyboard on a real display: Tab and Shift+Tab walk the window's Tab order, passing over
// what is disabled or beyond the client area, and the window's keys reach its key callback
// whichever control has the focus, the read-only field included.
#include <gtest/gtest.h>

#include "platform/gui.h"
#include "platform/posix/gui/state.h"
#include "tests/integration/fltk/fltk_support.h"

#include <FL/Fl.H>

#include <string>
#include <tuple>
#include <vector>

using namespace fltk_test;

namespace {

gui::GadgetSpec Gadget(int number, gui::GadgetKind kind, int x, int y) {
    return {.number = number,
            .kind = kind,
            .x = x,
            .y = y,
            .width = 60,
            .height = 16,
            .text = {'G', static_cast<char>('0' + number)}};
}

int Focused() {
    for (const auto& [number, gadget] : gui::fltk::TheState().gadgets) {
        if (gadget.widget == Fl::focus()) return number;
    }
    return -1;
}

TEST(FltkKeys, TabFollowsTheOrderAndTheWindowsKeysReachItsCallback) {
    const gui::WindowSpec spec{.number = 0,
                               .x = 80,
                               .y = 80,
                               .innerWidth = 285,
                               .innerHeight = 116,
                               .title = "Tasten",
                               .minimiseBox = true};
    ASSERT_TRUE(gui::OpenWindow(spec));
    for (auto [number, kind, x, y] : {std::tuple{1, gui::GadgetKind::Button, 2, 2},
                                      {2, gui::GadgetKind::Field, 70, 2},
                                      {3, gui::GadgetKind::ImageButton, 140, 2},
                                      {4, gui::GadgetKind::Button, 210, 2},
                                      {5, gui::GadgetKind::CheckBox, 2, 130},
                                      {6, gui::GadgetKind::Button, 2, 40}}) {
        ASSERT_TRUE(gui::CreateGadget(Gadget(number, kind, x, y)));
    }
    gui::SetGadgetEnabled(4, false);
    gui::SetTabOrder(0, {2, 3, 1, 4, 5});  // 4 disabled, 5 below the client area, 6 not named
    std::string keys;
    gui::SetKeyCallback(0, [&keys](char key) {
        keys += key;
        return key != 'q';
    });
    Pump(200);
    const std::string window = std::to_string(XidOf(0));
    ASSERT_TRUE(Xdotool("windowfocus --sync " + window));
    std::vector<int> walked;
    for (const char* key : {"Tab", "Tab", "Tab", "Tab", "shift+Tab"}) {
        Xdotool("key --window " + window + " " + key);
        Pump(100);
        walked.push_back(Focused());
    }
    EXPECT_EQ(walked, (std::vector<int>{2, 3, 1, 2, 1}));
    Xdotool("key --window " + window + " Tab z plus minus KP_Add q");  // the field has the focus
    Pump(200);
    EXPECT_EQ(Focused(), 2);
    EXPECT_EQ(keys, "z+-+q");
    EXPECT_EQ(gui::GetGadgetText(2), "G2");
    gui::CloseWindow(0);
    Pump(50);
}

}  // namespace
