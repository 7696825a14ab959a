// The FLTK gui backend's shared state, start-up (fonts, label type, tooltips), the event queue
// and the polled and waited-for events.
#include "platform/posix/gui/state.h"  // first, see there
#include "platform/posix/gui/widgets.h"

#include <FL/Fl.H>
#include <FL/Fl_Tooltip.H>
#include <FL/fl_draw.H>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <functional>
#include <map>

namespace gui::fltk {

namespace {

// Set by a termination signal (any thread), taken by the main thread's next poll. The handler
// also writes to wakePipe, which FLTK watches, so that a wait without a time limit returns.
// Atomic: the folder requester's watcher thread reads it too.
std::atomic<int> stopRequested{0};
static_assert(std::atomic<int>::is_always_lock_free, "set in a signal handler");
int wakePipe[2] = {-1, -1};

extern "C" void RequestStop(int) {
    stopRequested = 1;
    if (wakePipe[1] >= 0) {
        const int saved = errno;
        [[maybe_unused]] const ssize_t ignored = write(wakePipe[1], "", 1);
        errno = saved;
    }
}

void DrainWakePipe(int fd, void*) {
    char buffer[64];
    while (read(fd, buffer, sizeof(buffer)) > 0) {
    }
}

// Ending the session or the terminal (SIGTERM, SIGHUP) and Ctrl+C (SIGINT) ask the first
// window to close, as its close button does, so the program still shuts down in its own order
// and remembers its settings.
void CatchStopSignals() {
    if (pipe2(wakePipe, O_CLOEXEC | O_NONBLOCK) == 0) {
        Fl::add_fd(wakePipe[0], FL_READ, DrainWakePipe);
    } else {
        wakePipe[0] = wakePipe[1] = -1;
    }
    struct sigaction action {};
    action.sa_handler = RequestStop;
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) sigaction(signal, &action, nullptr);
}

// Turns a caught signal into a close request of the first open window.
void TakeStopRequest() {
    // One step, so that a signal arriving meanwhile is not lost.
    if (stopRequested.exchange(0) == 0) return;
    const auto& windows = TheState().windows;
    if (!windows.empty()) Queue({EventCloseWindow, windows.begin()->first, -1});
}

// Descriptors the program watches, and whether one was served since the wait began.
std::map<int, std::function<void()>> watched;
bool served = false;

void ServeWatched(int fd, void*) {
    auto found = watched.find(fd);
    if (found == watched.end()) return;
    served = true;
    auto ready = found->second;  // the callback may unwatch its own descriptor
    ready();
}

constexpr Fl_Font kSmallFont = FL_FREE_FONT;
constexpr int kNormalFontSize = 12;

// The small font has to set text as tightly as the Windows small font the window layout was
// made for: digits 4 pixels wide (five of them fill a 20-pixel counter) and a 13-letter label
// in 50 pixels. The first candidate that does on this system is taken; fontconfig substitutes
// a wider font for a missing family, which the measurement then rejects.
struct FontCandidate {
    const char* family;
    int size;
};
constexpr FontCandidate kSmallFontCandidates[] = {
    {"Nimbus Sans Narrow", 9},
    {"Liberation Sans Narrow", 9},
    {"Arial Narrow", 9},
    {"DejaVu Sans Condensed", 8},
    {"sans", 8},
    {"sans", 7},
};
int smallFontSize = 9;

bool SetsTightly() {
    return fl_width("10000") <= 20.5 && fl_width("Samplingrate:") <= 50.5;
}

void ChooseSmallFont() {
    for (const FontCandidate& candidate : kSmallFontCandidates) {
        Fl::set_font(kSmallFont, candidate.family);
        smallFontSize = candidate.size;
        fl_font(kSmallFont, candidate.size);
        if (SetsTightly()) return;
    }
}

void DrawPlainLabel(const Fl_Label* label, int x, int y, int w, int h, Fl_Align align) {
    fl_font(label->font, label->size);
    fl_color(label->color);
    if (label->image == nullptr && DrawTextInEveryScript(label->value, x, y, w, h, align)) return;
    fl_draw(label->value, x, y, w, h, align, label->image, 0);
}

void MeasurePlainLabel(const Fl_Label* label, int& w, int& h) {
    fl_font(label->font, label->size);
    w = 0;
    h = 0;
    MeasureTextInEveryScript(label->value, w, h);
    if (label->image != nullptr) {
        w = std::max(w, label->image->w());
        h = std::max(h, label->image->h());
    }
}

// Reports left presses and releases anywhere in a program window, over controls too, as the
// Windows message loop the program was written for sees them: a press on the volume knob
// button has to start a drag. The release is reported for the window that saw the press,
// wherever the pointer is by then (an open drop-down list has a window of its own).
int DispatchWithMouseButtons(int event, Fl_Window* window) {
    if ((event == FL_PUSH || event == FL_RELEASE) && Fl::event_button() == FL_LEFT_MOUSE) {
        for (auto& [number, record] : TheState().windows) {
            if (event == FL_PUSH && static_cast<Fl_Window*>(record.window) == window &&
                record.enabled) {
                record.leftButtonDown = true;
                Queue({EventLeftButtonDown, number, -1});
            } else if (event == FL_RELEASE && record.leftButtonDown) {
                record.leftButtonDown = false;
                Queue({EventLeftButtonUp, number, -1});
            }
        }
    }
    if (event == FL_KEYBOARD && TakeKey(window)) return 1;
    return Fl::handle_(event, window);
}

}  // namespace

