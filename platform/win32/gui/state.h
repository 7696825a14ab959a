// What the Win32 gui backend keeps between calls: the numbered windows and gadgets, the images,
// the small font, the events waiting to be polled and the filters that see the windows' messages
// first. Private to platform/win32/gui/ and media/ (which lives in the gui's windows).
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
    int defaultGadget = -1;  // the newest default push button, which Return presses
    std::function<bool(char)> keyCallback;
    HWND focus = nullptr;        // the control that had the focus when the window lost it
    HWND lastContent = nullptr;  // lowest control that is not a frame; frames lie below it
};

struct GadgetRecord {
    HWND hwnd = nullptr;
    int window = -1;
    GadgetKind kind = GadgetKind::Text;
    Rect rect;                 // as last placed by the program, client pixels
    int optionGroup = 0;       // Option: options with the same number exclude each other
    bool smallFont = false;    // created with the small font
    bool messageFont = false;  // showing the message font instead, for a text it lacks
};

// Field and drop-down in the small font: shows them in the message font while text (the
// field's, or any item's when adding is true) has a character the small font lacks, and in the
// small font again once it has none (a new field text, an emptied drop-down).
void FitFont(GadgetRecord& gadget, std::wstring_view text, bool adding);

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
    ::win32::GdiObject messageFont;
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
int SmallFontHeight();  // the small font's height for CreateFont: 7 points on this screen
// The system's message font at the small font's height, for texts the small font cannot show.
HFONT MessageFont();
// Whether every character of text has a glyph in the small font.
bool SmallFontShows(std::wstring_view text);
// The accessible name of a control whose caption does not name it (a screen reader's label).
void SetAccessibleName(HWND control, std::wstring_view name);
HBITMAP ImageBitmap(int image);  // a registered image, nullptr for none

// A keyboard message of the gui's windows: Return and Escape, the window's own keys, and the
// dialog manager's Tab and arrow keys. True when it has been handled (then it is not
// dispatched). Main thread only.
bool TakeKeyboardMessage(const MSG& message);
// WM_ACTIVATE of a numbered window: keeps the focused control when the window is left and
// gives it the focus again on return (the default button, or the first in Tab order, the first
// time). True when it has set the focus, so the message is answered.
bool KeepFocus(HWND hwnd, WPARAM activation);
// Gives the focus to the control of the window that last had it, else the default button, else
// the first in Tab order. False when none can take it.
bool GiveFocusBack(WindowRecord& window);
// Before a control is disabled or hidden: if it (or a part of it) has the focus, the next
// control Tab reaches takes it, so the window's keys keep working.
void MoveFocusFrom(HWND control);

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
