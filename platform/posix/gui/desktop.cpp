// Whether the FLTK backend has a display: FLTK itself would end the process with a bare
// "Can't open display", so the X connection is opened here first and handed to FLTK.
#include "platform/posix/gui/state.h"  // first, see there

#include <FL/Fl.H>
#include <FL/x.H>

#include <cstdlib>
#include <string>

namespace {

bool IsSet(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

}  // namespace

namespace gui {

std::string DesktopProblem() {
    if (fl_display != nullptr) return {};
    if (!IsSet("DISPLAY") && !IsSet("WAYLAND_DISPLAY")) {
        return "no DISPLAY or WAYLAND_DISPLAY is set";
    }
    // FLTK 1.3 draws through X11 only, on Wayland through XWayland.
    if (!IsSet("DISPLAY")) return "DISPLAY is not set, and the window needs X11 or XWayland";
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        return std::string("the X display ") + XDisplayName(nullptr) + " cannot be opened";
    }
    fl_open_display(display);  // FLTK takes the connection over
    return {};
}

}  // namespace gui
