// The widget classes of the FLTK gui backend and the two label types that draw text as given.
#include "platform/posix/gui/state.h"  // first, see there

#include "platform/posix/gui/widgets.h"

#include <FL/Fl.H>
#include <FL/fl_draw.H>

#include <algorithm>
#include <cstring>

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
    tw = std::min(tw, w() - 12);
    fl_color(color());
    fl_rectf(x() + 6, y(), tw + 4, textHeight);
    draw_label(x() + 8, y(), tw, textHeight, FL_ALIGN_LEFT | FL_ALIGN_INSIDE | FL_ALIGN_CLIP);
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

namespace {

bool IsControl(char c) {
    return static_cast<unsigned char>(c) < 0x20 || c == 0x7f;
}

}  // namespace

bool NeedsDisplayText(std::string_view text) {
    return std::any_of(text.begin(), text.end(), IsControl);
}

std::string ItemDisplayText(std::string_view text) {
    std::string shown;
    shown.reserve(text.size());
    for (char c : text) {
        if (c == '\t') {
            shown += "    ";
        } else if (IsControl(c)) {
            shown += '?';
        } else {
            shown += c;
        }
    }
    return shown;
}

namespace {

// Draws a menu item's text with the plain string call, which gives no character a meaning.
void DrawItemLabel(const Fl_Label* label, int x, int y, int w, int h, Fl_Align) {
    fl_font(label->font, label->size);
    fl_color(label->color);
    fl_push_clip(x, y, w, h);
    const int baseline = y + (h - fl_height()) / 2 + fl_height() - fl_descent();
    fl_draw(label->value, int(std::strlen(label->value)), x + 2, baseline);
    fl_pop_clip();
}

void MeasureItemLabel(const Fl_Label* label, int& w, int& h) {
    fl_font(label->font, label->size);
    w = int(fl_width(label->value)) + 4;
    h = fl_height();
}

Fl_Labeltype ItemLabel() {
    static const Fl_Labeltype type = [] {
        const auto t = static_cast<Fl_Labeltype>(FL_FREE_LABELTYPE + 1);
        Fl::set_labeltype(t, DrawItemLabel, MeasureItemLabel);
        return t;
    }();
    return type;
}

}  // namespace

DropDown::DropDown(int x, int y, int w, int h) : Fl_Choice(x, y, w, h) {
    items_.push_back(Fl_Menu_Item{});  // the terminator
    ItemLabel();
}

void DropDown::Attach(int selected) {
    // menu() only stores the pointer (and selects the first item); selecting through the item
    // pointer avoids Fl_Choice::value(int), which walks the whole list.
    menu(texts_.empty() ? nullptr : items_.data());
    Fl_Menu_::value(selected >= 0 && selected < Count() ? &items_[std::size_t(selected)] : nullptr);
}

// The closed list shows only the selected item, which an added item does not change: the scan
// adds up to 10,000 items and none of them needs a redraw.
void DropDown::Add(std::string_view text) {
    const int selected = value();
    texts_.emplace_back(text);
    const char* label = texts_.back().c_str();
    if (NeedsDisplayText(text)) {
        shown_.push_back(ItemDisplayText(text));
        label = shown_.back().c_str();
    }
    Fl_Menu_Item item{};
    item.text = label;
    item.labeltype_ = ItemLabel();
    item.labelfont_ = textfont();
    item.labelsize_ = textsize();
    item.labelcolor_ = FL_FOREGROUND_COLOR;
    items_.back() = item;
    items_.push_back(Fl_Menu_Item{});
    Attach(selected);
}

void DropDown::Clear() {
    const bool showedItem = value() >= 0;
    texts_.clear();
    shown_.clear();
    items_.assign(1, Fl_Menu_Item{});
    Attach(-1);
    if (showedItem) redraw();
}

void DropDown::Select(int index) {
    if (index == value()) return;
    Attach(index);
    redraw();
}

void DropDown::Open() {
    if (!active_r() || Count() == 0) return;
    const Fl_Menu_Item* chosen = menu()->pulldown(x(), y(), w(), h(), mvalue(), this);
    if (chosen != nullptr && chosen != mvalue()) picked(chosen);
}

}  // namespace gui::fltk
