// Test helpers over X11 and xdotool, and the test program's main: it skips the suite without a
// display and starts openbox when no window manager runs.
#include "tests/integration/fltk/fltk_support.h"

// gtest and gui.h before X11, which defines None as a macro.
#include <gtest/gtest.h>

#include "platform/posix/gui/state.h"
#include "platform/posix/gui/widgets.h"

#include <FL/Fl.H>
#include <FL/Fl_Window.H>
#include <FL/x.H>
#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <thread>

namespace fltk_test {

namespace {

using Clock = std::chrono::steady_clock;

Atom AtomOf(const char* name) {
    return XInternAtom(fl_display, name, False);
}

Fl_Window* WindowOf(int window) {
    gui::fltk::WindowRecord* record = gui::fltk::FindWindow(window);
    return record == nullptr ? nullptr : record->window;
}

}  // namespace

std::vector<gui::Event> Pump(int ms) {
    std::vector<gui::Event> events;
    const auto end = Clock::now() + std::chrono::milliseconds(ms);
    while (Clock::now() < end) {
        const gui::Event event = gui::PollEvent();
        if (event.type != gui::EventNone) {
            events.push_back(event);
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }
    return events;
}

bool PumpUntil(int type, int gadget, int ms) {
    const auto end = Clock::now() + std::chrono::milliseconds(ms);
    while (Clock::now() < end) {
        const gui::Event event = gui::PollEvent();
        if (event.type == type && (gadget < 0 || event.gadget == gadget)) return true;
        if (event.type == gui::EventNone) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
}

bool WaitFor(const std::function<bool()>& done, int ms) {
    const auto end = Clock::now() + std::chrono::milliseconds(ms);
    while (!done()) {
        if (Clock::now() >= end) return false;
        if (gui::PollEvent().type == gui::EventNone) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }
    return true;
}

bool Xdotool(const std::string& arguments) {
    XSync(fl_display, False);
    return std::system(("xdotool " + arguments + " >/dev/null 2>&1").c_str()) == 0;
}

void ClientOrigin(int window, int& x, int& y) {
    Fl_Window* fl = WindowOf(window);
    ::Window child = 0;
    XTranslateCoordinates(fl_display, fl_xid(fl), RootWindow(fl_display, fl_screen), 0, 0, &x, &y,
                          &child);
}

void ClickAt(int window, int x, int y) {
    int ox = 0, oy = 0;
    ClientOrigin(window, ox, oy);
    Xdotool("mousemove " + std::to_string(ox + x) + " " + std::to_string(oy + y) + " click 1");
}

unsigned long XidOf(int window) {
    return fl_xid(WindowOf(window));
}

unsigned ScreenPixel(int x, int y) {
    XSync(fl_display, False);
    XImage* image =
        XGetImage(fl_display, RootWindow(fl_display, fl_screen), x, y, 1, 1, AllPlanes, ZPixmap);
    if (image == nullptr) return 0xffffffffu;
    const unsigned long pixel = XGetPixel(image, 0, 0);
    XDestroyImage(image);
    return unsigned(pixel & 0xffffff);
}

int DarkPixels(int x, int y, int w, int h) {
    XSync(fl_display, False);
    XImage* shot = XGetImage(fl_display, RootWindow(fl_display, fl_screen), x, y, unsigned(w),
                             unsigned(h), AllPlanes, ZPixmap);
    if (shot == nullptr) return -1;
    int dark = 0;
    for (int row = 0; row < h; ++row) {
        for (int column = 0; column < w; ++column) {
            const unsigned long c = XGetPixel(shot, column, row);
            dark += (c >> 16 & 0xff) < 0x60 && (c >> 8 & 0xff) < 0x60 && (c & 0xff) < 0x60;
        }
    }
    XDestroyImage(shot);
    return dark;
}

bool HaveWindowManager() {
    return gui::fltk::WindowManagerRunning();
}

unsigned long RootWmCheck() {
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, remaining = 0;
    unsigned char* data = nullptr;
    XGetWindowProperty(fl_display, RootWindow(fl_display, fl_screen),
                       AtomOf("_NET_SUPPORTING_WM_CHECK"), 0, 1, False, XA_WINDOW, &type, &format,
                       &count, &remaining, &data);
    const unsigned long window = count == 1 && data ? *reinterpret_cast<Window*>(data) : 0;
    if (data != nullptr) XFree(data);
    return window;
}

void SetRootWmCheck(unsigned long window) {
    const Window root = RootWindow(fl_display, fl_screen);
    const Atom check = AtomOf("_NET_SUPPORTING_WM_CHECK");
    if (window == 0) {
        XDeleteProperty(fl_display, root, check);
    } else {
        Window value = window;
        XChangeProperty(fl_display, root, check, XA_WINDOW, 32, PropModeReplace,
                        reinterpret_cast<unsigned char*>(&value), 1);
    }
    XSync(fl_display, False);
}

unsigned long GoneWindow() {
    const Window root = RootWindow(fl_display, fl_screen);
    const Window window = XCreateSimpleWindow(fl_display, root, 0, 0, 1, 1, 0, 0, 0);
    XDestroyWindow(fl_display, window);
    XSync(fl_display, False);
    return window;
}

void SendDeleteRequest(int window) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = XidOf(window);
    event.xclient.message_type = AtomOf("WM_PROTOCOLS");
    event.xclient.format = 32;
    event.xclient.data.l[0] = long(AtomOf("WM_DELETE_WINDOW"));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(fl_display, XidOf(window), False, NoEventMask, &event);
    XFlush(fl_display);
}

std::vector<std::string> WmState(int window) {
    return AtomNames(window, "_NET_WM_STATE");
}

std::vector<std::string> AtomNames(int window, const char* property) {
    std::vector<std::string> names;
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, remaining = 0;
    unsigned char* data = nullptr;
    XSync(fl_display, False);
    if (XGetWindowProperty(fl_display, XidOf(window), AtomOf(property), 0, 64, False, XA_ATOM,
                           &type, &format, &count, &remaining, &data) == Success &&
        data != nullptr) {
        const auto* atoms = reinterpret_cast<const Atom*>(data);
        for (unsigned long i = 0; i < count; ++i) {
            char* name = XGetAtomName(fl_display, atoms[i]);
            names.emplace_back(name);
            XFree(name);
        }
    }
    if (data != nullptr) XFree(data);
    return names;
}

long OpacityProperty(int window) {
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, remaining = 0;
    unsigned char* data = nullptr;
    long value = -1;
    XSync(fl_display, False);
    if (XGetWindowProperty(fl_display, XidOf(window), AtomOf("_NET_WM_WINDOW_OPACITY"), 0, 1, False,
                           XA_CARDINAL, &type, &format, &count, &remaining, &data) == Success &&
        count == 1) {
        value = long(*reinterpret_cast<const unsigned long*>(data) & 0xffffffffUL);
    }
    if (data != nullptr) XFree(data);
    return value;
}

}  // namespace fltk_test

// Fontconfig, Xlib and the GTK folder dialog FLTK loads keep caches until the process ends;
// they are not this program's leaks.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\nleak:libX11.so\nleak:libXft.so\nleak:libfltk.so\n"
           "leak:libglib-2.0.so\nleak:libgobject-2.0.so\nleak:libgtk-x11-2.0.so\n"
           "leak:libgdk-x11-2.0.so\nleak:libpango\nleak:libcairo.so\n";
}

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();  // the build lists them, displayless
    if (std::getenv("DISPLAY") == nullptr || *std::getenv("DISPLAY") == '\0') {
        std::puts("skipped: no DISPLAY");
        return 77;
    }
    gui::ScreenWidth();  // opens the display
    pid_t openbox = 0;
    if (!fltk_test::HaveWindowManager()) {
        openbox = fork();
        if (openbox == 0) {
            prctl(PR_SET_PDEATHSIG, SIGTERM);  // gone with the tests, even when they crash
            const int quiet = open("/dev/null", O_WRONLY);
            dup2(quiet, 1);
            dup2(quiet, 2);
            execlp("openbox", "openbox", "--sm-disable", static_cast<char*>(nullptr));
            _exit(127);
        }
        for (int i = 0; i < 100 && !fltk_test::HaveWindowManager(); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        // It announces itself before it has finished starting up.
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
    }
    const int result = RUN_ALL_TESTS();
    if (openbox > 0) {
        kill(openbox, SIGTERM);
        waitpid(openbox, nullptr, 0);
    }
    return result;
}
