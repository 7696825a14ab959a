// The widget classes of the FLTK gui backend: the program window, the default button, texts,
// group frames and sliders.
#include "platform/posix/gui/state.h"  // first, see there

#include "platform/posix/gui/widgets.h"

#include <FL/Fl.H>
#include <FL/fl_draw.H>

#include <algorithm>

#include "platform/posix/gui/drop.h"

namespace gui::fltk {

ProgramWindow::ProgramWindow(int number, int x, int y, int w, int h)
    : Fl_Double_Window(x, y, w, h), number_(number) {}

bool ProgramWindow::TakeKey() {
    WindowRecord* record = FindWindow(number_);
    if (record == nullptr || record->enterEscapeGadget < 0) return false;
    const int key = Fl::event_key();
    if (key != FL_Enter && key != FL_KP_Enter && key != FL_Escape) return false;
    Queue({EventGadget, number_, record->enterEscapeGadget});
    return true;
}

int ProgramWindow::HandleDrop(int event) {
    return HandleDropEvent(*this, number_, event);
}

int ProgramWindow::handle(int event) {
    if (IsDropEvent(event)) {
        // The control under the pointer is offered the drag first and passes it back here;
        // over the empty area the window takes it itself.
        if ((event == FL_DND_ENTER || event == FL_DND_DRAG) && Fl_Double_Window::handle(event)) {
            return 1;
        }
        return HandleDrop(event);
    }
    WindowRecord* record = FindWindow(number_);
    if (event == FL_HIDE || event == FL_SHOW) {
        const int result = Fl_Double_Window::handle(event);
        // FLTK reports the window manager's unmap (iconify) and map as hide and show.
        record = FindWindow(number_);
        if (record != nullptr && !record->closing && record->minimised != (event == FL_HIDE)) {
            if (event == FL_HIDE && !shown()) return result;
            record->minimised = event == FL_HIDE;
            if (record->sizeCallback) record->sizeCallback(record->minimised);
        }
        return result;
    }
    if (record != nullptr && !record->enabled) {
        switch (event) {
            case FL_PUSH:
            case FL_RELEASE:
            case FL_DRAG:
            case FL_KEYBOARD:
            case FL_KEYUP:
            case FL_SHORTCUT:
            case FL_MOUSEWHEEL:
                return 1;
            default:
                break;
        }
    }
    switch (event) {
        case FL_MOUSEWHEEL:
            // The program decides what the wheel does where no control takes it (the volume
            // knob and its track).
            if (Fl_Double_Window::handle(event)) return 1;
            if (Fl::event_dy() != 0) {
                Event wheel{EventMouseWheel, number_, -1};
                wheel.wheel = -Fl::event_dy();
                Queue(wheel);
            }
            return 1;
        case FL_PUSH:
            // The background takes a left press itself, so the drag and release that follow
            // stay with this window; the button events are queued by the event dispatcher.
            if (Fl_Double_Window::handle(event)) return 1;
            return Fl::event_button() == FL_LEFT_MOUSE ? 1 : 0;
        case FL_KEYBOARD:
        case FL_SHORTCUT:
            if (TakeKey()) return 1;
            break;
        default:
            break;
    }
    return Fl_Double_Window::handle(event);
}

void Field::draw() {
    fl_font(textfont(), textsize());
    if (value() == nullptr || !DrawsOnlyWithFallback(value())) {
        Fl_Input::draw();
        return;
    }
    draw_box(box(), color());
    fl_color(active_r() ? textcolor() : fl_inactive(textcolor()));
    DrawItemText(value(), x() + Fl::box_dx(box()), y() + Fl::box_dy(box()), w() - Fl::box_dw(box()),
                 h() - Fl::box_dh(box()));
    if (Fl::focus() == this) draw_focus();
}

int DefaultButton::handle(int event) {
    if (event == FL_SHORTCUT && (Fl::event_key() == FL_Enter || Fl::event_key() == FL_KP_Enter) &&
        active_r() && visible_r()) {
        simulate_key_action();
        do_callback();
        return 1;
    }
    return Fl_Button::handle(event);
}

void DefaultButton::draw() {
    Fl_Button::draw();
    fl_color(active_r() ? FL_FOREGROUND_COLOR : FL_INACTIVE_COLOR);
    fl_rect(x(), y(), w(), h());
}

void TextBox::draw() {
    draw_box();
    draw_label(x(), y(), w(), h(), align());
}

void GroupFrame::draw() {
    fl_font(labelfont(), labelsize());
    const int textHeight = fl_height();
    const int top = y() + textHeight / 2;
    fl_draw_box(FL_ENGRAVED_FRAME, x(), top, w(), h() - (top - y()), color());
    if (label() == nullptr || *label() == '\0') return;
    int tw = 0, th = 0;
    measure_label(tw, th);
    tw = std::min(tw, w() - Scaled(12));
    fl_color(color());
    fl_rectf(x() + Scaled(6), y(), tw + Scaled(4), textHeight);
    draw_label(x() + Scaled(8), y(), tw, textHeight,
               FL_ALIGN_LEFT | FL_ALIGN_INSIDE | FL_ALIGN_CLIP);
}

int Slider::KnobSize() const {
    const int track = w() - Fl::box_dw(box());
    const int height = h() - Fl::box_dh(box());
    return std::max(int(slider_size() * track + .5), height / 2 + 1 + 4);
}

int Slider::KnobOffset() const {
    const int track = w() - Fl::box_dw(box());
    double share = minimum() == maximum() ? 0.5 : (value() - minimum()) / (maximum() - minimum());
    share = std::clamp(share, 0.0, 1.0);
    return int(share * (track - KnobSize()) + .5);
}

void Slider::JumpTo(int x) {
    const int track = w() - Fl::box_dw(box());
    const int knob = KnobSize();
    const int from = x - (this->x() + Fl::box_dx(box()));
    const int offset = KnobOffset();
    if (track <= knob || (from >= offset && from < offset + knob)) return;  // on the knob
    const double share = std::clamp(double(from - knob / 2) / (track - knob), 0.0, 1.0);
    // handle_drag reports a change as a drag does (the callback, FL_WHEN_CHANGED).
    handle_drag(clamp(round(minimum() + share * (maximum() - minimum()))));
}

int Slider::handle(int event) {
    if (event == FL_PUSH && Fl::event_button() == FL_LEFT_MOUSE &&
        Fl::event_inside(x(), y(), w(), h())) {
        JumpTo(Fl::event_x());
    }
    return Fl_Slider::handle(event);
}

void Slider::draw() {
    drawnOffset_ = KnobOffset();
    Fl_Slider::draw();
}

void Slider::value_damage() {
    if (KnobOffset() != drawnOffset_) Fl_Slider::value_damage();
}

}  // namespace gui::fltk
