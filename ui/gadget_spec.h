// Short-hand for describing a gadget of the program's windows.
#pragma once

#include <string>
#include <utility>

#include "platform/gui.h"

namespace ui {

inline gui::GadgetSpec MakeGadget(int number, gui::GadgetKind kind, int x, int y, int width,
                                  int height, std::string text = {}, bool smallFont = false) {
    gui::GadgetSpec spec;
    spec.number = number;
    spec.kind = kind;
    spec.x = x;
    spec.y = y;
    spec.width = width;
    spec.height = height;
    spec.text = std::move(text);
    spec.smallFont = smallFont;
    return spec;
}

}  // namespace ui
