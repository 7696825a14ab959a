// The headless gui backend: injected user actions give the events and state changes a real
// toolkit gives, and nothing when a user could not act.
#include <gtest/gtest.h>

#include <string>

#include "platform/gui.h"
#include "platform/headless/headless.h"
#include "platform/system.h"
#include "ui/gadget_spec.h"

namespace {

namespace hl = gui::headless;
using gui::GadgetKind;

class HeadlessGui : public ::testing::Test {
  protected:
    void SetUp() override {
        hl::Reset();
        gui::WindowSpec spec;
        spec.number = 0;
        spec.x = 10;
        spec.y = 20;
        spec.innerWidth = 200;
        spec.innerHeight = 100;
        spec.title = "Test";
        spec.minimiseBox = true;
        ASSERT_TRUE(gui::OpenWindow(spec));
    }

    static void Make(int number, GadgetKind kind, int x = 0, int y = 0, int w = 10, int h = 10,
                     bool startsGroup = false) {
        gui::GadgetSpec spec = ui::MakeGadget(number, kind, x, y, w, h);
        spec.startsGroup = startsGroup;
        spec.maximum = 50;
        ASSERT_TRUE(gui::CreateGadget(spec));
    }

    // The next event, which must be a gadget event for `gadget`.
    static void ExpectGadgetEvent(int gadget) {
        const gui::Event e = gui::PollEvent();
        EXPECT_EQ(e.type, gui::EventGadget);
        EXPECT_EQ(e.gadget, gadget);
        EXPECT_EQ(e.window, 0);
    }
};

TEST_F(HeadlessGui, TogglesAndCheckBoxesFlipBeforeTheirEvent) {
    Make(1, GadgetKind::Toggle);
    Make(2, GadgetKind::CheckBox);
    EXPECT_TRUE(hl::Click(1));
    EXPECT_TRUE(hl::Click(2));
    EXPECT_TRUE(hl::Click(1));
    EXPECT_EQ(gui::GetGadgetState(1), 0);
    EXPECT_EQ(gui::GetGadgetState(2), 1);
    ExpectGadgetEvent(1);
    ExpectGadgetEvent(2);
    ExpectGadgetEvent(1);
    EXPECT_EQ(gui::PollEvent().type, gui::EventNone);
}

TEST_F(HeadlessGui, AnOptionClearsOnlyTheOtherOptionsOfItsGroup) {
    Make(1, GadgetKind::Option, 0, 0, 10, 10, true);
    Make(2, GadgetKind::Option);
    Make(3, GadgetKind::CheckBox);  // not an option: neither ends nor joins a group
    Make(4, GadgetKind::Option);
    Make(5, GadgetKind::Option, 0, 0, 10, 10, true);
    Make(6, GadgetKind::Option);
    gui::SetGadgetState(3, 1);
    gui::SetGadgetState(5, 1);
    gui::SetGadgetState(1, 1);

    EXPECT_TRUE(hl::Click(4));
    EXPECT_EQ(gui::GetGadgetState(1), 0);
    EXPECT_EQ(gui::GetGadgetState(4), 1);
    EXPECT_EQ(gui::GetGadgetState(3), 1);
    EXPECT_EQ(gui::GetGadgetState(5), 1);

    EXPECT_TRUE(hl::Click(6));
    EXPECT_EQ(gui::GetGadgetState(5), 0);
    EXPECT_EQ(gui::GetGadgetState(4), 1);

    // Clicking the selected option again keeps it selected and still reports the click.
    EXPECT_TRUE(hl::Click(6));
    EXPECT_EQ(gui::GetGadgetState(6), 1);
    ExpectGadgetEvent(4);
    ExpectGadgetEvent(6);
    ExpectGadgetEvent(6);
}

TEST_F(HeadlessGui, NoEventFromWhatAUserCannotOperate) {
    Make(1, GadgetKind::Toggle);
    Make(2, GadgetKind::Button);
    Make(3, GadgetKind::Text);
    Make(4, GadgetKind::Slider);
    gui::SetGadgetEnabled(1, false);
    gui::SetGadgetVisible(2, false);

    EXPECT_FALSE(hl::Click(1));
    EXPECT_EQ(gui::GetGadgetState(1), 0);
    EXPECT_FALSE(hl::Click(2));
    EXPECT_FALSE(hl::Click(3));
    EXPECT_FALSE(hl::Click(4));  // sliders are moved, not clicked
    EXPECT_FALSE(hl::Click(99));

    gui::SetGadgetEnabled(1, true);
    gui::SetWindowEnabled(0, false);
    EXPECT_FALSE(hl::Click(1));
    EXPECT_FALSE(hl::Slide(4, 5));
    EXPECT_FALSE(hl::Close(0));
    EXPECT_FALSE(hl::MouseDown(0, 50, 50));
    EXPECT_FALSE(hl::PressReturn(0));
    EXPECT_EQ(hl::PendingEvents(), 0);
}

TEST_F(HeadlessGui, SlidersClampAndDropDownsOnlyPickExistingItems) {
    Make(1, GadgetKind::Slider);
    Make(2, GadgetKind::DropDown);
    EXPECT_TRUE(hl::Slide(1, 80));
    EXPECT_EQ(gui::GetGadgetState(1), 50);
    EXPECT_TRUE(hl::Slide(1, -3));
    EXPECT_EQ(gui::GetGadgetState(1), 0);

    EXPECT_FALSE(hl::SelectItem(2, 0));  // empty list
    gui::AddGadgetItem(2, "a");
    gui::AddGadgetItem(2, "a");  // equal names stay two items
    EXPECT_EQ(hl::CountGadgetItems(2), 2);
    EXPECT_FALSE(hl::SelectItem(2, 2));
    EXPECT_TRUE(hl::SelectItem(2, 1));
    EXPECT_EQ(gui::GetGadgetState(2), 1);

    // Selecting past the end clears the selection, as the native list does.
    gui::SetGadgetState(2, 7);
    EXPECT_EQ(gui::GetGadgetState(2), -1);
    EXPECT_EQ(gui::GetGadgetText(2), "");
    ExpectGadgetEvent(1);
    ExpectGadgetEvent(1);
    ExpectGadgetEvent(2);
}

TEST_F(HeadlessGui, MouseButtonsReachTheWindowOverControlsToo) {
    Make(1, GadgetKind::Button, 10, 10, 20, 10);
    Make(2, GadgetKind::SunkenFrame, 40, 10, 20, 10);

    EXPECT_TRUE(hl::MouseDown(0, 10, 10));  // over the button: the loop still sees it
    EXPECT_TRUE(hl::MouseMove(0, 7, 8));
    EXPECT_EQ(gui::WindowMouseX(0), 7);
    EXPECT_EQ(gui::WindowMouseY(0), 8);
    EXPECT_TRUE(hl::MouseUp(0, 45, 15));

    EXPECT_EQ(gui::PollEvent().type, gui::EventLeftButtonDown);
    const gui::Event up = gui::PollEvent();
    EXPECT_EQ(up.type, gui::EventLeftButtonUp);
    EXPECT_EQ(up.window, 0);
    EXPECT_EQ(gui::PollEvent().type, gui::EventNone);  // a press is no click
}

TEST_F(HeadlessGui, SizeCallbackRunsWhileEventsAreProcessedAndGivesNoEvent) {
    std::vector<bool> calls;
    gui::SetSizeCallback(0, [&calls](bool minimised) { calls.push_back(minimised); });
    EXPECT_TRUE(hl::Minimise(0));
    EXPECT_TRUE(calls.empty());
    EXPECT_EQ(gui::PollEvent().type, gui::EventNone);
    EXPECT_EQ(calls, std::vector<bool>{true});
    EXPECT_TRUE(hl::FindWindow(0)->minimised);

    Make(1, GadgetKind::Button);
    EXPECT_FALSE(hl::Click(1));  // nothing to click on a minimised window
    EXPECT_FALSE(hl::Minimise(0));
    EXPECT_TRUE(hl::Restore(0));
    gui::PollEvent();
    EXPECT_EQ(calls, (std::vector<bool>{true, false}));

    gui::WindowSpec dialog;
    dialog.number = 1;
    dialog.innerWidth = 50;
    dialog.innerHeight = 50;
    ASSERT_TRUE(gui::OpenWindow(dialog));
    EXPECT_FALSE(hl::Minimise(1));  // no minimise box
}

TEST_F(HeadlessGui, ReturnAndEscapePressTheRightButton) {
    Make(1, GadgetKind::DefaultButton);
    Make(2, GadgetKind::Button);
    EXPECT_FALSE(hl::PressEscape(0));
    EXPECT_TRUE(hl::PressReturn(0));
    ExpectGadgetEvent(1);

    gui::SetEnterEscapeButton(0, 2);
    EXPECT_TRUE(hl::PressReturn(0));
    EXPECT_TRUE(hl::PressEscape(0));
    ExpectGadgetEvent(2);
    ExpectGadgetEvent(2);

    gui::SetGadgetEnabled(2, false);
    EXPECT_FALSE(hl::PressEscape(0));
}

TEST_F(HeadlessGui, WaitEventTakesInjectedActionsAndNeverHangs) {
    Make(1, GadgetKind::Button);
    int calls = 0;
    hl::SetWaitHook([&calls] {
        ++calls;
        return calls == 1 ? hl::Click(1) : false;
    });
    const gui::Event clicked = gui::WaitEvent();
    EXPECT_EQ(clicked.type, gui::EventGadget);
    EXPECT_EQ(clicked.gadget, 1);

    const gui::Event end = gui::WaitEvent();
    EXPECT_EQ(end.type, gui::EventCloseWindow);
    EXPECT_EQ(end.window, 0);

    hl::SetWaitHook([] { return true; });  // claims more will come, but never delivers
    EXPECT_EQ(gui::WaitEvent().type, gui::EventCloseWindow);
}

// A program a test started and never shut down leaves work that refers to its destroyed state;
// the next test's waits must not run it.
TEST_F(HeadlessGui, ResetDropsTheModalPassOfAnEarlierProgram) {
    gui::SetModalPass([] {
        ADD_FAILURE() << "a pass from before the reset ran";
        return 0;
    });
    hl::Reset();
    EXPECT_EQ(gui::RunModalPass(), -1);
}

TEST_F(HeadlessGui, ASecondGadgetWithANumberTakesItOverAndTheFirstStays) {
    Make(7, GadgetKind::Text, 0, 0, 10, 10);
    gui::SetGadgetText(7, "first");
    Make(7, GadgetKind::Text, 20, 0, 10, 10);
    gui::SetGadgetText(7, "second");
    gui::SetGadgetVisible(7, false);

    const auto gadgets = hl::WindowGadgets(0);
    ASSERT_EQ(gadgets.size(), 2u);
    EXPECT_EQ(gadgets[0]->text, "first");
    EXPECT_TRUE(gadgets[0]->visible);
    EXPECT_FALSE(gadgets[0]->addressable);
    EXPECT_EQ(gui::GadgetRect(7).x, 20);
    EXPECT_EQ(hl::FindGadget(7), gadgets[1]);
}

TEST_F(HeadlessGui, WindowsKeepTheirFrameAndCloseWithTheirGadgetsAndEvents) {
    EXPECT_EQ(gui::WindowOuterRect(0).width, 200 + hl::FrameWidth);
    hl::ResizeWindowOuter(0, 300, 200);
    const gui::Rect r = gui::WindowOuterRect(0);
    EXPECT_EQ(r.x, 10);
    EXPECT_EQ(r.y, 20);
    EXPECT_EQ(hl::FindWindow(0)->innerHeight, 200 - hl::FrameHeight);

    hl::SetScreenSize(800, 600);
    gui::WindowSpec dialog;
    dialog.number = 1;
    dialog.x = 5000;
    dialog.innerWidth = 100;
    dialog.innerHeight = 50;
    dialog.screenCentred = true;
    ASSERT_TRUE(gui::OpenWindow(dialog));
    EXPECT_EQ(gui::WindowOuterRect(1).x, (800 - 100 - hl::FrameWidth) / 2);
    EXPECT_EQ(gui::WindowOuterRect(1).y, (600 - 50 - hl::FrameHeight) / 2);
    Make(5, GadgetKind::Button);
    EXPECT_TRUE(hl::Click(5));
    EXPECT_TRUE(hl::Close(1));

    gui::CloseWindow(1);
    EXPECT_EQ(hl::FindGadget(5), nullptr);
    EXPECT_EQ(hl::PendingEvents(), 0);
    EXPECT_EQ(gui::CurrentWindow(), -1);
    EXPECT_FALSE(gui::CreateGadget(gui::GadgetSpec{}));  // no current window

    hl::FailNextOpenWindow();
    EXPECT_FALSE(gui::OpenWindow(dialog));
    EXPECT_TRUE(gui::OpenWindow(dialog));
}

TEST_F(HeadlessGui, DumpsKeepOneRecordPerLine) {
    Make(3, GadgetKind::DropDown, 1, 2, 3, 4);
    gui::AddGadgetItem(3, "a\tb");
    gui::AddGadgetItem(3, "c");
    gui::SetGadgetState(3, 1);
    gui::SetGadgetEnabled(3, false);
    EXPECT_EQ(hl::DumpGadgets(0), "3\tdrop-down\tc\t1\t0\t1\t1\t2\t3\t4\ta\\tb|c\n");
    gui::SetWindowOpacity(0, 300);
    EXPECT_EQ(hl::DumpWindow(0), "Test\t10\t20\t206\t124\t0\t255\n");
    gui::ShowMessage("Fehler", "eins\rzwei", gui::MessageIcon::Error);
    EXPECT_EQ(hl::DumpMessages(), "Fehler\teins\\rzwei\n");
}

TEST_F(HeadlessGui, FolderRequesterGivesQueuedAnswersThenCancels) {
    hl::AnswerFolder("/music");
    hl::AnswerCancel();
    EXPECT_EQ(gui::RequestFolder("Wähle", "/old/"), "/music" + std::string(1, sys::PathSeparator));
    EXPECT_EQ(gui::RequestFolder("Wähle", "/music/"), "");
    EXPECT_EQ(gui::RequestFolder("Wähle", ""), "");
    ASSERT_EQ(hl::FolderRequests().size(), 3u);
    EXPECT_EQ(hl::FolderRequests()[1].startFolder, "/music/");
}

// A drop is its target's click, refused whenever a real backend refuses it; its path is
// taken once.
TEST_F(HeadlessGui, DropIsTheTargetsClickWhileAClickWouldBeTaken) {
    Make(4, GadgetKind::Button);
    Make(5, GadgetKind::Button);
    EXPECT_FALSE(hl::Drop(0, "/music/"));  // no target yet
    gui::SetDropTarget(0, 4);
    EXPECT_FALSE(hl::Drop(0, ""));
    EXPECT_FALSE(hl::Drop(1, "/music/"));
    ASSERT_TRUE(hl::Click(5));
    EXPECT_FALSE(hl::Drop(0, "/music/"));  // an earlier event still waits
    ExpectGadgetEvent(5);
    gui::SetGadgetEnabled(4, false);
    EXPECT_FALSE(hl::Drop(0, "/music/"));
    gui::SetGadgetEnabled(4, true);
    gui::SetWindowEnabled(0, false);
    EXPECT_FALSE(hl::Drop(0, "/music/"));
    gui::SetWindowEnabled(0, true);
    EXPECT_EQ(gui::TakeDroppedPath(), "");

    EXPECT_TRUE(hl::Drop(0, "/music/a b.mp3"));
    ExpectGadgetEvent(4);
    EXPECT_EQ(gui::TakeDroppedPath(), "/music/a b.mp3");
    EXPECT_EQ(gui::TakeDroppedPath(), "");
}

}  // namespace
