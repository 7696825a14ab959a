// The desktop's scale factor for the FLTK gui backend. FLTK 1.3 draws in device pixels, so the
// backend multiplies the program's layout pixels itself: every position, size, font and image on
// the way out, and mouse positions, window places and screen sizes back on the way in.
#include "platform/posix/gui/state.h"  // first, see there

#include <FL/Fl.H>
#include <FL/x.H>
#include <X11/Xatom.h>
#include <X11/Xresource.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

namespace gui::fltk {

namespace {

constexpr double kLowestFactor = 1.0, kHighestFactor = 4.0;
constexpr double kStandardDpi = 96.0;

double factor = 1.0;

// A positive number, blanks around it allowed; 0 for anything else.
double Number(const char* text) {
    if (text == nullptr || *text == '\0') return 0;
    char* end = nullptr;
    const double value = std::strtod(text, &end);
    if (end == text) return 0;
    while (*end == ' ' || *end == '\t') ++end;
    return *end == '\0' && std::isfinite(value) && value > 0 ? value : 0;
}

// The X resources as they are now (the root window's RESOURCE_MANAGER, which xrdb sets and
// desktops write Xft.dpi to), not as the connection found them when it opened.
double XftDpi() {
    if (fl_display == nullptr) return 0;
    Atom type = None;
    int format = 0;
    unsigned long count = 0, remaining = 0;
    unsigned char* data = nullptr;
    const int status = XGetWindowProperty(
        fl_display, RootWindow(fl_display, 0), XInternAtom(fl_display, "RESOURCE_MANAGER", False),
        0, 1 << 20, False, XA_STRING, &type, &format, &count, &remaining, &data);
    double dpi = 0;
    if (status == Success && data != nullptr && format == 8) {
        XrmInitialize();
        const std::string resources(reinterpret_cast<const char*>(data), count);
        if (XrmDatabase database = XrmGetStringDatabase(resources.c_str())) {
            char* kind = nullptr;
            XrmValue value{};
            if (XrmGetResource(database, "Xft.dpi", "Xft.Dpi", &kind, &value) && value.addr) {
                dpi = Number(std::string(value.addr, strnlen(value.addr, value.size)).c_str());
            }
            XrmDestroyDatabase(database);
        }
    }
    if (data != nullptr) XFree(data);
    return dpi;
}

}  // namespace

void ReadScaleFactor() {
    double wanted = Number(std::getenv("FLTK_SCALING_FACTOR"));
    if (wanted == 0) wanted = XftDpi() / kStandardDpi;
    if (wanted == 0) wanted = 1;
    factor = std::clamp(wanted, kLowestFactor, kHighestFactor);
    Fl::scrollbar_size(Scaled(16));
}

double ScaleFactor() {
    return factor;
}

int Scaled(int layout) {
    return int(std::lround(layout * factor));
}

int Unscaled(int device) {
    return int(std::floor(device / factor + 1e-9));
}

int UnscaledSize(int device) {
    return int(std::lround(device / factor));
}

Rect ScaledRect(const Rect& layout) {
    const int x = Scaled(layout.x), y = Scaled(layout.y);
    return {x, y, Scaled(layout.x + layout.width) - x, Scaled(layout.y + layout.height) - y};
}

}  // namespace gui::fltk
