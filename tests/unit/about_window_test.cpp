// The About window: modal over the main window, closed by Ok, Return, Escape or its close box,
// the picture as a link, the sound, and the build time text.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/gui.h"
#include "platform/headless/headless.h"
#include "ui/about_window.h"
#include "ui/gadgets.h"
#include "ui/main_window.h"

namespace {

namespace hl = gui::headless;

class AboutWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        hl::Reset();
        ASSERT_TRUE(ui::StartMainWindow({}, "", 0, "Linux", 0, minimised));
        actions.openUrl = [this](std::string_view url) { urls.emplace_back(url); };
        actions.playSound = [this] {
            ++sounds;
            return soundAvailable;
        };
    }

    // Runs the About window; `user` is called each time it waits, with the number of the call,
    // and returns false when the user has nothing more to do.
    void Run(std::function<bool(int)> user) {
        int step = 0;
        hl::SetWaitHook([&] { return user(step++); });
        ui::ShowAboutWindow(actions);
        hl::SetWaitHook({});
        waits = step;
    }

    ui::AboutActions actions;
    std::vector<std::string> urls;
    int sounds = 0;
    bool soundAvailable = true;
    int waits = 0;
    int minimised = 0;
};

TEST_F(AboutWindow, EscapeReturnOkAndCloseBoxEachEndIt) {
    const std::vector<std::function<bool()>> endings = {
        [] { return hl::PressEscape(ui::AboutWindow); },
        [] { return hl::PressReturn(ui::AboutWindow); },
        [] { return hl::Click(ui::AboutOkButton); },
        [] { return hl::Close(ui::AboutWindow); },
    };
    for (const auto& end : endings) {
        Run([&](int step) {
            EXPECT_EQ(step, 0) << "the window stayed open";
            return step == 0 && end();
        });
        EXPECT_EQ(waits, 1);
        EXPECT_EQ(hl::FindWindow(ui::AboutWindow), nullptr);
    }
}

TEST_F(AboutWindow, TheMainWindowTakesNoInputMeanwhileAndIsBackAfterwards) {
    Run([&](int step) {
        if (step == 0) {
            const auto* about = hl::FindWindow(ui::AboutWindow);
            EXPECT_NE(about, nullptr);
            EXPECT_EQ(about->title, "Über MP3 Klingtal");
            EXPECT_EQ(about->innerWidth, 300);
            EXPECT_EQ(about->innerHeight, 140);
            EXPECT_EQ(about->owner, ui::MainWindow);
            EXPECT_FALSE(hl::FindWindow(ui::MainWindow)->enabled);
            EXPECT_FALSE(hl::Click(ui::PlayButton));
            EXPECT_FALSE(hl::Close(ui::MainWindow));
            EXPECT_FALSE(hl::MouseDown(ui::MainWindow, 250, 85));
            return hl::PressEscape(ui::AboutWindow);
        }
        return false;
    });
    EXPECT_TRUE(hl::FindWindow(ui::MainWindow)->enabled);
    EXPECT_EQ(gui::CurrentWindow(), ui::MainWindow);
    EXPECT_TRUE(hl::Click(ui::PlayButton));
    EXPECT_EQ(gui::PollEvent().gadget, ui::PlayButton);
}

TEST_F(AboutWindow, ItOpensCentredWithTheCreditsInASmallFont) {
    hl::SetScreenSize(1600, 900);
    Run([&](int) {
        const gui::Rect r = gui::WindowOuterRect(ui::AboutWindow);
        EXPECT_EQ(r.x + r.width / 2, 800);
        EXPECT_EQ(r.y + r.height / 2, 450);
        EXPECT_EQ(gui::GetGadgetText(ui::AboutCreditText),
                  "Ein Freeware-Programm geschrieben mit dem ");
        EXPECT_EQ(gui::GetGadgetText(ui::AboutLinkText).rfind("Für Details siehe: ", 0), 0u);
        for (const auto* g : hl::WindowGadgets(ui::AboutWindow)) {
            if (g->spec.kind == gui::GadgetKind::Text) {
                EXPECT_TRUE(g->spec.smallFont) << g->spec.number;
                EXPECT_FALSE(g->text.empty()) << g->spec.number;
            }
        }
        return false;
    });
}

TEST_F(AboutWindow, APressOnThePictureOpensTheWebPage) {
    const gui::Rect picture{210, 10, 70, 89};
    Run([&](int step) {
        switch (step) {
            case 0:
                return hl::MouseDown(ui::AboutWindow, picture.x - 1, 50);
            case 1:
                return hl::MouseDown(ui::AboutWindow, 150, 50);  // over the credits
            case 2:
                return hl::MouseDown(ui::AboutWindow, 250, picture.y + picture.height);
            case 3:
                return hl::MouseUp(ui::AboutWindow, 250, 50);  // a release opens nothing
            case 4:
                return hl::MouseDown(ui::AboutWindow, picture.x, picture.y);
            case 5:
                return hl::MouseDown(ui::AboutWindow, 279, 98);
            default:
                return hl::PressEscape(ui::AboutWindow);
        }
    });
    EXPECT_EQ(urls, (std::vector<std::string>(2, std::string(ui::AboutWebAddress))));
}

TEST_F(AboutWindow, TheSoundPlaysOnceOrNotAtAll) {
    Run([](int) { return false; });
    EXPECT_EQ(sounds, 1);

    soundAvailable = false;
    actions.playSound = [this] {
        ++sounds;
        return soundAvailable;
    };
    Run([](int step) { return step == 0 && hl::PressEscape(ui::AboutWindow); });
    EXPECT_EQ(sounds, 2);
    EXPECT_EQ(waits, 1);

    actions = {};  // nothing to play with and nothing to open
    Run([](int step) { return step == 0 && hl::MouseDown(ui::AboutWindow, 240, 40); });
    EXPECT_EQ(hl::FindWindow(ui::AboutWindow), nullptr);
}

TEST_F(AboutWindow, AWindowThatCannotOpenReturnsAtOnce) {
    hl::FailNextOpenWindow();
    Run([](int) {
        ADD_FAILURE() << "waited without a window";
        return false;
    });
    EXPECT_EQ(sounds, 0);
    EXPECT_TRUE(hl::FindWindow(ui::MainWindow)->enabled);
    EXPECT_EQ(gui::CurrentWindow(), ui::MainWindow);
}

TEST(BuildTime, TwoDigitFieldsInDayMonthYearOrder) {
    EXPECT_EQ(ui::FormatBuildTime(0), "01/01/70 00:00:00");
    EXPECT_EQ(ui::FormatBuildTime(1052220364), "06/05/03 11:26:04");
    EXPECT_EQ(ui::FormatBuildTime(951868799), "29/02/00 23:59:59");
    EXPECT_EQ(ui::FormatBuildTime(951868800), "01/03/00 00:00:00");
    EXPECT_EQ(ui::FormatBuildTime(-5), "01/01/70 00:00:00");
    EXPECT_EQ(ui::FormatBuildTime(INT64_MAX), "31/12/99 23:59:59");
}

}  // namespace
