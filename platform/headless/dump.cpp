// Text dumps of the headless windows, gadgets and message windows for the driver and for test
// failure messages: tab-separated, one record per line.
#include <string>

#include "platform/headless/headless.h"
#include "platform/headless/state.h"

namespace gui::headless {

namespace {

const char* kindName(GadgetKind kind) {
    switch (kind) {
        case GadgetKind::Field:
            return "field";
        case GadgetKind::Button:
            return "button";
        case GadgetKind::DefaultButton:
            return "default-button";
        case GadgetKind::Toggle:
            return "toggle";
        case GadgetKind::ImageButton:
            return "image-button";
        case GadgetKind::Text:
            return "text";
        case GadgetKind::SunkenFrame:
            return "sunken-frame";
        case GadgetKind::EdgeFrame:
            return "edge-frame";
        case GadgetKind::GroupBox:
            return "group-box";
        case GadgetKind::CheckBox:
            return "check-box";
        case GadgetKind::Option:
            return "option";
        case GadgetKind::DropDown:
            return "drop-down";
        case GadgetKind::Slider:
            return "slider";
        case GadgetKind::Picture:
            return "picture";
    }
    return "?";
}

// Keeps each record on one line and its fields apart.
std::string escaped(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c == '\t') {
            out += "\\t";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\n') {
            out += "\\n";
        } else {
            out += c;
        }
    }
    return out;
}

template <typename... Fields>
std::string line(const Fields&... fields) {
    std::string out;
    ((out += fields, out += '\t'), ...);
    out.back() = '\n';
    return out;
}

std::string num(int value) {
    return std::to_string(value);
}

}  // namespace

std::string DumpGadgets(int window) {
    std::string out;
    for (const auto* g : WindowGadgets(window)) {
        std::string items;
        for (std::size_t i = 0; i < g->items.size(); ++i) {
            if (i > 0) items += '|';
            items += escaped(g->items[i]);
        }
        out += line(num(g->spec.number), std::string(kindName(g->spec.kind)),
                    escaped(detail::shownText(*g)), num(g->state), num(g->enabled), num(g->visible),
                    num(g->rect.x), num(g->rect.y), num(g->rect.width), num(g->rect.height), items);
    }
    return out;
}

std::string DumpWindow(int window) {
    const auto* w = FindWindow(window);
    if (!w) return {};
    return line(escaped(w->title), num(w->outer.x), num(w->outer.y), num(w->outer.width),
                num(w->outer.height), num(w->topmost), num(w->opacity));
}

std::string DumpMessages() {
    std::string out;
    for (const auto& m : Messages()) out += line(escaped(m.title), escaped(m.text));
    return out;
}

}  // namespace gui::headless
