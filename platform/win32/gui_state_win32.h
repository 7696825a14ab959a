// What the Win32 gui backend keeps between calls: the numbered windows and gadgets, the images,
// the small font, the events waiting to be polled and the filters that see the windows' messages
// first. Private to platform/win32/gui_*.cpp and media_*.cpp (which live in the gui's windows).
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
HBITMAP ImageBitmap(int image);  // a registered image, nullptr for none

// Sees every message of the gui's windows before their window procedure does; true when it
// has answered the message with result. For the parts of the backend that live in the gui's
// windows (the media keys and taskbar buttons), so that the window procedure needs no cases for
// them. A filter may add or remove filters while it runs. Main thread only.
using MessageFilter = std::function<bool(HWND, UINT, WPARAM, LPARAM, LRESULT& result)>;
int AddMessageFilter(MessageFilter filter);  // its number for RemoveMessageFilter, never 0
void RemoveMessageFilter(int filter);
bool FilterMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

struct MessageFilterTraits {
    using Handle = int;
    static Handle Invalid() { return 0; }
    static void Close(Handle filter) { RemoveMessageFilter(filter); }
};
// A filter in place for as long as the owner lives.
using MessageFilterSlot = ::win32::Owned<MessageFilterTraits>;

}  // namespace gui::win32state
