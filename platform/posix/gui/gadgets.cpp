// Gadgets of the FLTK gui backend: one FLTK widget per control kind, their callbacks turned
// into gadget events, and the getters and setters of gui.h.
#include "platform/posix/gui/state.h"  // first, see there

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Check_Button.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_Round_Button.H>
#include <FL/Fl_Slider.H>
#include <FL/Fl_Toggle_Button.H>

#include <algorithm>
#include <cmath>

#include "platform/posix/gui/inspect.h"
#include "platform/posix/gui/widgets.h"

namespace gui::fltk {

namespace {

// The closed drop-down's height; the height the program gives is that of the open list.
constexpr int kDropDownHeight = 18;

void OnGadget(Fl_Widget*, void* data) {
    const auto* tag = static_cast<const GadgetTag*>(data);
    Queue({EventGadget, tag->window, tag->gadget});
}

// Options behave like automatic radio buttons: a click selects this one and clears the others
// of its group; clicking the selected one leaves it selected.
void OnOption(Fl_Widget* widget, void* data) {
    const auto* tag = static_cast<const GadgetTag*>(data);
    auto* button = static_cast<Fl_Button*>(widget);
    button->value(1);
    GadgetRecord* self = FindGadget(tag->gadget);
    if (self != nullptr && self->widget == widget) {
        for (auto& [number, record] : TheState().gadgets) {
            if (record.widget != widget && record.window == self->window &&
                record.kind == GadgetKind::Option && record.optionGroup == self->optionGroup) {
                static_cast<Fl_Button*>(record.widget)->value(0);
            }
        }
    }
    Queue({EventGadget, tag->window, tag->gadget});
}

bool IsPassive(GadgetKind kind) {
    switch (kind) {
        case GadgetKind::Text:
        case GadgetKind::SunkenFrame:
        case GadgetKind::EdgeFrame:
        case GadgetKind::GroupBox:
        case GadgetKind::Picture:
            return true;
        default:
            return false;
    }
}

Fl_Align TextAlign(Align align) {
    const Fl_Align base = FL_ALIGN_INSIDE | FL_ALIGN_TOP | FL_ALIGN_WRAP | FL_ALIGN_CLIP;
    switch (align) {
        case Align::Centre:
            return base;
        case Align::Right:
            return base | FL_ALIGN_RIGHT;
        default:
            return base | FL_ALIGN_LEFT;
    }
}

// Where the widget of a gadget lies, in device pixels.
Rect WidgetRect(GadgetKind kind, const Rect& layout) {
    Rect shown = layout;
    if (kind == GadgetKind::DropDown) shown.height = std::min(layout.height, kDropDownHeight);
    return ScaledRect(shown);
}

// Every control passes a drop on to its window, so a drop lands anywhere on it.
Fl_Widget* MakeWidget(const GadgetSpec& spec) {
    const Rect r = WidgetRect(spec.kind, {spec.x, spec.y, spec.width, spec.height});
    const int x = r.x, y = r.y, w = r.width, h = r.height;
    switch (spec.kind) {
        case GadgetKind::Field: {
            auto* input = new DropPassing<Field>(x, y, w, h);
            input->when(FL_WHEN_NEVER);
            input->readonly(1);  // what is typed there was never taken
            return input;
        }
        case GadgetKind::Button:
            return new DropPassing<Fl_Button>(x, y, w, h);
        case GadgetKind::DefaultButton:
            return new DropPassing<DefaultButton>(x, y, w, h);
        case GadgetKind::Toggle:
            return new DropPassing<Fl_Toggle_Button>(x, y, w, h);
        case GadgetKind::ImageButton: {
            auto* button = new DropPassing<Fl_Button>(x, y, w, h);
            button->image(FindImage(spec.image));
            button->align(FL_ALIGN_CENTER | FL_ALIGN_INSIDE);
            return button;
        }
        case GadgetKind::SunkenFrame:
        case GadgetKind::EdgeFrame: {
            auto* box = new DropPassing<Fl_Box>(x, y, w, h);
            box->box(spec.kind == GadgetKind::SunkenFrame ? FL_DOWN_FRAME : FL_THIN_DOWN_FRAME);
            return box;
        }
        case GadgetKind::GroupBox:
            return new DropPassing<GroupFrame>(x, y, w, h);
        case GadgetKind::CheckBox:
            return new DropPassing<Fl_Check_Button>(x, y, w, h);
        case GadgetKind::Option: {
            auto* button = new DropPassing<Fl_Round_Button>(x, y, w, h);
            button->type(FL_TOGGLE_BUTTON);
            return button;
        }
        case GadgetKind::DropDown: {
            auto* list = new DropPassing<DropDown>(x, y, w, h);
            list->ListHeight(Scaled(spec.height));
            return list;
        }
        case GadgetKind::Slider: {
            auto* slider = new DropPassing<Slider>(x, y, w, h);
            slider->bounds(spec.minimum, spec.maximum);
            slider->step(1);
            slider->value(spec.minimum);
            slider->when(FL_WHEN_CHANGED);
            return slider;
        }
        case GadgetKind::Picture: {
            auto* box = new DropPassing<Fl_Box>(x, y, w, h);
            box->image(FindImage(spec.image));
            box->align(FL_ALIGN_INSIDE | FL_ALIGN_TOP_LEFT);
            return box;
        }
        case GadgetKind::Text:
        default: {
            auto* box = new DropPassing<TextBox>(x, y, w, h);
            box->align(TextAlign(spec.align));
            return box;
        }
    }
}

void ApplyFont(Fl_Widget* widget, GadgetKind kind, bool small) {
    const Fl_Font font = small ? SmallFont() : NormalFont();
    const int size = small ? SmallFontSize() : NormalFontSize();
    widget->labelfont(font);
    widget->labelsize(size);
    if (kind == GadgetKind::Field) {
        static_cast<Fl_Input*>(widget)->textfont(font);
        static_cast<Fl_Input*>(widget)->textsize(size);
    } else if (kind == GadgetKind::DropDown) {
        static_cast<DropDown*>(widget)->textfont(font);
        static_cast<DropDown*>(widget)->textsize(size);
    }
}

bool HasState(GadgetKind kind) {
    return kind == GadgetKind::Toggle || kind == GadgetKind::CheckBox || kind == GadgetKind::Option;
}

}  // namespace

}  // namespace gui::fltk

