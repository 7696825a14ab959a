// The main window at the desktop's scale factor, from FLTK_SCALING_FACTOR or from the X
// resource Xft.dpi: its client area, its images and texts grow, and the play button and the
// volume knob answer the mouse at any factor exactly as at 1.
#include <gtest/gtest.h>

#include "app/app_state.h"
#include "app/volume_knob.h"
#include "platform/gui.h"
#include "platform/posix/gui/state.h"
#include "platform/posix/gui/widgets.h"
#include "tests/integration/fltk/fltk_support.h"
#include "ui/gadgets.h"
#include "ui/images.h"
#include "ui/main_window.h"
#include "volume/mixer_fake.h"

#include <FL/Fl.H>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using namespace fltk_test;

namespace {

std::string Output(const std::string& command) {
    std::string output;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[256];
        while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) output += buffer;
        pclose(pipe);
    }
    return output;
}

// Moves the pointer to a point of the main window given in layout pixels.
void PointAt(int x, int y, const char* then = "") {
    int ox = 0, oy = 0;
    ClientOrigin(ui::MainWindow, ox, oy);
    Xdotool("mousemove " + std::to_string(ox + gui::fltk::Scaled(x)) + " " +
            std::to_string(oy + gui::fltk::Scaled(y)) + " " + then);
}

TEST(FltkScale, WindowGrowsAndTheMouseActsAsAtScaleOne) {
    if (std::system("command -v xrdb >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "xrdb is missing (x11-xserver-utils)";
    }
    ASSERT_TRUE(RegisterProgramImages());
    const std::string resources = Output("xrdb -query");
    struct Case {
        const char* factor;  // FLTK_SCALING_FACTOR, nullptr for unset
        const char* dpi;     // Xft.dpi, nullptr for none
        int width, compactHeight, extendedHeight;
    };
    std::vector<std::uint32_t> volumes;
    std::vector<int> ink;
    for (const Case& c : {Case{nullptr, nullptr, 285, 116, 162},
                          Case{nullptr, "192", 570, 232, 324}, Case{"1.5", "192", 428, 174, 243}}) {
        if (c.factor != nullptr) setenv("FLTK_SCALING_FACTOR", c.factor, 1);
        if (c.dpi != nullptr) Output(std::string("echo 'Xft.dpi: ") + c.dpi + "' | xrdb -merge");
        gui::fltk::ReadScaleFactor();
        ASSERT_TRUE(ui::OpenMainWindow(80, 80));
        ui::CreateMainControls("/musik/");
        const Fl_Window* window = gui::fltk::FindWindow(ui::MainWindow)->window;
        EXPECT_EQ(window->w(), c.width) << (c.dpi ? c.dpi : "-");
        EXPECT_EQ(window->h(), c.compactHeight);
        // On screen: the play button's image at the factor.
        int ox = 0, oy = 0;
        ClientOrigin(ui::MainWindow, ox, oy);
        const Fl_Widget* play = gui::fltk::FindGadget(ui::PlayButton)->widget;
        auto playInk = [&] {
            return DarkPixels(ox + play->x() + 2, oy + play->y() + 2, play->w() - 4, play->h() - 4);
        };
        // Drawn once the window's face shows beside the counter frame.
        const unsigned face = Fl::get_color(FL_BACKGROUND_COLOR) >> 8;
        EXPECT_TRUE(WaitFor([&] {
            ClientOrigin(ui::MainWindow, ox, oy);
            return ScreenPixel(ox + gui::fltk::Scaled(284), oy + gui::fltk::Scaled(40)) == face;
        }));
        // The image's ink once it is drawn: two readings alike, a busy X server may be slow.
        int drawn = 0;
        EXPECT_TRUE(WaitFor([&] {
            const int now = playInk();
            const bool settled = now > 0 && now == drawn;
            drawn = now;
            if (!settled) Pump(20);
            return settled;
        }, 5000));
        ink.push_back(drawn);

        PointAt(21 + 9, 79 + 8, "click 1");
        EXPECT_TRUE(PumpUntil(gui::EventGadget, ui::PlayButton, 3000));

        mixer_fake::Reset();
        PlayerState player;
        const SystemFacts system;
        PointAt(214, 87, "mousedown 1");
        Pump(100);
        PressOnVolume(player, system);
        EXPECT_EQ(player.VolumeDrag, 1);
        PointAt(250, 87);
        Pump(100);
        DragKnob(player, system);
        PointAt(250, 87, "mouseup 1");
        Pump(100);
        volumes.push_back(mixer_fake::StoredVolume());
        const gui::Rect knob = gui::GadgetRect(ui::VolumeKnob);
        EXPECT_EQ(gui::fltk::FindGadget(ui::VolumeKnob)->widget->x(), gui::fltk::Scaled(knob.x));

        ui::SetExtendedMode(true);
        Pump(200);
        EXPECT_EQ(window->w(), c.width);
        EXPECT_EQ(window->h(), c.extendedHeight);
        gui::CloseWindow(ui::MainWindow);
        Pump(50);
        unsetenv("FLTK_SCALING_FACTOR");
    }
    Output(resources.empty() ? "xrdb -remove" : "xrdb -load <<'EOF'\n" + resources + "EOF\n");
    gui::fltk::ReadScaleFactor();
    EXPECT_GT(volumes[0], 0u);
    EXPECT_EQ(volumes, std::vector<std::uint32_t>(3, volumes[0]));
    // Nearest neighbour: at a whole factor every dark image pixel becomes a square of them.
    EXPECT_GT(ink[0], 0);
    EXPECT_EQ(ink[1], ink[0] * 4);
    EXPECT_GE(ink[2], ink[0] * 2);  // 1.5 squared, less the rounding
}

}  // namespace
