// The watcher that closes the folder requester on a termination signal, through its own X
// connection (Xlib only: FLTK is main-thread only).
#include "platform/posix/gui/state.h"  // first, see there

#include "platform/posix/gui/requester_stop.h"

#include <FL/x.H>
#include <X11/Xatom.h>
#include <unistd.h>

#include <chrono>
#include <memory>
#include <utility>

namespace gui::fltk {

namespace {

struct DisplayCloser {
    void operator()(Display* display) const { XCloseDisplay(display); }
};
struct XFreer {
    void operator()(void* data) const { XFree(data); }
};
using XData = std::unique_ptr<unsigned char, XFreer>;

// How often the watcher looks for a stop request, and for the requester while it has not
// yet appeared: 50 ms, well within the second the program has to end.
constexpr std::chrono::milliseconds kPollInterval{50};
// Levels below the root searched for the requester: a frame of the window manager, and a
// wrapper some of them add, may lie between.
constexpr int kSearchDepth = 3;

struct Atoms {
    Atom pid, name, utf8, protocols, deleteWindow;
};

// `window`'s property `property` of `type` (format 8 or 32: longs), absent as nullptr.
XData Property(Display* display, Window window, Atom property, Atom type, unsigned long& count) {
    Atom actualType = 0;
    int format = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    count = 0;
    const int status = XGetWindowProperty(display, window, property, 0, 1024, False, type,
                                          &actualType, &format, &count, &remaining, &data);
    XData owned(data);
    if (status != Success || actualType != type || count == 0) return nullptr;
    return owned;
}

bool IsRequester(Display* display, Window window, const Atoms& atoms, const std::string& title) {
    unsigned long count = 0;
    const XData pid = Property(display, window, atoms.pid, XA_CARDINAL, count);
    if (!pid || *reinterpret_cast<const long*>(pid.get()) != long(getpid())) return false;
    const XData name = Property(display, window, atoms.name, atoms.utf8, count);
    return name && std::string(reinterpret_cast<const char*>(name.get()), count) == title;
}

void SendClose(Display* display, Window window, const Atoms& atoms) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = atoms.protocols;
    event.xclient.format = 32;
    event.xclient.data.l[0] = long(atoms.deleteWindow);
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
}

// True when `window` or one below it was the requester.
bool CloseMatching(Display* display, Window window, int depth, const Atoms& atoms,
                   const std::string& title) {
    if (IsRequester(display, window, atoms, title)) {
        SendClose(display, window, atoms);
        return true;
    }
    Window root = 0, parent = 0, *children = nullptr;
    unsigned int count = 0;
    if (depth == 0 || !XQueryTree(display, window, &root, &parent, &children, &count)) {
        return false;
    }
    const XData owned(reinterpret_cast<unsigned char*>(children));
    bool found = false;
    for (unsigned int i = 0; i < count; ++i) {
        found = CloseMatching(display, children[i], depth - 1, atoms, title) || found;
    }
    return found;
}

// Closes the requester's windows; false when none has appeared yet. The server is grabbed
// meanwhile, so that no window goes away between being found and being sent to (which would
// be an X error).
bool CloseRequester(Display* display, const std::string& title) {
    const Atoms atoms{
        XInternAtom(display, "_NET_WM_PID", False), XInternAtom(display, "_NET_WM_NAME", False),
        XInternAtom(display, "UTF8_STRING", False), XInternAtom(display, "WM_PROTOCOLS", False),
        XInternAtom(display, "WM_DELETE_WINDOW", False)};
    XGrabServer(display);
    const bool found =
        CloseMatching(display, DefaultRootWindow(display), kSearchDepth, atoms, title);
    XUngrabServer(display);
    XFlush(display);
    return found;
}

}  // namespace

CloseOnStop::CloseOnStop(std::string title)
    : title_(std::move(title)),
      displayName_(DisplayString(fl_display)),
      watcher_([this] { Watch(); }) {}

CloseOnStop::~CloseOnStop() {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        ended_ = true;
    }
    endedChanged_.notify_one();
    watcher_.join();
}

// The watcher thread. Opens its X connection only once a stop has been requested, and asks
// the requester to close once, as one click on its close button does.
void CloseOnStop::Watch() {
    std::unique_ptr<Display, DisplayCloser> display;
    bool asked = false;
    std::unique_lock<std::mutex> lock(mutex_);
    while (!endedChanged_.wait_for(lock, kPollInterval, [this] { return ended_; })) {
        if (asked || !StopRequested()) continue;
        if (!display) display.reset(XOpenDisplay(displayName_.c_str()));
        if (display) asked = CloseRequester(display.get(), title_);
    }
}

}  // namespace gui::fltk
