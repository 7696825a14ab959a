// The main window at start: its controls, the settings applied to them, the size callback,
// the extended and compact sizes and transparency, over the headless gui.
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "platform/gui.h"
#include "platform/headless/headless.h"
#include "ui/gadgets.h"
#include "ui/keys.h"
#include "ui/main_window.h"
#include "volume/mixer_fake.h"

namespace {

namespace hl = gui::headless;
using gui::GadgetKind;

class MainWindow : public ::testing::Test {
  protected:
    void SetUp() override { hl::Reset(); }

    // Opens and fills the window as start-up does, showing folder and the subfolder option.
    void Start(const ui::Options& options, std::string_view os = "Linux", int muted = 0) {
        ASSERT_TRUE(ui::StartMainWindow(options, folder, subfolders, os, muted, minimised));
    }

    static bool visible(int gadget) { return gui::IsGadgetVisible(gadget); }

    static bool overlap(const gui::Rect& a, const gui::Rect& b) {
        return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height &&
               b.y < a.y + a.height;
    }

    std::string folder;
    int subfolders = 0;
    int minimised = 0;
};

TEST_F(MainWindow, DefaultsOpenCompactAtThePositionGiven) {
    ui::Options s;
    folder = "/home/anna/Musik/";
    s.WindowX = 345;
    s.WindowY = 321;
    Start(s);
    const auto* w = hl::FindWindow(ui::MainWindow);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->title, "MP3 Klingtal");
    EXPECT_EQ(w->innerWidth, 285);
    EXPECT_EQ(w->innerHeight, 116);
    EXPECT_EQ(w->outer.x, 345);
    EXPECT_EQ(w->outer.y, 321);
    EXPECT_TRUE(w->minimiseBox);
    EXPECT_FALSE(w->topmost);
    EXPECT_EQ(w->opacity, 255);
    EXPECT_TRUE(visible(ui::ExpandButton));
    EXPECT_FALSE(visible(ui::ShrinkButton));
    EXPECT_EQ(gui::GetGadgetState(ui::CentredOption), 1);
    EXPECT_EQ(gui::GetGadgetState(ui::RememberPositionOption), 0);
    EXPECT_EQ(gui::GetGadgetState(ui::AllToggle), 1);
    EXPECT_EQ(gui::GetGadgetState(ui::RepeatToggle), 0);
    EXPECT_FALSE(gui::IsGadgetEnabled(ui::SongChoice));
    EXPECT_FALSE(gui::IsGadgetEnabled(ui::PositionSlider));
    EXPECT_EQ(gui::GetGadgetText(ui::FolderDisplay), "/home/anna/Musik/");
    EXPECT_EQ(gui::GetGadgetText(ui::SongLengthText), "0:00");
}

TEST_F(MainWindow, ExtendedModeGrowsTheWindowWithoutMovingIt) {
    ui::Options s;
    s.OptionOn = 1;
    s.WindowX = 7;
    s.WindowY = 9;
    Start(s);
    const gui::Rect r = gui::WindowOuterRect(ui::MainWindow);
    EXPECT_EQ(r.x, 7);
    EXPECT_EQ(r.y, 9);
    EXPECT_EQ(r.width, 291);
    EXPECT_EQ(r.height, 186);
    EXPECT_FALSE(visible(ui::ExpandButton));
    EXPECT_TRUE(visible(ui::ShrinkButton));

    ui::SetExtendedMode(false);
    EXPECT_EQ(gui::WindowOuterRect(ui::MainWindow).height, 140);
    EXPECT_EQ(hl::FindWindow(ui::MainWindow)->innerHeight, 116);
    EXPECT_TRUE(visible(ui::ExpandButton));
    EXPECT_FALSE(visible(ui::ShrinkButton));
}

TEST_F(MainWindow, WindowOptionsFollowTheSettings) {
    ui::Options s;
    s.RememberPosition = 1;
    s.AlwaysOnTop = 1;
    subfolders = 1;
    s.AllMode = 0;
    s.RepeatMode = 1;
    s.RandomMode = 1;
    Start(s);
    EXPECT_EQ(gui::GetGadgetState(ui::RememberPositionOption), 1);
    EXPECT_EQ(gui::GetGadgetState(ui::CentredOption), 0);
    EXPECT_EQ(gui::GetGadgetState(ui::OnTopOption), 1);
    EXPECT_TRUE(hl::FindWindow(ui::MainWindow)->topmost);
    EXPECT_EQ(gui::GetGadgetState(ui::SubfolderOption), 1);
    EXPECT_EQ(gui::GetGadgetState(ui::AllToggle), 0);
    EXPECT_EQ(gui::GetGadgetState(ui::RepeatToggle), 1);
    EXPECT_EQ(gui::GetGadgetState(ui::RandomToggle), 1);
}

