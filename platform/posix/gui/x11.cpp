// X11 window-manager hints for the FLTK gui backend: frame extents, "always above" and the
// opacity property that compositing managers read.
#include "platform/posix/gui/state.h"  // first, see there

#include <FL/Fl.H>
#include <FL/x.H>
#include <X11/Xatom.h>

namespace gui::fltk {

namespace {

Atom AtomOf(const char* name) {
    return XInternAtom(fl_display, name, False);
}

// The window a WINDOW-typed property of `owner` names; None when there is none.
Window WindowProperty(Window owner, const char* name) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0, remaining = 0;
    unsigned char* data = nullptr;
    const int status = XGetWindowProperty(fl_display, owner, AtomOf(name), 0, 1, False, XA_WINDOW,
                                          &type, &format, &count, &remaining, &data);
    Window found = None;
    if (status == Success && type == XA_WINDOW && format == 32 && count == 1 && data) {
        found = *reinterpret_cast<const Window*>(data);
    }
    if (data != nullptr) XFree(data);
    return found;
}

int IgnoreXError(Display*, XErrorEvent*) {
    return 0;
}

}  // namespace

FrameExtents QueryFrameExtents(Fl_Window* window) {
    FrameExtents extents;
    if (window == nullptr || !window->shown()) return extents;
    Atom type = None;
    int format = 0;
    unsigned long count = 0, remaining = 0;
    unsigned char* data = nullptr;
    const int status =
        XGetWindowProperty(fl_display, fl_xid(window), AtomOf("_NET_FRAME_EXTENTS"), 0, 4, False,
                           XA_CARDINAL, &type, &format, &count, &remaining, &data);
    if (status == Success && type == XA_CARDINAL && format == 32 && count == 4 && data) {
        const auto* values = reinterpret_cast<const long*>(data);
        extents = {int(values[0]), int(values[1]), int(values[2]), int(values[3]), true};
    }
    if (data != nullptr) XFree(data);
    return extents;
}

bool WindowManagerRunning() {
    // A window manager that has gone leaves the root's property behind (the X server keeps it
    // unless it resets), so the check window it names must still exist and name itself.
    const Window check =
        WindowProperty(RootWindow(fl_display, fl_screen), "_NET_SUPPORTING_WM_CHECK");
    if (check == None) return false;
    XSync(fl_display, False);
    XErrorHandler previous = XSetErrorHandler(IgnoreXError);  // BadWindow when it has gone
    const Window self = WindowProperty(check, "_NET_SUPPORTING_WM_CHECK");
    XSync(fl_display, False);
    XSetErrorHandler(previous);
    return self == check;
}

namespace {

// A client message to the root window: how a window manager takes requests about a window
// that is already mapped.
void SendToWindowManager(Fl_Window* window, const char* message, long l0, long l1, long l2,
                         long l3) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = fl_xid(window);
    event.xclient.message_type = AtomOf(message);
    event.xclient.format = 32;
    event.xclient.data.l[0] = l0;
    event.xclient.data.l[1] = l1;
    event.xclient.data.l[2] = l2;
    event.xclient.data.l[3] = l3;
    XSendEvent(fl_display, RootWindow(fl_display, fl_screen), False,
               SubstructureRedirectMask | SubstructureNotifyMask, &event);
    XFlush(fl_display);
}

}  // namespace

void SendAbove(Fl_Window* window, bool above) {
    if (window == nullptr || !window->shown()) return;
    // add or remove the state; sent by a normal application
    SendToWindowManager(window, "_NET_WM_STATE", above ? 1 : 0, long(AtomOf("_NET_WM_STATE_ABOVE")),
                        0, 1);
}

void AskForFocus(Fl_Window* window) {
    if (window == nullptr || !window->shown()) return;
    // source 1 (an application), no time stamp, no window of ours active before
    SendToWindowManager(window, "_NET_ACTIVE_WINDOW", 1, 0, 0, 0);
}

void SetOpacityHint(Fl_Window* window, int alpha) {
    if (window == nullptr || !window->shown()) return;
    const Atom property = AtomOf("_NET_WM_WINDOW_OPACITY");
    if (alpha >= 255) {
        XDeleteProperty(fl_display, fl_xid(window), property);
    } else {
        const unsigned long value = (std::max(alpha, 0) * 0xffffffffull) / 255;
        XChangeProperty(fl_display, fl_xid(window), property, XA_CARDINAL, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(&value), 1);
    }
    XFlush(fl_display);
}

}  // namespace gui::fltk
