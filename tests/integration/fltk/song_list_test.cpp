// The song drop-down with lists of thousands on a real display: the open list starts at the
// current song at once and within the screen, the wheel and the keys move it, a click or Return
// picks, typing a name's start selects it, and names in any script are drawn.
#include <gtest/gtest.h>

#include "platform/gui.h"
#include "platform/posix/gui/state.h"
#include "platform/posix/gui/widgets.h"
#include "tests/integration/fltk/fltk_support.h"

#include <FL/Fl.H>
#include <FL/x.H>

#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

using namespace fltk_test;

namespace {

class FltkSongList : public testing::Test {
  protected:
    void SetUp() override {
        const gui::WindowSpec spec{.number = 0,
                                   .x = 60,
                                   .y = 60,
                                   .innerWidth = 285,
                                   .innerHeight = 186,
                                   .title = "MP3 Klingtal",
                                   .minimiseBox = true};
        ASSERT_TRUE(gui::OpenWindow(spec));
        for (auto [number, kind, y, h] : {std::tuple{3, gui::GadgetKind::DropDown, 20, 160},
                                          {4, gui::GadgetKind::Button, 60, 16}}) {
            ASSERT_TRUE(gui::CreateGadget({.number = number,
                                           .kind = kind,
                                           .x = 2,
                                           .y = y,
                                           .width = 280,
                                           .height = h,
                                           .text = "",
                                           .align = gui::Align::Left,
                                           .smallFont = true}));
        }
        gui::SetTabOrder(0, {3, 4});
        list = static_cast<gui::fltk::DropDown*>(gui::fltk::FindGadget(3)->widget);
        Pump(100);
    }
    void TearDown() override {
        gui::CloseWindow(0);
        Pump(50);
    }
    static void Fill(int count) {
        gui::ClearGadgetItems(3);
        char name[32];
        for (int i = 1; i <= count; ++i) {
            std::snprintf(name, sizeof name, "Lied %05d.mp3", i);
            gui::AddGadgetItem(3, name);
        }
    }
    // The screen point in the middle of the open list's row for an item, x from the left.
    static std::pair<int, int> RowPoint(const gui::fltk::ListPopup& popup, int index, int x) {
        const int rowHeight = (popup.h() - 2) / popup.Rows();
        return {popup.x() + x, popup.y() + 1 + (index - popup.Top()) * rowHeight + rowHeight / 2};
    }
    // Runs the loop until `done` holds (three seconds at most), counting the drop-down's picks.
    bool Until(const std::function<bool()>& done) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(3);
        while (!done()) {
            if (std::chrono::steady_clock::now() >= end) return false;
            const gui::Event e = gui::PollEvent();
            if (e.type == gui::EventGadget && e.gadget == 3) ++picks;
            if (e.type == gui::EventNone) Pump(5);
        }
        return true;
    }
    gui::fltk::DropDown* list = nullptr;
    int picks = 0;
};

TEST_F(FltkSongList, OpensAtTheCurrentSongAtOnceAndAClickPicksAnother) {
    for (auto [count, current] : {std::pair{3000, 2499}, {10000, 9997}}) {
        Fill(count);
        gui::SetGadgetState(3, current);
        Pump(50);
        const auto start = std::chrono::steady_clock::now();
        list->Open();
        Fl::flush();
        XSync(fl_display, False);
        const auto took = std::chrono::steady_clock::now() - start;
        EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(took).count(), 200);
        const gui::fltk::ListPopup* popup = list->OpenList();
        ASSERT_NE(popup, nullptr);
        EXPECT_EQ(popup->Highlighted(), current);
        EXPECT_LE(popup->Top(), current);
        EXPECT_GT(popup->Top() + popup->Rows(), current + 1);
        EXPECT_GE(popup->Rows(), 8);  // the height the program gave
        EXPECT_LE(popup->y() + popup->h(), gui::ScreenHeight());
        // On screen: the current song lit, the one below it plain with its name in ink.
        const int right = popup->w() - Fl::scrollbar_size() - 4;
        const auto [lx, ly] = RowPoint(*popup, current, right);
        const auto [nx, ny] = RowPoint(*popup, current + 1, right);
        const unsigned lit = Fl::get_color(FL_SELECTION_COLOR) >> 8;
        EXPECT_TRUE(Until([&, lx = lx, ly = ly] { return ScreenPixel(lx, ly) == lit; }));
        EXPECT_EQ(ScreenPixel(nx, ny), 0xffffffu);
        EXPECT_GT(DarkPixels(popup->x() + 2, ny - 5, 80, 10), 20);
        const auto [cx, cy] = RowPoint(*popup, current + 1, 40);
        picks = 0;
        Xdotool("mousemove " + std::to_string(cx) + " " + std::to_string(cy) + " click 1");
        EXPECT_TRUE(Until([&] { return picks == 1 && list->OpenList() == nullptr; })) << count;
        EXPECT_EQ(gui::GetGadgetState(3), current + 1);
        EXPECT_EQ(list->OpenList(), nullptr);
    }
}

