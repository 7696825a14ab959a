// The keyboard of the FLTK backend: Tab and Shift+Tab along the window's Tab order, Alt+Down and
// typing on a drop-down, Page Up/Down on a slider, and the window's own keys (its key callback),
// all seen before any widget, so that no control swallows them.
#include "platform/posix/gui/state.h"  // first, see there

#include <FL/Fl.H>

#include <algorithm>
#include <utility>

#include "platform/posix/gui/widgets.h"

namespace gui::fltk {
namespace {

// The window's keys as the callback sees them; 0 for any other key.
char KeyChar() {
    const int key = Fl::event_key();
    if (key >= 'a' && key <= 'z') return static_cast<char>(key);
    if (key == FL_KP + '+' || key == FL_KP + '-') return static_cast<char>(key - FL_KP);
    const char* text = Fl::event_text();
    if (text != nullptr && (text[0] == '+' || text[0] == '-') && text[1] == '\0') return text[0];
    return 0;
}

// Whether Tab may stop at the gadget: shown, enabled and inside the client area (the options
// of the compact window lie beyond it).
bool Reachable(const GadgetRecord& gadget, const Fl_Window& window) {
    const Fl_Widget* w = gadget.widget;
    return w->visible_r() && w->active_r() && w->y() < window.h() && w->x() < window.w();
}

void MoveFocus(const WindowRecord& record, bool backwards) {
    const std::vector<int>& order = record.tabOrder;
    const int count = static_cast<int>(order.size());
    int at = -1;
    for (int i = 0; i < count; ++i) {
        const GadgetRecord* gadget = FindGadget(order[std::size_t(i)]);
        if (gadget != nullptr && gadget->widget == Fl::focus()) at = i;
    }
    for (int step = 1; step <= count; ++step) {
        const int i = at < 0 ? (backwards ? count - step : step - 1)
                             : ((at + (backwards ? -step : step)) % count + count) % count;
        GadgetRecord* gadget = FindGadget(order[std::size_t(i)]);
        if (gadget != nullptr && Reachable(*gadget, *record.window) &&
            gadget->widget->take_focus()) {
            return;
        }
    }
}

GadgetRecord* FocusedGadget(GadgetKind kind) {
    for (auto& [number, gadget] : TheState().gadgets) {
        if (gadget.widget == Fl::focus() && gadget.kind == kind) return &gadget;
    }
    return nullptr;
}

// Page Up and Page Down move a slider by a fifth of its range, as a Windows trackbar does.
bool PageSlider(int key) {
    GadgetRecord* gadget = FocusedGadget(GadgetKind::Slider);
    if (gadget == nullptr || (key != FL_Page_Up && key != FL_Page_Down)) return false;
    auto* slider = static_cast<Slider*>(gadget->widget);
    const double page = (slider->maximum() - slider->minimum()) / 5;
    const double low = std::min(slider->minimum(), slider->maximum());
    const double high = std::max(slider->minimum(), slider->maximum());
    slider->value(std::clamp(slider->value() + (key == FL_Page_Down ? page : -page), low, high));
    slider->do_callback();
    return true;
}

}  // namespace

bool TakeKey(Fl_Window* window) {
    if (Fl::grab() != nullptr) return false;  // an open list holds the keyboard
    for (auto& [number, record] : TheState().windows) {
        if (static_cast<Fl_Window*>(record.window) != window || !record.enabled) continue;
        const int state = Fl::event_state();
        const int key = Fl::event_key();
        if ((state & FL_ALT) != 0 && key == FL_Down) {
            GadgetRecord* list = FocusedGadget(GadgetKind::DropDown);
            if (list == nullptr) return false;
            static_cast<DropDown*>(list->widget)->Open();
            return true;
        }
        if ((state & (FL_CTRL | FL_ALT | FL_META)) != 0) return false;
        if (key == FL_Tab && !record.tabOrder.empty()) {
            MoveFocus(record, (state & FL_SHIFT) != 0);
            return true;
        }
        if (PageSlider(key)) return true;
        // The focused drop-down takes what is typed, as a list box does, the window's letters too.
        if (GadgetRecord* list = FocusedGadget(GadgetKind::DropDown)) {
            if (static_cast<DropDown*>(list->widget)->TakeKey()) return true;
        }
        const char c = KeyChar();
        if (c == 0 || !record.keyCallback) return false;
        auto callback = record.keyCallback;  // it may replace itself
        return callback(c);
    }
    return false;
}

}  // namespace gui::fltk

namespace gui {

void SetKeyCallback(int window, std::function<bool(char key)> callback) {
    if (fltk::WindowRecord* record = fltk::FindWindow(window)) {
        record->keyCallback = std::move(callback);
    }
}

void SetTabOrder(int window, std::vector<int> gadgets) {
    fltk::WindowRecord* record = fltk::FindWindow(window);
    if (record == nullptr) return;
    for (auto& [number, gadget] : fltk::TheState().gadgets) {
        if (gadget.window != window) continue;
        const bool named = std::find(gadgets.begin(), gadgets.end(), number) != gadgets.end();
        if (named) {
            gadget.widget->set_visible_focus();
        } else {
            gadget.widget->clear_visible_focus();
        }
    }
    record->tabOrder = std::move(gadgets);
}

}  // namespace gui
