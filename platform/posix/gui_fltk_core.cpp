// The FLTK gui backend's shared state, start-up (fonts, label type, tooltips), the event queue
// and the polled and waited-for events.
#include <FL/Fl.H>
#include <FL/Fl_Tooltip.H>
#include <FL/fl_draw.H>
#include "platform/posix/gui_fltk_state.h"  // first, see there

#include <cstring>

namespace gui::fltk {

namespace {

// The small font: a condensed sans where the system has one, so the short captions of the
// program's narrow controls fit; fontconfig falls back to its sans font otherwise.
constexpr Fl_Font kSmallFont = FL_FREE_FONT;
constexpr int kSmallFontSize = 10;
constexpr int kNormalFontSize = 12;

void DrawPlainLabel(const Fl_Label* label, int x, int y, int w, int h, Fl_Align align) {
    fl_font(label->font, label->size);
    fl_color(label->color);
    fl_draw(label->value, x, y, w, h, align, label->image, 0);
}

void MeasurePlainLabel(const Fl_Label* label, int& w, int& h) {
    fl_font(label->font, label->size);
    w = 0;
    h = 0;
    fl_measure(label->value, w, h, 0);
    if (label->image != nullptr) {
        w = std::max(w, label->image->w());
        h = std::max(h, label->image->h());
    }
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

Fl_RGB_Image* FindImage(int image) {
    auto& images = TheState().images;
    auto it = images.find(image);
    return it == images.end() || it->second.empty() ? nullptr : it->second.back()->image.get();
}

void EnsureStarted() {
    static bool started = false;
    if (started) return;
    started = true;
    fl_open_display();
    Fl::set_font(kSmallFont, "DejaVu Sans Condensed");
    Fl::set_labeltype(PlainLabel(), DrawPlainLabel, MeasurePlainLabel);
    Fl_Tooltip::enable(1);
    Fl_Tooltip::font(FL_HELVETICA);
    Fl_Tooltip::size(kNormalFontSize);
    // Do not let FLTK's default scheme and its keyboard focus boxes change the look.
    Fl::visible_focus(0);
}

Fl_Font SmallFont() {
    return kSmallFont;
}
int SmallFontSize() {
    return kSmallFontSize;
}
Fl_Font NormalFont() {
    return FL_HELVETICA;
}
int NormalFontSize() {
    return kNormalFontSize;
}
Fl_Labeltype PlainLabel() {
    return FL_FREE_LABELTYPE;
}

}  // namespace gui::fltk

namespace gui {

using namespace gui::fltk;

Event PollEvent() {
    auto& events = TheState().events;
    if (events.empty()) {
        EnsureStarted();
        Fl::check();
    }
    if (events.empty()) return Event{};
    const Event event = events.front();
    events.pop_front();
    return event;
}

Event WaitEvent() {
    auto& events = TheState().events;
    EnsureStarted();
    while (events.empty()) {
        // With no window left nothing can arrive; return rather than block for ever.
        if (Fl::wait() == 0 && events.empty()) return Event{};
    }
    const Event event = events.front();
    events.pop_front();
    return event;
}

}  // namespace gui