TEST_F(FltkSongList, WheelAndKeysMoveTheOpenListAndReturnPicks) {
    Fill(3000);
    gui::SetGadgetState(3, 0);
    list->Open();
    const gui::fltk::ListPopup* popup = list->OpenList();
    ASSERT_NE(popup, nullptr);
    const int rows = popup->Rows();
    Xdotool("mousemove --sync " + std::to_string(popup->x() + 40) + " " +
            std::to_string(popup->y() + popup->h() / 2) + " click 5");
    EXPECT_TRUE(Until([&] { return popup->Top() == 3; }));
    struct Step {
        const char* key;
        int highlighted, top;
    };
    for (const Step& step :
         {Step{"Home", 0, 0}, Step{"Next", rows - 1, 0}, Step{"End", 2999, 3000 - rows},
          Step{"Down", 2999, 3000 - rows}, Step{"Up", 2998, 3000 - rows},
          Step{"Prior", 2998 - (rows - 1), 3000 - rows - 1}}) {
        Xdotool(std::string("key ") + step.key);
        EXPECT_TRUE(Until([&] {
            return popup->Highlighted() == step.highlighted && popup->Top() == step.top;
        })) << step.key;
    }
    EXPECT_EQ(gui::GetGadgetState(3), 0);  // only moved so far
    Xdotool("key Return");
    EXPECT_TRUE(Until([&] { return picks == 1 && list->OpenList() == nullptr; }));
    EXPECT_EQ(gui::GetGadgetState(3), 2998 - (rows - 1));
    list->Open();
    Xdotool("key Escape");
    EXPECT_TRUE(Until([&] { return list->OpenList() == nullptr; }));
    EXPECT_EQ(picks, 1);
}

TEST_F(FltkSongList, TypingSelectsByTheNamesStartOnlyWhileTheListHasTheFocus) {
    gui::ClearGadgetItems(3);
    for (const char* name : {"Abend.mp3", "Ärger.mp3", "Kaffee.mp3", "Kiel.mp3", "Klang.mp3",
                             "klar.mp3", "Lied.mp3", "Xylophon.mp3"}) {
        gui::AddGadgetItem(3, name);
    }
    gui::SetGadgetState(3, 0);
    std::string playerKeys;
    gui::SetKeyCallback(0, [&playerKeys](char key) {
        playerKeys += key;
        return true;
    });
    ASSERT_TRUE(Xdotool("windowfocus --sync " + std::to_string(XidOf(0))));
    Fl::focus(list);
    struct Typed {
        const char* keys;
        int selected;
    };
    // Letters a second apart start afresh; one letter again steps on; umlauts fold.
    for (const Typed& typed : {Typed{"k l", 4}, Typed{"k", 5}, Typed{"a a", 1}, Typed{"x", 7}}) {
        picks = 0;
        Xdotool("key --delay 40 " + std::string(typed.keys));
        EXPECT_TRUE(Until([&] { return gui::GetGadgetState(3) == typed.selected; })) << typed.keys;
        EXPECT_GE(picks, 1) << typed.keys;  // each a pick, as a click on the item is
        Pump(1100);                         // a pause: the next letters start afresh
    }
    EXPECT_EQ(playerKeys, "");
    Fl::focus(gui::fltk::FindGadget(4)->widget);
    Xdotool("key x");
    EXPECT_TRUE(Until([&] { return playerKeys == "x"; }));
    EXPECT_EQ(gui::GetGadgetState(3), 7);
    list->Open();  // typed into the open list, the name is only lit until Return
    Xdotool("key --delay 40 k l");
    EXPECT_TRUE(Until([&] { return list->OpenList()->Highlighted() == 4; }));
    EXPECT_EQ(gui::GetGadgetState(3), 7);
    Xdotool("key Return");
    EXPECT_TRUE(Until([&] { return gui::GetGadgetState(3) == 4; }));
    gui::SetKeyCallback(0, nullptr);
}

TEST_F(FltkSongList, NamesInOtherScriptsAreDrawnWithInk) {
    if (std::system("fc-list :lang=ja | grep -q .") != 0) {
        GTEST_SKIP() << "no font with CJK glyphs (scripts/setup installs one)";
    }
    ASSERT_TRUE(gui::CreateGadget({.number = 2,
                                   .kind = gui::GadgetKind::Field,
                                   .x = 2,
                                   .y = 100,
                                   .width = 215,
                                   .height = 15,
                                   .text = "",
                                   .align = gui::Align::Left,
                                   .smallFont = true}));
    gui::ClearGadgetItems(3);
    gui::AddGadgetItem(3, "東京の夜.mp3");
    gui::AddGadgetItem(3, ".mp3");
    int ox = 0, oy = 0;
    ClientOrigin(0, ox, oy);
    // The song list and the folder field, each with and without the four CJK characters.
    std::vector<int> ink;
    for (int item : {1, 0}) {
        gui::SetGadgetState(3, item);
        gui::SetGadgetText(2, item == 0 ? "/東京の夜/" : "//");
        gui::fltk::FindGadget(2)->widget->redraw();
        Pump(150);  // both drawn: nothing to wait for that differs between the two
        ink.push_back(DarkPixels(ox + 4, oy + 21, 200, 16));
        ink.push_back(DarkPixels(ox + 4, oy + 101, 200, 13));
    }
    EXPECT_GT(ink[2], ink[0] + 40) << "song list";
    EXPECT_GT(ink[3], ink[1] + 40) << "folder field";
}

}  // namespace
