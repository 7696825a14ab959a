// Gadgets on a real display: every kind takes its caption and state, user clicks and drags
// give the events the program expects, options keep to their groups, tooltips show over
// disabled controls, drop-down items are shown as given and added quickly, and a drop onto the
// window is its target's click.
#include <gtest/gtest.h>

#include "platform/gui.h"
#include "platform/posix/gui/inspect.h"
#include "platform/posix/gui/state.h"
#include "platform/posix/gui/widgets.h"
#include "tests/integration/fltk/fltk_support.h"

#include <FL/Fl.H>
#include <FL/Fl_Tooltip.H>
#include <FL/Fl_Widget.H>
#include <FL/fl_draw.H>

#include <chrono>
#include <cstring>
#include <utility>
#include <vector>

using namespace fltk_test;

namespace {

class FltkGadgets : public testing::Test {
  protected:
    void SetUp() override {
        gui::WindowSpec spec;
        spec.number = 0;
        spec.x = 60;
        spec.y = 60;
        spec.innerWidth = 285;
        spec.innerHeight = 186;
        spec.title = "MP3 Klingtal";
        spec.minimiseBox = true;
        ASSERT_TRUE(gui::OpenWindow(spec));
    }
    void TearDown() override {
        gui::CloseWindow(0);
        Pump(50);
    }
    static void Make(int number, gui::GadgetKind kind, int x, int y, int w, int h,
                     const std::string& text = "", bool startsGroup = false) {
        gui::GadgetSpec spec;
        spec.number = number;
        spec.kind = kind;
        spec.x = x;
        spec.y = y;
        spec.width = w;
        spec.height = h;
        spec.text = text;
        spec.smallFont = true;
        spec.startsGroup = startsGroup;
        spec.minimum = 0;
        spec.maximum = 500;
        ASSERT_TRUE(gui::CreateGadget(spec));
    }
    // What FLTK does when a file manager drops text: the drag and the release to the widget
    // under the pointer (the window over its empty area), then the text to the widget that
    // took the release; a refused drag gets the text too, which must change nothing. Returns
    // whether the drag was accepted and the gadget events that follow.
    static std::pair<bool, std::vector<int>> DropText(const char* text, int under = -1) {
        Fl_Window* window = gui::fltk::FindWindow(0)->window;
        Fl_Widget* widget = under < 0 ? window : gui::fltk::FindGadget(under)->widget;
        Fl::e_x = 150;  // the empty area
        Fl::e_y = 170;
        const bool accepted = widget->handle(FL_DND_ENTER) == 1 &&
                              widget->handle(FL_DND_DRAG) == 1 &&
                              widget->handle(FL_DND_RELEASE) == 1;
        Fl::e_text = const_cast<char*>(text);
        Fl::e_length = static_cast<int>(std::strlen(text));
        widget->handle(FL_PASTE);
        return {accepted, Gadgets(Pump(50))};
    }
    static std::vector<int> Gadgets(const std::vector<gui::Event>& events) {
        std::vector<int> gadgets;
        for (const gui::Event& e : events) {
            if (e.type == gui::EventGadget) gadgets.push_back(e.gadget);
        }
        return gadgets;
    }
    // Clicks a gadget's middle and returns the gadget events that follow.
    static std::vector<int> Click(int gadget) {
        const gui::Rect r = gui::GadgetRect(gadget);
        ClickAt(0, r.x + r.width / 2, r.y + r.height / 2);
        return Gadgets(Pump(150));
    }
};

}  // namespace

