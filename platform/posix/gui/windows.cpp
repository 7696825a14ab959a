// Windows of the FLTK gui backend: opening at an outer position, titles, sizes, the topmost
// and opacity hints, enabling, the size callback and the mouse position.
#include "platform/posix/gui/state.h"  // first, see there

#include <FL/Fl.H>

#include <algorithm>

#include "platform/posix/gui/inspect.h"
#include "platform/posix/gui/widgets.h"

namespace gui::fltk {

namespace {

// Frame extents arrive from the window manager shortly after mapping; wait at most this long
// (seconds) before leaving the window where it is.
constexpr double kFrameWaitSeconds = 0.5;

void OnCloseRequest(Fl_Widget* widget, void* data) {
    // FLTK calls this on Escape too; Escape closes nothing unless the window maps it onto a
    // button, which the window itself handles.
    if (Fl::event() == FL_SHORTCUT && Fl::event_key() == FL_Escape) return;
    const int number = int(reinterpret_cast<std::intptr_t>(data));
    WindowRecord* record = FindWindow(number);
    if (record == nullptr || record->window != widget || !record->enabled) return;
    Queue({EventCloseWindow, number, -1});
}

// Moves the window so that its frame's top-left corner lands on (x, y). Without a window
// manager there is no frame and the client area goes there.
void PlaceOuter(Fl_Window* window, int x, int y) {
    if (!WindowManagerRunning()) return;
    FrameExtents extents = QueryFrameExtents(window);
    for (double waited = 0; !extents.known && waited < kFrameWaitSeconds; waited += 0.02) {
        Fl::wait(0.02);
        extents = QueryFrameExtents(window);
    }
    if (!extents.known) return;
    if (window->x() != x + extents.left || window->y() != y + extents.top) {
        window->position(x + extents.left, y + extents.top);
        Fl::check();
    }
}

ProgramWindow* WindowOf(int window) {
    WindowRecord* record = FindWindow(window);
    return record == nullptr ? nullptr : record->window;
}

// Sets the outer size (the nominal frame included); keeps the position.
void ResizeWindowOuter(int window, int outerWidth, int outerHeight) {
    WindowRecord* record = FindWindow(window);
    if (record == nullptr) return;
    ProgramWindow* fl = record->window;
    record->innerWidth = std::max(1, outerWidth - kNominalFrameWidth);
    record->innerHeight = std::max(1, outerHeight - kNominalFrameHeight);
    const int w = Scaled(record->innerWidth), h = Scaled(record->innerHeight);
    fl->size_range(w, h, w, h);
    fl->size(w, h);
    fl->redraw();
}

}  // namespace

std::string GetWindowTitle(int window) {
    ProgramWindow* fl = WindowOf(window);
    return fl == nullptr || fl->label() == nullptr ? std::string() : std::string(fl->label());
}

}  // namespace gui::fltk

