// The keyboard: Tab and the arrow keys through the dialog manager, Return for the focused or
// the default button, the window's own keys (its key callback), the Tab order, and the focus
// kept across deactivation.
#include <windows.h>

#include <algorithm>
#include <functional>
#include <utility>
#include <vector>

#include "platform/gui.h"
#include "platform/win32/gui/state.h"

namespace gui {
namespace {

using win32state::FindGadget;
using win32state::GetState;
using win32state::WindowRecord;

// The window's keys as the callback sees them; 0 for any other key.
char KeyChar(WPARAM key) {
    if (key >= 'A' && key <= 'Z') return static_cast<char>(key - 'A' + 'a');
    if (key == VK_ADD || key == VK_OEM_PLUS) return '+';
    if (key == VK_SUBTRACT || key == VK_OEM_MINUS) return '-';
    return 0;
}

bool IsPushButton(HWND control) {
    auto found = GetState().controls.find(control);
    if (found == GetState().controls.end()) return false;
    const GadgetKind kind = found->second.kind;
    return kind == GadgetKind::Button || kind == GadgetKind::DefaultButton ||
           kind == GadgetKind::ImageButton;
}

// An open drop-down list takes Return, Escape and letters itself.
bool ListOpen(HWND focus) {
    HWND combo = focus != nullptr ? GetAncestor(focus, GA_PARENT) : nullptr;
    for (HWND candidate : {focus, combo}) {
        if (candidate != nullptr && SendMessageW(candidate, CB_GETDROPPEDSTATE, 0, 0) != 0) {
            return true;
        }
    }
    return false;
}

// A focused drop-down takes letters as the start of a name to select, as its open list does.
bool IsDropDown(HWND control) {
    auto found = GetState().controls.find(control);
    return found != GetState().controls.end() && found->second.kind == GadgetKind::DropDown;
}

HWND DefaultButtonOf(const WindowRecord& window) {
    auto* gadget = FindGadget(window.defaultGadget);
    return gadget != nullptr ? gadget->hwnd : nullptr;
}

// Return presses the focused push button, else the window's default button, as in a dialog.
void PressReturn(const WindowRecord& window) {
    HWND focus = GetFocus();
    HWND button = IsPushButton(focus) ? focus : DefaultButtonOf(window);
    if (button != nullptr && IsWindowEnabled(button) && IsWindowVisible(button)) {
        SendMessageW(button, BM_CLICK, 0, 0);
    }
}

// The next control Tab reaches from focus, backwards with Shift; one that lies beyond the client
// area (the options of the compact window) is passed over, as are hidden and disabled ones.
HWND NextTabStop(HWND window, HWND focus, bool backwards) {
    RECT client{};
    GetClientRect(window, &client);
    HWND from = focus != nullptr && IsChild(window, focus) ? focus : nullptr;
    HWND candidate = from;
    for (int guard = 0; guard < 256; ++guard) {
        candidate = GetNextDlgTabItem(window, candidate, backwards ? TRUE : FALSE);
        if (candidate == nullptr || candidate == from) return nullptr;
        RECT r{};
        GetWindowRect(candidate, &r);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
        if (r.top < client.bottom && r.left < client.right) return candidate;
        if (from == nullptr) from = candidate;
    }
    return nullptr;
}

}  // namespace

namespace win32state {

bool TakeKeyboardMessage(const MSG& message) {
    if (message.message < WM_KEYFIRST || message.message > WM_KEYLAST) return false;
    const int number = WindowNumberOf(message.hwnd);
    WindowRecord* window = FindWindowRecord(number);
    if (window == nullptr) return false;
    // Where no control has the focus, Windows sends the active window its keys as system keys
    // (bit 29: Alt is not held). A control gets the focus back and the key counts as typed.
    // https://learn.microsoft.com/windows/win32/inputdev/wm-syskeydown
    constexpr LPARAM AltHeld = 1 << 29;
    if ((message.message == WM_SYSKEYDOWN || message.message == WM_SYSKEYUP) &&
        (message.lParam & AltHeld) == 0 && GetFocus() == nullptr) {
        GiveFocusBack(*window);
        MSG typed = message;
        typed.message = message.message == WM_SYSKEYDOWN ? WM_KEYDOWN : WM_KEYUP;
        typed.hwnd = GetFocus() != nullptr ? GetFocus() : window->hwnd;
        return TakeKeyboardMessage(typed);
    }
    const bool enterOrEscape = message.wParam == VK_RETURN || message.wParam == VK_ESCAPE;
    if (message.message == WM_KEYDOWN && !ListOpen(GetFocus())) {
        if (enterOrEscape && window->enterEscapeGadget >= 0) {
            GetState().events.push_back(Event{EventGadget, number, window->enterEscapeGadget});
            return true;
        }
        if (message.wParam == VK_RETURN) {
            PressReturn(*window);
            return true;
        }
        if (message.wParam == VK_ESCAPE) return true;  // a window without a cancel button
        if (message.wParam == VK_TAB && GetKeyState(VK_CONTROL) >= 0) {
            HWND focus = GetFocus();
            if (HWND next = NextTabStop(window->hwnd, focus, GetKeyState(VK_SHIFT) < 0)) {
                SetFocus(next);
            }
            return true;
        }
        const char key = KeyChar(message.wParam);
        if (key != 0 && window->keyCallback && GetKeyState(VK_CONTROL) >= 0 &&
            !IsDropDown(GetFocus())) {
            auto callback = window->keyCallback;  // it may replace itself
            if (callback(key)) return true;
        }
    }
    // Tab, Shift+Tab and the arrow keys between controls; everything else to the control.
    // https://learn.microsoft.com/windows/win32/api/winuser/nf-winuser-isdialogmessagew
    return IsDialogMessageW(window->hwnd, const_cast<MSG*>(&message)) != FALSE;
}

bool KeepFocus(HWND hwnd, WPARAM activation) {
    WindowRecord* window = FindWindowRecord(WindowNumberOf(hwnd));
    if (window == nullptr || window->hwnd != hwnd) return false;
    if (LOWORD(activation) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus != nullptr && IsChild(hwnd, focus)) window->focus = focus;
        return false;
    }
    if (IsIconic(hwnd)) return false;
    return GiveFocusBack(*window);
}

bool GiveFocusBack(WindowRecord& window) {
    HWND hwnd = window.hwnd;
    auto usable = [hwnd](HWND c) {
        return c != nullptr && IsWindow(c) && IsChild(hwnd, c) && IsWindowVisible(c) &&
               IsWindowEnabled(c);
    };
    HWND target = window.focus;
    if (!usable(target)) target = DefaultButtonOf(window);
    if (!usable(target)) target = GetNextDlgTabItem(hwnd, nullptr, FALSE);
    if (!usable(target)) return false;
    SetFocus(target);
    return true;
}

void MoveFocusFrom(HWND control) {
    HWND focus = GetFocus();
    if (focus == nullptr || (focus != control && !IsChild(control, focus))) return;
    HWND top = GetAncestor(control, GA_ROOT);
    HWND next = NextTabStop(top, control, false);
    // The song list takes typed letters as a name's start: a focus the user did not put there
    // passes over it, so Z X C V B stay the player's keys.
    for (HWND first = next; next != nullptr && IsDropDown(next);) {
        next = NextTabStop(top, next, false);
        if (next == first) next = nullptr;
    }
    // With no other control to take it, the window itself keeps the keys.
    SetFocus(next != nullptr && next != control ? next : top);
    if (WindowRecord* window = FindWindowRecord(WindowNumberOf(top))) window->focus = GetFocus();
}

}  // namespace win32state

void SetKeyCallback(int window, std::function<bool(char key)> callback) {
    if (auto* record = win32state::FindWindowRecord(window))
        record->keyCallback = std::move(callback);
}

// Tab follows the order of the controls from the top of the stacking order down, so the named
// gadgets are stacked on top in this order; the rest stay below, frames lowest.
void SetTabOrder(int window, std::vector<int> gadgets) {
    constexpr UINT keep = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
    HWND previous = HWND_TOP;
    for (int number : gadgets) {
        auto* gadget = FindGadget(number);
        if (gadget == nullptr || gadget->window != window) continue;
        SetWindowPos(gadget->hwnd, previous, 0, 0, 0, 0, keep);
        previous = gadget->hwnd;
    }
    for (auto& [number, gadget] : GetState().gadgets) {
        if (gadget.window != window ||
            std::find(gadgets.begin(), gadgets.end(), number) != gadgets.end()) {
            continue;
        }
        const LONG style = GetWindowLongW(gadget.hwnd, GWL_STYLE);
        SetWindowLongW(gadget.hwnd, GWL_STYLE, style & ~WS_TABSTOP);
    }
}

}  // namespace gui