TEST_F(FltkGadgets, ButtonsTogglesAndCheckBoxesReportClicksAndKeepState) {
    Make(4, gui::GadgetKind::DefaultButton, 221, 2, 60, 15, "Verzeichnis...");
    Make(9, gui::GadgetKind::Toggle, 98, 79, 22, 16, "Alle");
    Make(33, gui::GadgetKind::CheckBox, 5, 117, 122, 12, "Immer im Vordergrund");
    Make(24, gui::GadgetKind::Button, 210, 79, 9, 16);
    Pump(100);
    EXPECT_EQ(Click(4), std::vector<int>{4});
    EXPECT_EQ(Click(24), std::vector<int>{24});
    EXPECT_EQ(Click(9), std::vector<int>{9});
    EXPECT_EQ(gui::GetGadgetState(9), 1);
    EXPECT_EQ(Click(9), std::vector<int>{9});
    EXPECT_EQ(gui::GetGadgetState(9), 0);
    EXPECT_EQ(Click(33), std::vector<int>{33});
    EXPECT_EQ(gui::GetGadgetState(33), 1);
    // Setting a state from the program is silent.
    gui::SetGadgetState(33, 0);
    gui::SetGadgetState(9, 1);
    EXPECT_TRUE(Pump(50).empty());
    EXPECT_EQ(gui::GetGadgetState(9), 1);
    EXPECT_EQ(gui::GetGadgetText(4), "Verzeichnis...");
    // Disabled and hidden gadgets take no clicks.
    gui::SetGadgetEnabled(4, false);
    EXPECT_FALSE(gui::IsGadgetEnabled(4));
    EXPECT_TRUE(Click(4).empty());
    gui::SetGadgetVisible(9, false);
    EXPECT_FALSE(gui::IsGadgetVisible(9));
    EXPECT_TRUE(Click(9).empty());
}

TEST_F(FltkGadgets, DroppedUrisAreTheTargetsClickWhileItIsEnabled) {
    Make(4, gui::GadgetKind::DefaultButton, 221, 2, 60, 15, "Verzeichnis...");
    gui::SetDropTarget(0, 4);
    Pump(100);
    const auto taken = DropText("file:///tmp/Die%20%C3%84rzte/\r\nfile:///tmp/zwei/\r\n");
    EXPECT_TRUE(taken.first);
    EXPECT_EQ(taken.second, std::vector<int>{4});
    EXPECT_EQ(gui::TakeDroppedPath(), "/tmp/Die Ärzte/");
    gui::SetGadgetEnabled(4, false);
    const auto refused = DropText("file:///tmp/drei/");
    EXPECT_FALSE(refused.first);
    EXPECT_TRUE(refused.second.empty());
    EXPECT_EQ(gui::TakeDroppedPath(), "");
    gui::SetDropTarget(0, -1);
}

// Over any control the drop is the window's, and a field under the pointer types nothing.
TEST_F(FltkGadgets, DropOverAnyControlIsTheWindowsDrop) {
    Make(2, gui::GadgetKind::Field, 2, 2, 217, 15, "/alt/");
    Make(3, gui::GadgetKind::DropDown, 2, 20, 280, 160);
    Make(4, gui::GadgetKind::DefaultButton, 221, 2, 60, 15, "Verzeichnis...");
    Make(13, gui::GadgetKind::Slider, 4, 44, 212, 18);
    Make(29, gui::GadgetKind::Button, 150, 79, 22, 16, "i");
    gui::AddGadgetItem(3, "lied.mp3");
    gui::SetDropTarget(0, 4);
    Pump(100);
    for (const int gadget : {2, 3, 13, 29, -1}) {
        const auto taken = DropText("file:///tmp/neu/\r\n", gadget);
        EXPECT_TRUE(taken.first) << gadget;
        EXPECT_EQ(taken.second, std::vector<int>{4}) << gadget;
        EXPECT_EQ(gui::TakeDroppedPath(), "/tmp/neu/") << gadget;
    }
    EXPECT_EQ(gui::GetGadgetText(2), "/alt/");
    gui::SetDropTarget(0, -1);
}