namespace gui {

using namespace gui::fltk;

bool CreateGadget(const GadgetSpec& spec) {
    State& state = TheState();
    WindowRecord* window = FindWindow(state.current);
    if (window == nullptr) return false;
    Fl_Widget* widget = MakeWidget(spec);
    // MakeWidget's constructors add to the current group; place it ourselves instead. Texts,
    // frames and pictures go below every control, so they never hide a control's tooltip or
    // take its clicks.
    if (Fl_Group* parent = widget->parent()) parent->remove(widget);
    if (IsPassive(spec.kind)) {
        window->window->insert(*widget, window->passiveCount++);
    } else {
        window->window->add(widget);
    }
    widget->labeltype(PlainLabel());
    widget->clear_visible_focus();  // until the window's Tab order names it
    ApplyFont(widget, spec.kind, spec.smallFont);

    state.tags.push_back({state.current, spec.number});
    GadgetRecord record;
    record.widget = widget;
    record.window = state.current;
    record.kind = spec.kind;
    record.rect = {spec.x, spec.y, spec.width, spec.height};
    record.tag = &state.tags.back();
    if (spec.kind == GadgetKind::Option) {
        if (spec.startsGroup || !window->lastWasOption) ++window->optionGroup;
        record.optionGroup = window->optionGroup;
        widget->callback(OnOption, record.tag);
    } else if (!IsPassive(spec.kind)) {
        widget->callback(OnGadget, record.tag);
    }
    window->lastWasOption = spec.kind == GadgetKind::Option;
    state.gadgets[spec.number] = record;
    SetGadgetText(spec.number, spec.text);
    widget->redraw();
    return true;
}

void SetGadgetText(int gadget, std::string_view text) {
    GadgetRecord* record = FindGadget(gadget);
    if (record == nullptr) return;
    const std::string value(text);
    switch (record->kind) {
        case GadgetKind::Field:
            static_cast<Fl_Input*>(record->widget)->value(value.c_str());
            break;
        case GadgetKind::DropDown: {
            // Selects the first item with exactly this text, as a list box does.
            auto* list = static_cast<DropDown*>(record->widget);
            for (int i = 0; i < list->Count(); ++i) {
                if (list->Text(i) == value) {
                    list->Select(i);
                    break;
                }
            }
            break;
        }
        case GadgetKind::ImageButton:
        case GadgetKind::Picture:
        case GadgetKind::Slider:
        case GadgetKind::SunkenFrame:
        case GadgetKind::EdgeFrame:
            break;
        default: {
            // The main loop shows the elapsed time on every pass, up to 50 times a second;
            // drawing an unchanged text again would be most of what playing costs the window.
            const char* shown = record->widget->label();
            if (shown != nullptr && value == shown) break;
            record->widget->copy_label(value.c_str());
            record->widget->redraw();
            break;
        }
    }
}

std::string GetGadgetText(int gadget) {
    GadgetRecord* record = FindGadget(gadget);
    if (record == nullptr) return {};
    if (record->kind == GadgetKind::Field) {
        const char* value = static_cast<Fl_Input*>(record->widget)->value();
        return value == nullptr ? std::string() : std::string(value);
    }
    if (record->kind == GadgetKind::DropDown) {
        auto* list = static_cast<DropDown*>(record->widget);
        const int selected = list->value();
        return selected < 0 ? std::string() : list->Text(selected);
    }
    const char* label = record->widget->label();
    return label == nullptr ? std::string() : std::string(label);
}

void SetGadgetState(int gadget, int value) {
    GadgetRecord* record = FindGadget(gadget);
    if (record == nullptr) return;
    if (HasState(record->kind)) {
        static_cast<Fl_Button*>(record->widget)->value(value != 0);
    } else if (record->kind == GadgetKind::Slider) {
        auto* slider = static_cast<Fl_Slider*>(record->widget);
        const double low = std::min(slider->minimum(), slider->maximum());
        const double high = std::max(slider->minimum(), slider->maximum());
        slider->value(std::clamp(double(value), low, high));
    } else if (record->kind == GadgetKind::DropDown) {
        auto* list = static_cast<DropDown*>(record->widget);
        list->Select(value >= 0 && value < list->Count() ? value : -1);
    }
}

int GetGadgetState(int gadget) {
    GadgetRecord* record = FindGadget(gadget);
    if (record == nullptr) return 0;
    if (HasState(record->kind)) return static_cast<Fl_Button*>(record->widget)->value() ? 1 : 0;
    if (record->kind == GadgetKind::Slider) {
        return int(std::lround(static_cast<Fl_Slider*>(record->widget)->value()));
    }
    if (record->kind == GadgetKind::DropDown)
        return static_cast<DropDown*>(record->widget)->value();
    return 0;
}

void AddGadgetItem(int gadget, std::string_view text) {
    GadgetRecord* record = FindGadget(gadget);
    if (record != nullptr && record->kind == GadgetKind::DropDown) {
        static_cast<DropDown*>(record->widget)->Add(text);
    }
}

void ClearGadgetItems(int gadget) {
    GadgetRecord* record = FindGadget(gadget);
    if (record != nullptr && record->kind == GadgetKind::DropDown) {
        static_cast<DropDown*>(record->widget)->Clear();
    }
}

int fltk::CountGadgetItems(int gadget) {
    GadgetRecord* record = FindGadget(gadget);
    if (record == nullptr || record->kind != GadgetKind::DropDown) return 0;
    return static_cast<DropDown*>(record->widget)->Count();
}

std::string fltk::GetGadgetItemText(int gadget, int index) {
    GadgetRecord* record = FindGadget(gadget);
    if (record == nullptr || record->kind != GadgetKind::DropDown) return {};
    auto* list = static_cast<DropDown*>(record->widget);
    return index >= 0 && index < list->Count() ? list->Text(index) : std::string();
}

void SetGadgetEnabled(int gadget, bool enabled) {
    GadgetRecord* record = FindGadget(gadget);
    if (record == nullptr) return;
    if (enabled) {
        record->widget->activate();
    } else {
        record->widget->deactivate();
    }
}

bool IsGadgetEnabled(int gadget) {
    GadgetRecord* record = FindGadget(gadget);
    return record != nullptr && record->widget->active();
}

void SetGadgetVisible(int gadget, bool visible) {
    GadgetRecord* record = FindGadget(gadget);
    if (record == nullptr) return;
    if (visible) {
        record->widget->show();
    } else {
        record->widget->hide();
    }
    if (Fl_Window* window = record->widget->window()) window->redraw();
}

bool IsGadgetVisible(int gadget) {
    GadgetRecord* record = FindGadget(gadget);
    return record != nullptr && record->widget->visible();
}

void ResizeGadget(int gadget, int x, int y, int width, int height) {
    GadgetRecord* record = FindGadget(gadget);
    if (record == nullptr) return;
    record->rect = {x, y, width, height};
    const Rect shown = WidgetRect(record->kind, record->rect);
    record->widget->resize(shown.x, shown.y, shown.width, shown.height);
    if (record->kind == GadgetKind::DropDown) {
        static_cast<DropDown*>(record->widget)->ListHeight(Scaled(height));
    }
    if (Fl_Window* window = record->widget->window()) window->redraw();
}

Rect GadgetRect(int gadget) {
    GadgetRecord* record = FindGadget(gadget);
    return record == nullptr ? Rect{} : record->rect;
}

void SetGadgetTooltip(int gadget, std::string_view text) {
    GadgetRecord* record = FindGadget(gadget);
    if (record != nullptr) record->widget->copy_tooltip(std::string(text).c_str());
}

}  // namespace gui