TEST_F(MainWindow, OnlyAnExactOneSwitchesAFlagOn) {
    ui::Options s;
    s.AlwaysOnTop = 2;
    s.RememberPosition = -1;
    s.RepeatMode = 5;
    Start(s);
    EXPECT_FALSE(hl::FindWindow(ui::MainWindow)->topmost);
    EXPECT_EQ(gui::GetGadgetState(ui::OnTopOption), 0);  // box and window agree
    EXPECT_EQ(gui::GetGadgetState(ui::CentredOption), 1);
    EXPECT_EQ(gui::GetGadgetState(ui::RepeatToggle), 0);
}

TEST_F(MainWindow, TransparencyOnlyOnWindowsXp) {
    ui::Options s;
    s.Transparency = 120;
    for (std::string_view os : {"Linux", "Windows 2000", "Windows XP ", "windows xp"}) {
        hl::Reset();
        Start(s, os);
        EXPECT_FALSE(visible(ui::TransparencySlider)) << os;
        EXPECT_FALSE(visible(ui::TransparencyGroup)) << os;
        EXPECT_EQ(hl::FindWindow(ui::MainWindow)->opacity, 255) << os;
        ui::ApplyTransparency(ui::MainWindow, 40, os);  // the fade-out at the end, too
        EXPECT_EQ(hl::FindWindow(ui::MainWindow)->opacity, 255) << os;
    }

    hl::Reset();
    Start(s, "Windows XP");
    EXPECT_TRUE(visible(ui::TransparencySlider));
    EXPECT_TRUE(visible(ui::TransparencyGroup));
    EXPECT_EQ(gui::GetGadgetState(ui::TransparencySlider), 120);
    EXPECT_EQ(hl::FindWindow(ui::MainWindow)->opacity, 120);
}

TEST_F(MainWindow, AStoredOpacityAboveTheRangeStaysOpaque) {
    ui::Options s;
    s.Transparency = 400;
    Start(s, "Windows XP");
    EXPECT_EQ(hl::FindWindow(ui::MainWindow)->opacity, 255);
    EXPECT_EQ(gui::GetGadgetState(ui::TransparencySlider), 255);
}

TEST_F(MainWindow, ExactlyOneMuteButtonShowsTheMixerState) {
    Start({}, "Linux", 0);
    EXPECT_TRUE(visible(ui::MuteButton));
    EXPECT_FALSE(visible(ui::UnmuteButton));
    hl::Reset();
    Start({}, "Linux", 1);
    EXPECT_FALSE(visible(ui::MuteButton));
    EXPECT_TRUE(visible(ui::UnmuteButton));
}

TEST_F(MainWindow, AWindowThatCannotOpenGetsNoControls) {
    hl::FailNextOpenWindow();
    EXPECT_FALSE(ui::StartMainWindow({}, "", 0, "Linux", 0, minimised));
    EXPECT_EQ(hl::FindWindow(ui::MainWindow), nullptr);
    EXPECT_EQ(hl::FindGadget(ui::PlayButton), nullptr);
}

TEST_F(MainWindow, TitleAndFlagFollowMinimiseAndRestore) {
    Start({});
    ASSERT_TRUE(hl::Minimise(ui::MainWindow));
    gui::PollEvent();
    EXPECT_EQ(hl::GetWindowTitle(ui::MainWindow), "MP3 Kiv");
    EXPECT_EQ(minimised, 1);
    ASSERT_TRUE(hl::Restore(ui::MainWindow));
    gui::PollEvent();
    EXPECT_EQ(hl::GetWindowTitle(ui::MainWindow), "MP3 Klingtal");
    EXPECT_EQ(minimised, 0);
}

TEST_F(MainWindow, TheSecondRateLabelTakesNumber39AndBothStayVisible) {
    Start({});
    std::vector<std::string> labels;
    for (const auto* g : hl::WindowGadgets(ui::MainWindow)) {
        if (g->spec.number == ui::RateLabel) {
            labels.push_back(g->text);
            EXPECT_TRUE(g->visible);
        }
    }
    EXPECT_EQ(labels, (std::vector<std::string>{"Bitrate:", "Samplingrate:"}));
    EXPECT_EQ(gui::GetGadgetText(ui::RateLabel), "Samplingrate:");
}