TEST_F(FltkGadgets, OptionsSelectWithinTheirGroupOnly) {
    Make(37, gui::GadgetKind::Option, 5, 133, 122, 12, "Fensterposition merken", true);
    Make(38, gui::GadgetKind::Option, 5, 148, 122, 12, "Immer in Bildmitte öffnen");
    Make(50, gui::GadgetKind::Option, 140, 133, 100, 12, "anderes A", true);
    Make(51, gui::GadgetKind::Option, 140, 148, 100, 12, "anderes B");
    gui::SetGadgetState(37, 1);
    gui::SetGadgetState(50, 1);
    Pump(100);
    EXPECT_EQ(Click(38), std::vector<int>{38});
    EXPECT_EQ(gui::GetGadgetState(37), 0);
    EXPECT_EQ(gui::GetGadgetState(38), 1);
    EXPECT_EQ(gui::GetGadgetState(50), 1);  // another group: untouched
    // Clicking the selected option keeps it selected, and still reports the click.
    EXPECT_EQ(Click(38), std::vector<int>{38});
    EXPECT_EQ(gui::GetGadgetState(38), 1);
}

TEST_F(FltkGadgets, SliderReportsEveryMoveWhileDraggedAndClampsProgramValues) {
    Make(13, gui::GadgetKind::Slider, 4, 44, 212, 18);
    Pump(100);
    gui::SetGadgetState(13, 9999);
    EXPECT_EQ(gui::GetGadgetState(13), 500);
    gui::SetGadgetState(13, -5);
    EXPECT_EQ(gui::GetGadgetState(13), 0);
    int ox = 0, oy = 0;
    ClientOrigin(0, ox, oy);
    std::vector<gui::Event> events;
    auto collect = [&events](int ms) {
        for (const gui::Event& e : Pump(ms)) events.push_back(e);
    };
    Xdotool("mousemove " + std::to_string(ox + 8) + " " + std::to_string(oy + 53) + " mousedown 1");
    collect(50);
    for (int x = 30; x <= 150; x += 30) {
        Xdotool("mousemove " + std::to_string(ox + x) + " " + std::to_string(oy + 53));
        collect(50);
    }
    Xdotool("mouseup 1");
    collect(100);
    int moves = 0;
    for (const gui::Event& e : events) moves += e.type == gui::EventGadget && e.gadget == 13;
    EXPECT_GE(moves, 4);
    EXPECT_GT(gui::GetGadgetState(13), 150);
    EXPECT_LT(gui::GetGadgetState(13), 400);
}

// A click on the track beside the knob moves the knob's middle there at once, as a slide; the
// wheel over a control that takes none (the volume knob) is the window's.
TEST_F(FltkGadgets, ClickOnTheSliderTrackJumpsThereAndTheWheelIsReported) {
    Make(13, gui::GadgetKind::Slider, 4, 44, 212, 18);
    Make(24, gui::GadgetKind::Button, 210, 79, 9, 16);
    Pump(100);
    ClickAt(0, 4 + 212 * 3 / 4, 53);
    const std::vector<gui::Event> clicked = Pump(150);
    EXPECT_NE(Gadgets(clicked), std::vector<int>{});
    EXPECT_NEAR(gui::GetGadgetState(13), 375, 15);

    int ox = 0, oy = 0;
    ClientOrigin(0, ox, oy);
    for (const auto& [button, notches] : {std::pair{4, 1}, std::pair{5, -1}}) {
        Xdotool("mousemove " + std::to_string(ox + 214) + " " + std::to_string(oy + 87) +
                " click " + std::to_string(button));
        int turned = 0;
        for (const gui::Event& e : Pump(150)) {
            if (e.type == gui::EventMouseWheel) turned += e.wheel;
        }
        EXPECT_EQ(turned, notches) << button;
    }
}