namespace gui {

using namespace gui::fltk;

bool OpenWindow(const WindowSpec& spec) {
    EnsureStarted();
    if (spec.innerWidth <= 0 || spec.innerHeight <= 0) return false;
    if (FindWindow(spec.number) != nullptr) CloseWindow(spec.number);
    const int w = Scaled(spec.innerWidth), h = Scaled(spec.innerHeight);
    int x = Scaled(spec.x), y = Scaled(spec.y);
    if (spec.screenCentred) {
        int sx = 0, sy = 0, sw = 0, sh = 0;
        Fl::screen_xywh(sx, sy, sw, sh, 0);
        x = sx + (sw - w - Scaled(kNominalFrameWidth)) / 2;
        y = sy + (sh - h - Scaled(kNominalFrameHeight)) / 2;
    }
    auto* window = new ProgramWindow(spec.number, x, y, w, h);
    window->end();
    window->copy_label(std::string(spec.title).c_str());
    // The class the desktop entry names (StartupWMClass): task bars match window and launcher.
    window->xclass("mp3klingtal");
    // Fixed minimum and maximum: the user cannot size it, and window managers offer no
    // maximise button for it.
    window->size_range(w, h, w, h);
    window->callback(OnCloseRequest, reinterpret_cast<void*>(std::intptr_t(spec.number)));
    // An owned window, or one without a minimise box, is a dialog: kept above its owner, no
    // taskbar entry.
    if (!spec.minimiseBox || spec.owner >= 0) window->set_non_modal();
    WindowRecord record;
    record.window = window;
    record.innerWidth = spec.innerWidth;
    record.innerHeight = spec.innerHeight;
    TheState().windows[spec.number] = std::move(record);
    TheState().current = spec.number;
    window->show();
    PlaceOuter(window, x, y);
    if (TheState().waitCursor) window->cursor(FL_CURSOR_WAIT);
    return true;
}

void CloseWindow(int window) {
    WindowRecord* record = FindWindow(window);
    if (record == nullptr) return;
    record->closing = true;
    ProgramWindow* fl = record->window;
    fl->hide();
    auto& gadgets = TheState().gadgets;
    std::erase_if(gadgets, [window](const auto& entry) { return entry.second.window == window; });
    TheState().windows.erase(window);
    if (TheState().current == window) TheState().current = -1;
    // Deleted on the next pass through the event loop, in case FLTK is still inside it.
    Fl::delete_widget(fl);
    Fl::check();
}

void UseWindow(int window) {
    if (FindWindow(window) != nullptr) TheState().current = window;
}

int CurrentWindow() {
    return TheState().current;
}

void SetWindowTitle(int window, std::string_view title) {
    if (ProgramWindow* fl = WindowOf(window)) fl->copy_label(std::string(title).c_str());
}

Rect WindowOuterRect(int window) {
    WindowRecord* record = FindWindow(window);
    if (record == nullptr) return {};
    ProgramWindow* fl = record->window;
    const FrameExtents extents = QueryFrameExtents(fl);
    return {Unscaled(fl->x() - extents.left), Unscaled(fl->y() - extents.top),
            record->innerWidth + kNominalFrameWidth, record->innerHeight + kNominalFrameHeight};
}

void ResizeWindowInner(int window, int innerWidth, int innerHeight) {
    ResizeWindowOuter(window, innerWidth + kNominalFrameWidth, innerHeight + kNominalFrameHeight);
}

void SetWindowTopmost(int window, bool topmost) {
    SendAbove(WindowOf(window), topmost);
}

void SetWindowEnabled(int window, bool enabled) {
    if (WindowRecord* record = FindWindow(window)) record->enabled = enabled;
}

void ShowWindowNow(int window) {
    if (ProgramWindow* fl = WindowOf(window)) {
        fl->show();
        Fl::flush();
    }
}

void RaiseWindow(int window) {
    if (ProgramWindow* fl = WindowOf(window)) {
        fl->show();  // maps a minimised window again and raises it
        AskForFocus(fl);
        Fl::flush();
    }
}

void SetWindowOpacity(int window, int alpha) {
    SetOpacityHint(WindowOf(window), alpha);
}

// The session's end reaches an X program as SIGTERM or SIGHUP, which ask the first window to
// close (core.cpp); there is no separate last moment to save.
void SetSessionEndCallback(std::function<void()>) {}

void SetSizeCallback(int window, std::function<void(bool minimised)> callback) {
    if (WindowRecord* record = FindWindow(window)) record->sizeCallback = std::move(callback);
}

int WindowMouseX(int window) {
    ProgramWindow* fl = WindowOf(window);
    if (fl == nullptr) return 0;
    int x = 0, y = 0;
    Fl::get_mouse(x, y);
    return Unscaled(x - fl->x());
}

int WindowMouseY(int window) {
    ProgramWindow* fl = WindowOf(window);
    if (fl == nullptr) return 0;
    int x = 0, y = 0;
    Fl::get_mouse(x, y);
    return Unscaled(y - fl->y());
}

void SetEnterEscapeButton(int window, int gadget) {
    if (WindowRecord* record = FindWindow(window)) record->enterEscapeGadget = gadget;
}

}  // namespace gui