// Controls the user operates must not cover each other: two visible ones in the same place
// would swallow each other's clicks. The pairs that share a place take turns.
TEST_F(MainWindow, OperableControlsDoNotOverlapAndFitTheirArea) {
    for (int optionOn : {0, 1}) {
        for (int muted : {0, 1}) {
            hl::Reset();
            ui::Options s;
            s.OptionOn = optionOn;
            Start(s, "Windows XP", muted);
            std::vector<const hl::GadgetRecord*> operable;
            for (const auto* g : hl::WindowGadgets(ui::MainWindow)) {
                const auto k = g->spec.kind;
                if (!g->visible || k == GadgetKind::Text || k == GadgetKind::SunkenFrame ||
                    k == GadgetKind::EdgeFrame || k == GadgetKind::GroupBox) {
                    continue;
                }
                if (optionOn == 0 && g->rect.y >= ui::MainInnerHeight) continue;  // cut off
                operable.push_back(g);
                const auto* w = hl::FindWindow(ui::MainWindow);
                // The drop-down's height includes its list, which may hang below.
                if (k != GadgetKind::DropDown) {
                    EXPECT_LE(g->rect.y + g->rect.height, w->innerHeight) << g->spec.number;
                }
                EXPECT_LE(g->rect.x + g->rect.width, w->innerWidth) << g->spec.number;
            }
            for (std::size_t i = 0; i < operable.size(); ++i) {
                for (std::size_t j = i + 1; j < operable.size(); ++j) {
                    const auto* a = operable[i];
                    const auto* b = operable[j];
                    // The closed drop-down is one text line high.
                    gui::Rect ra = a->rect, rb = b->rect;
                    if (a->spec.kind == GadgetKind::DropDown) ra.height = 21;
                    if (b->spec.kind == GadgetKind::DropDown) rb.height = 21;
                    EXPECT_FALSE(overlap(ra, rb)) << a->spec.number << " and " << b->spec.number;
                }
            }
        }
    }
}

TEST_F(MainWindow, EveryControlIsAddressableWithItsHelpAndFont) {
    Start({});
    const auto gadgets = hl::WindowGadgets(ui::MainWindow);
    ASSERT_FALSE(gadgets.empty());
    EXPECT_EQ(gadgets.front()->spec.number, ui::FolderDisplay);
    EXPECT_EQ(gadgets.back()->spec.number, ui::TransparencyGroup);

    std::set<int> numbers;
    std::set<int> images;
    for (const auto* g : gadgets) {
        numbers.insert(g->spec.number);
        const auto k = g->spec.kind;
        if (k == GadgetKind::ImageButton) {
            EXPECT_TRUE(images.insert(g->spec.image).second) << "image reused: " << g->spec.image;
            EXPECT_FALSE(g->spec.smallFont);
        }
        // Everything a user presses, picks or drags explains itself.
        const bool explained = k == GadgetKind::Button || k == GadgetKind::DefaultButton ||
                               k == GadgetKind::Toggle || k == GadgetKind::ImageButton ||
                               k == GadgetKind::DropDown || k == GadgetKind::Slider ||
                               k == GadgetKind::Field;
        EXPECT_EQ(!g->tooltip.empty(), explained) << g->spec.number;
        if (k == GadgetKind::Text) {
            EXPECT_TRUE(g->spec.smallFont) << g->spec.number;
        }
    }
    EXPECT_EQ(numbers.size(), 42u);  // 0..45 without 10, 27, 28, 40
    for (int unused : {10, 27, 28, 40}) EXPECT_EQ(numbers.count(unused), 0u) << unused;
    EXPECT_EQ(images, (std::set<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 11, 12}));
    EXPECT_EQ(gadgets.size(), 43u);  // 39 twice

    // Return opens the folder requester, as on the original window.
    EXPECT_TRUE(hl::PressReturn(ui::MainWindow));
    EXPECT_EQ(gui::PollEvent().gadget, ui::FolderButton);
}

// A letter is its button's click, refused as the click would be while the button is disabled;
// + and - step the master volume by 5 % and stop at the ends of the scale.
TEST_F(MainWindow, KeysClickTheirButtonsAndStepTheVolume) {
    Start(ui::Options{});
    mixer_fake::Reset();
    gui::SetGadgetEnabled(ui::StopButton, false);
    for (char key : {'z', 'x', 'c', 'v', 'b', 'q'}) hl::PressKey(ui::MainWindow, key);
    std::vector<int> clicked;
    for (gui::Event e = gui::PollEvent(); e.type != gui::EventNone; e = gui::PollEvent()) {
        clicked.push_back(e.gadget);
    }
    EXPECT_EQ(clicked, (std::vector<int>{ui::PreviousButton, ui::PlayButton, ui::PauseButton,
                                         ui::NextButton}));
    EXPECT_TRUE(hl::PressKey(ui::MainWindow, '+'));
    EXPECT_EQ(mixer_fake::StoredVolume(), 65535u);
    for (std::uint32_t expected : {62258u, 58981u}) {
        EXPECT_TRUE(hl::PressKey(ui::MainWindow, '-'));
        EXPECT_EQ(mixer_fake::StoredVolume(), expected);
    }
    mixer_fake::ChangeVolumeOutside(1000);
    hl::PressKey(ui::MainWindow, '-');
    EXPECT_EQ(mixer_fake::StoredVolume(), 0u);
    EXPECT_FALSE(hl::PressKey(ui::MainWindow, 'q'));
    EXPECT_EQ(hl::FindWindow(ui::MainWindow)->tabOrder.front(), ui::FolderDisplay);
}

}  // namespace