// The main loop moves the position slider several times a second, 500 steps over some 200
// pixels: only a step that moves the knob may cost a redraw, and the value reads back as set.
TEST_F(FltkGadgets, SliderIsDrawnAgainOnlyWhenItsKnobMoves) {
    Make(13, gui::GadgetKind::Slider, 4, 44, 212, 18);
    Pump(100);
    Fl_Widget* slider = gui::fltk::FindGadget(13)->widget;
    ASSERT_EQ(slider->damage(), 0);
    gui::SetGadgetState(13, 1);
    EXPECT_EQ(slider->damage(), 0);
    int redraws = 0;
    for (int value = 0; value <= 500; ++value) {
        gui::SetGadgetState(13, value);
        EXPECT_EQ(gui::GetGadgetState(13), value);
        redraws += slider->damage() != 0;
        Fl::flush();
    }
    EXPECT_GT(redraws, 150);  // the knob follows every pixel of the track...
    EXPECT_LE(redraws, 212);  // ...and moves no more often than that
}

TEST_F(FltkGadgets, FieldAndTextsShowTextAsGiven) {
    Make(2, gui::GadgetKind::Field, 2, 2, 215, 15, "/home/a & b/@x_y/");
    Make(15, gui::GadgetKind::Text, 95, 61, 30, 12, "0:00");
    EXPECT_EQ(gui::GetGadgetText(2), "/home/a & b/@x_y/");
    gui::SetGadgetText(15, "@1:23");
    EXPECT_EQ(gui::GetGadgetText(15), "@1:23");
    // Unknown numbers are ignored.
    gui::SetGadgetText(999, "x");
    EXPECT_EQ(gui::GetGadgetText(999), "");
    EXPECT_EQ(gui::GetGadgetState(999), 0);
    // A number given again addresses the new gadget.
    Make(15, gui::GadgetKind::Text, 190, 61, 25, 12, "neu");
    EXPECT_EQ(gui::GetGadgetText(15), "neu");
    EXPECT_EQ(gui::GadgetRect(15).x, 190);
}

// The main loop sets the elapsed time on every pass; only a change may cost a redraw.
TEST_F(FltkGadgets, OnlyChangedTextsAreDrawnAgain) {
    Make(15, gui::GadgetKind::Text, 95, 61, 30, 12, "0:00");
    Make(0, gui::GadgetKind::Button, 4, 80, 50, 20, "Play");
    Pump(100);
    Fl_Widget* text = gui::fltk::FindGadget(15)->widget;
    Fl_Widget* button = gui::fltk::FindGadget(0)->widget;
    ASSERT_EQ(text->damage(), 0);
    ASSERT_EQ(button->damage(), 0);
    gui::SetGadgetText(15, "0:00");
    gui::SetGadgetText(0, "Play");
    EXPECT_EQ(text->damage(), 0);
    EXPECT_EQ(button->damage(), 0);
    // A prefix of the shown text, and the empty text, are changes.
    gui::SetGadgetText(15, "0:0");
    EXPECT_NE(text->damage(), 0);
    EXPECT_EQ(gui::GetGadgetText(15), "0:0");
    Pump(50);
    gui::SetGadgetText(15, "");
    EXPECT_NE(text->damage(), 0);
    EXPECT_EQ(gui::GetGadgetText(15), "");
    Pump(50);
    gui::SetGadgetText(15, "");
    EXPECT_EQ(text->damage(), 0);
    gui::SetGadgetText(15, "0:01");
    EXPECT_EQ(gui::GetGadgetText(15), "0:01");
}

TEST_F(FltkGadgets, TooltipsShowOverDisabledControlsUnderFrames) {
    Make(13, gui::GadgetKind::Slider, 4, 44, 212, 18);
    Make(6, gui::GadgetKind::SunkenFrame, 2, 42, 215, 32);  // made later, lies over the slider
    gui::SetGadgetTooltip(13, "Position innerhalb des Liedes");
    gui::SetGadgetEnabled(13, false);
    Pump(100);
    Fl_Tooltip::delay(0.05f);
    int ox = 0, oy = 0;
    ClientOrigin(0, ox, oy);
    Xdotool("mousemove " + std::to_string(ox + 100) + " " + std::to_string(oy + 90));
    Pump(50);
    Xdotool("mousemove " + std::to_string(ox + 100) + " " + std::to_string(oy + 52));
    Pump(300);
    EXPECT_EQ(Fl_Tooltip::current(), gui::fltk::FindGadget(13)->widget);
    Fl_Tooltip::delay(1.0f);
}

