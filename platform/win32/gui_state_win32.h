// What the Win32 gui backend keeps between calls: the numbered windows and gadgets, the images,
// the small font and the events waiting to be polled. Private to platform/win32/gui_*.cpp.
#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "platform/gui.h"
#include "platform/win32/handle_win32.h"

namespace gui::win32state {

struct WindowRecord {
    HWND hwnd = nullptr;
    HWND tooltip = nullptr;  // created with the first tooltip of the window
    std::function<void(bool)> sizeCallback;
    int enterEscapeGadget = -1;
};

struct GadgetRecord {
    HWND hwnd = nullptr;
    int window = -1;
    GadgetKind kind = GadgetKind::Text;
    Rect rect;            // as last placed by the program, client pixels
    int optionGroup = 0;  // Option: options with the same number exclude each other
};

// Every live control, also one whose number has moved on to a newer gadget.
struct ControlInfo {
    int number = -1;
    GadgetKind kind = GadgetKind::Text;
};

struct State {
    std::map<int, WindowRecord> windows;
    std::map<int, GadgetRecord> gadgets;  // by number: the gadget that has it now
    std::map<HWND, ControlInfo> controls;
    std::map<int, ::win32::GdiObject> images;
    ::win32::GdiObject font;
    std::deque<Event> events;
    std::function<void()> sessionEnd;
    int current = -1;
    int optionGroups = 0;
    bool waitCursor = false;
};

State& GetState();

WindowRecord* FindWindowRecord(int window);
GadgetRecord* FindGadget(int gadget);
int WindowNumberOf(HWND hwnd);  // the numbered window hwnd belongs to, -1 for none
HFONT SmallFont();

}  // namespace gui::win32state
