// The About window: its texts and picture, the build time, and its own modal event loop.
#include "ui/about_window.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "platform/gui.h"
#include "platform/system.h"
#include "ui/gadget_spec.h"
#include "ui/gadgets.h"
#include "ui/layout.h"

// Seconds since 1970 of the build, given by the build system.
#ifndef KLINGTAL_BUILD_EPOCH
#error "KLINGTAL_BUILD_EPOCH must be defined by the build"
#endif

namespace ui {

namespace {

constexpr gui::Rect PictureRect{210, 10, 70, 89};  // client pixels

constexpr std::string_view CreditText = "Ein Freeware-Programm geschrieben mit dem ";
constexpr std::string_view VersionText = "Version 1.0 vom Klingtal-Team";
// Three lines at most; the text control wraps at word boundaries.
constexpr std::string_view OrderText =
    "Freeware: kostenlos, Weitergabe erwünscht. Fragen und Ideen bitte an: "
    "klingtal@example.org";

void CreateText(int number, int x, int y, int w, int h, std::string_view text) {
    gui::GadgetSpec spec =
        MakeGadget(number, gui::GadgetKind::Text, x, y, w, h, std::string(text), true);
    spec.align = gui::Align::Centre;
    gui::CreateGadget(spec);
}

void CreateAboutControls() {
    const gui::Rect& p = PictureRect;
    gui::GadgetSpec picture =
        MakeGadget(AboutPicture, gui::GadgetKind::Picture, p.x, p.y, p.width, p.height);
    picture.image = AboutPictureImage;
    gui::CreateGadget(picture);
    gui::CreateGadget(
        MakeGadget(AboutOkButton, gui::GadgetKind::DefaultButton, 210, 112, 75, 20, "Ok"));

    CreateText(AboutCreditText, 5, 5, 190, 12, CreditText);
    CreateText(AboutToolText, 5, 20, 190, 12, sys::ProgramCredits().tool);
    CreateText(AboutLinkText, 5, 35, 190, 12, sys::ProgramCredits().link);
    CreateText(AboutVersionText, 10, 60, 180, 12, VersionText);
    CreateText(AboutDateText, 10, 75, 180, 12, FormatBuildTime(KLINGTAL_BUILD_EPOCH));
    gui::CreateGadget(MakeGadget(AboutDateFrame, gui::GadgetKind::SunkenFrame, 5, 55, 190, 35));
    CreateText(AboutOrderText, 5, 100, 190, 40, OrderText);
}

// Whether the mouse, as the window reports it, is over the picture. The reported position is
// relative to the outer window where the system has frame metrics, so they come off first.
bool MouseOverPicture() {
    const int x = gui::WindowMouseX(AboutWindow) - gui::SystemMetric(FrameSizeMetric);
    const int y = gui::WindowMouseY(AboutWindow) - gui::SystemMetric(CaptionHeightMetric);
    return x >= PictureRect.x && x < PictureRect.x + PictureRect.width && y >= PictureRect.y &&
           y < PictureRect.y + PictureRect.height;
}

}  // namespace

const std::string_view AboutWebAddress = sys::ProgramCredits().webAddress;

std::string FormatBuildTime(std::int64_t secondsSince1970) {
    using namespace std::chrono;
    // Up to the end of year 9999, so the calendar arithmetic stays in range.
    const sys_seconds time{seconds{std::clamp<std::int64_t>(secondsSince1970, 0, 253402300799)}};
    const auto day = floor<days>(time);
    const year_month_day date{day};
    const hh_mm_ss clock{time - day};
    char text[32];
    std::snprintf(text, sizeof text, "%02u/%02u/%02d %02d:%02d:%02d",
                  static_cast<unsigned>(date.day()), static_cast<unsigned>(date.month()),
                  static_cast<int>(date.year()) % 100, static_cast<int>(clock.hours().count()),
                  static_cast<int>(clock.minutes().count()),
                  static_cast<int>(clock.seconds().count()));
    return text;
}

void ShowAboutWindow(const AboutActions& actions) {
    gui::WindowSpec spec;
    spec.number = AboutWindow;
    spec.innerWidth = 300;
    spec.innerHeight = 140;
    spec.title = "Über MP3 Klingtal";
    spec.screenCentred = true;
    spec.owner = MainWindow;  // stays above the main window, no taskbar entry of its own
    // Without its window there is nothing to wait for: waiting would never end.
    if (!gui::OpenWindow(spec)) {
        gui::UseWindow(MainWindow);
        return;
    }
    CreateAboutControls();
    gui::SetEnterEscapeButton(AboutWindow, AboutOkButton);
    gui::SetWindowEnabled(MainWindow, false);
    if (actions.playSound) actions.playSound();  // silent when there is no sound output

    const gui::ModalWait modal;  // the list goes on meanwhile (gui::WaitEvent)
    for (;;) {
        const gui::Event event = gui::WaitEvent();
        // Closing the main window (a termination signal, the desktop's quit) closes this one
        // too; the main loop then takes the close.
        if (event.type == gui::EventCloseWindow && event.window == MainWindow) {
            gui::PostEvent(event);
            break;
        }
        if (event.window != AboutWindow) continue;  // the main window is disabled meanwhile
        if (event.type == gui::EventCloseWindow) break;
        if (event.type == gui::EventGadget && event.gadget == AboutOkButton) break;
        if (event.type == gui::EventLeftButtonDown && MouseOverPicture() && actions.openUrl) {
            actions.openUrl(AboutWebAddress);
        }
    }

    gui::CloseWindow(AboutWindow);
    gui::SetWindowEnabled(MainWindow, true);
    gui::UseWindow(MainWindow);
}

}  // namespace ui