TEST_F(FltkGadgets, DropDownKeepsNamesLiterallyAndReportsPicks) {
    Make(3, gui::GadgetKind::DropDown, 2, 20, 280, 160);
    const std::vector<std::string> names = {"a & b.mp3",     "x_y.mp3",       "ac/dc\\back.mp3",
                                            "@menu.mp3",     "tab\there.mp3", "a & b.mp3",
                                            "Über_&&_@@.mp3"};
    for (const auto& name : names) gui::AddGadgetItem(3, name);
    ASSERT_EQ(gui::fltk::CountGadgetItems(3), int(names.size()));
    for (int i = 0; i < int(names.size()); ++i) {
        EXPECT_EQ(gui::fltk::GetGadgetItemText(3, i), names[i]);
    }
    EXPECT_EQ(gui::GetGadgetState(3), -1);
    gui::SetGadgetState(3, 5);
    EXPECT_EQ(gui::GetGadgetState(3), 5);
    EXPECT_EQ(gui::GetGadgetText(3), "a & b.mp3");
    gui::SetGadgetText(3, "@menu.mp3");
    EXPECT_EQ(gui::GetGadgetState(3), 3);
    gui::SetGadgetState(3, 99);
    EXPECT_EQ(gui::GetGadgetState(3), -1);
    EXPECT_EQ(gui::fltk::GetGadgetItemText(3, 99), "");

    // The menu items measure as their literal text: no symbol, shortcut or submenu parsing.
    auto* list = static_cast<gui::fltk::DropDown*>(gui::fltk::FindGadget(3)->widget);
    for (int i = 0; i < int(names.size()); ++i) {
        const Fl_Menu_Item* item = list->menu() + i;
        EXPECT_EQ(item->submenu(), 0);
        fl_font(item->labelfont_, item->labelsize_);
        const std::string shown = gui::fltk::ItemDisplayText(names[i]);
        EXPECT_EQ(item->measure(nullptr, nullptr), int(fl_width(shown.c_str())) + 4) << names[i];
    }

    // A user's pick: open the list and choose the second item with the keyboard. The open list
    // runs its own loop inside the event processing, so the keys come from another process.
    gui::SetGadgetState(3, 0);
    Pump(100);
    ASSERT_EQ(std::system("(sleep 0.5; xdotool key Down Return) >/dev/null 2>&1 &"), 0);
    ClickAt(0, 100, 28);  // the closed box: the given height is that of the open list
    bool picked = false;
    for (const gui::Event& e : Pump(800)) picked |= e.type == gui::EventGadget && e.gadget == 3;
    EXPECT_TRUE(picked);
    EXPECT_EQ(gui::GetGadgetState(3), 1);

    gui::ClearGadgetItems(3);
    EXPECT_EQ(gui::fltk::CountGadgetItems(3), 0);
    EXPECT_EQ(gui::GetGadgetState(3), -1);
    EXPECT_EQ(gui::GetGadgetText(3), "");
}

TEST_F(FltkGadgets, TenThousandItemsAreAddedQuickly) {
    Make(3, gui::GadgetKind::DropDown, 2, 20, 280, 160);
    gui::AddGadgetItem(3, "first");
    gui::SetGadgetState(3, 0);
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 10000; ++i) gui::AddGadgetItem(3, "Lied " + std::to_string(i) + ".mp3");
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(took).count(), 500);
    EXPECT_EQ(gui::fltk::CountGadgetItems(3), 10001);
    EXPECT_EQ(gui::GetGadgetState(3), 0);  // adding keeps the selection
    EXPECT_EQ(gui::fltk::GetGadgetItemText(3, 10000), "Lied 9999.mp3");
    Pump(50);  // and it draws
}