State& TheState() {
    static State state;
    return state;
}

void Queue(const Event& event) {
    TheState().events.push_back(event);
}

WindowRecord* FindWindow(int window) {
    auto& windows = TheState().windows;
    auto it = windows.find(window);
    return it == windows.end() ? nullptr : &it->second;
}

GadgetRecord* FindGadget(int gadget) {
    auto& gadgets = TheState().gadgets;
    auto it = gadgets.find(gadget);
    return it == gadgets.end() ? nullptr : &it->second;
}

// FLTK scales RGB images by nearest neighbour, so whole factors keep every pixel square.
Fl_Image* FindImage(int image) {
    auto& images = TheState().images;
    auto it = images.find(image);
    if (it == images.end() || it->second.empty()) return nullptr;
    ImageRecord& record = *it->second.back();
    const int w = Scaled(record.image->w()), h = Scaled(record.image->h());
    if (w == record.image->w() && h == record.image->h()) return record.image.get();
    for (const auto& scaled : record.scaled) {
        if (scaled->w() == w && scaled->h() == h) return scaled.get();
    }
    record.scaled.emplace_back(record.image->copy(w, h));
    return record.scaled.back().get();
}

void EnsureStarted() {
    static bool started = false;
    if (started) return;
    started = true;
    fl_open_display();
    CatchStopSignals();
    ReadScaleFactor();
    ChooseSmallFont();
    Fl::event_dispatch(DispatchWithMouseButtons);
    Fl::set_labeltype(PlainLabel(), DrawPlainLabel, MeasurePlainLabel);
    Fl_Tooltip::enable(1);
    Fl_Tooltip::font(FL_HELVETICA);
    Fl_Tooltip::size(NormalFontSize());
    // Keyboard focus for the controls in a window's Tab order only (SetTabOrder), each drawn
    // with FLTK's focus box while it has it.
    Fl::visible_focus(1);
}

bool StopRequested() {
    return stopRequested != 0;
}

void WaitModally() {
    const int wait = RunModalPass();
    if (stopRequested != 0) return;
    Fl::wait(wait < 0 ? 1e20 : wait / 1000.0);  // 1e20: FLTK's own "for ever"
}

Fl_Font SmallFont() {
    return kSmallFont;
}
// The sizes are chosen for layout pixels and drawn in device pixels.
int SmallFontSize() {
    return Scaled(smallFontSize);
}
Fl_Font NormalFont() {
    return FL_HELVETICA;
}
int NormalFontSize() {
    return Scaled(kNormalFontSize);
}
Fl_Labeltype PlainLabel() {
    return FL_FREE_LABELTYPE;
}

}  // namespace gui::fltk

namespace gui {

using namespace gui::fltk;

Event PollEvent() {
    auto& events = TheState().events;
    TakeStopRequest();
    if (events.empty()) {
        EnsureStarted();
        Fl::check();
    }
    if (events.empty()) return Event{};
    const Event event = events.front();
    events.pop_front();
    return event;
}

void WaitForEvent(int milliseconds) {
    auto& events = TheState().events;
    if (!events.empty()) return;
    EnsureStarted();
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(std::max(milliseconds, 0));
    served = false;
    // Fl::wait also returns for what the program never sees (drawing, FLTK's own timers), so
    // wait again for the rest of the time until something reaches the queue.
    while (events.empty() && !served && stopRequested == 0) {
        if (milliseconds < 0) {
            Fl::wait(1e20);  // FLTK's own "for ever"
            continue;
        }
        const auto left = std::chrono::duration<double>(deadline - Clock::now()).count();
        if (left <= 0) break;
        Fl::wait(left);
    }
}

void PostEvent(const Event& event) {
    Queue(event);
}

bool WatchInput(int fd, std::function<void()> ready) {
    if (fd < 0 || !ready) return false;
    EnsureStarted();
    if (watched.count(fd) != 0) Fl::remove_fd(fd);
    watched[fd] = std::move(ready);
    Fl::add_fd(fd, FL_READ, ServeWatched);
    return true;
}

void UnwatchInput(int fd) {
    if (watched.erase(fd) != 0) Fl::remove_fd(fd);
}

Event WaitEvent() {
    auto& events = TheState().events;
    EnsureStarted();
    for (;;) {
        TakeStopRequest();
        if (!events.empty()) break;
        // With no window left nothing can arrive; return rather than block for ever.
        if (Fl::first_window() == nullptr) return Event{};
        WaitModally();
    }
    const Event event = events.front();
    events.pop_front();
    return event;
}

}  // namespace gui
