// Numbered top-level windows: opening with an exact client size, title, placement, topmost,
// transparency, the minimise/restore callback and the mouse position.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>

#include "platform/gui.h"
#include "platform/win32/gui/state.h"
#include "platform/win32/handle_win32.h"
#include "platform/win32/text_win32.h"

namespace gui {

LRESULT CALLBACK KlingtalWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

namespace win32state {

State& GetState() {
    static State state;
    return state;
}

WindowRecord* FindWindowRecord(int window) {
    auto& windows = GetState().windows;
    auto found = windows.find(window);
    return found == windows.end() ? nullptr : &found->second;
}

int WindowNumberOf(HWND hwnd) {
    HWND root = hwnd != nullptr ? GetAncestor(hwnd, GA_ROOT) : nullptr;
    for (const auto& [number, record] : GetState().windows) {
        if (record.hwnd == root) return number;
    }
    return -1;
}

}  // namespace win32state

namespace {

using win32state::FindWindowRecord;
using win32state::GetState;

constexpr wchar_t WindowClass[] = L"KlingtalWindow";

bool RegisterWindowClass() {
    static bool registered = false;
    if (registered) return true;
    // Trackbars and tooltips live in the common controls library.
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = KlingtalWindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hIcon = LoadIconW(windowClass.hInstance, MAKEINTRESOURCEW(1));
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = WindowClass;
    registered = RegisterClassExW(&windowClass) != 0;
    return registered;
}

HWND HwndOf(int window) {
    win32state::WindowRecord* record = FindWindowRecord(window);
    return record != nullptr ? record->hwnd : nullptr;
}

// Keeps the position.
void ResizeWindowOuter(int window, int outerWidth, int outerHeight) {
    if (HWND hwnd = HwndOf(window)) {
        SetWindowPos(hwnd, nullptr, 0, 0, outerWidth, outerHeight,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

// The mouse position in the window's client area, plus the frame and caption metrics, which
// the program takes off again: so the point is exact whatever the real frame is (the invisible
// borders of Windows 10, a caption the theme sizes otherwise). (0, 0) without a window.
POINT MouseInWindow(int window) {
    HWND hwnd = HwndOf(window);
    POINT cursor{};
    if (hwnd == nullptr || !GetCursorPos(&cursor) || !ScreenToClient(hwnd, &cursor)) return {};
    return {cursor.x + GetSystemMetrics(SM_CYFRAME), cursor.y + GetSystemMetrics(SM_CYCAPTION)};
}

}  // namespace

bool OpenWindow(const WindowSpec& spec) {
    if (!RegisterWindowClass() || FindWindowRecord(spec.number) != nullptr) return false;
    DWORD style = WS_VISIBLE | WS_CAPTION | WS_SYSMENU | (spec.minimiseBox ? WS_MINIMIZEBOX : 0);
    RECT outer{0, 0, spec.innerWidth, spec.innerHeight};
    AdjustWindowRectEx(&outer, style, FALSE, 0);
    int width = outer.right - outer.left;
    int height = outer.bottom - outer.top;
    int x = spec.x;
    int y = spec.y;
    if (spec.screenCentred) {
        x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
        y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    }
    // An owned window stays above its owner and has no taskbar button of its own.
    HWND owner = spec.owner >= 0 ? HwndOf(spec.owner) : nullptr;
    HWND hwnd =
        CreateWindowExW(0, WindowClass, ::win32::Utf8ToWide(spec.title).c_str(), style, x, y, width,
                        height, owner, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (hwnd == nullptr) return false;
    GetState().windows[spec.number].hwnd = hwnd;
    GetState().current = spec.number;
    return true;
}

void CloseWindow(int window) {
    auto& state = GetState();
    win32state::WindowRecord* record = FindWindowRecord(window);
    if (record == nullptr) return;
    HWND hwnd = record->hwnd;
    for (auto it = state.gadgets.begin(); it != state.gadgets.end();) {
        it = it->second.window == window ? state.gadgets.erase(it) : std::next(it);
    }
    std::erase_if(state.controls,
                  [hwnd](const auto& entry) { return GetParent(entry.first) == hwnd; });
    state.windows.erase(window);
    // A modal window's owner is enabled before it goes: Windows then activates the owner
    // rather than another program's window.
    HWND owner = GetWindow(hwnd, GW_OWNER);
    if (owner != nullptr && !IsWindowEnabled(owner)) EnableWindow(owner, TRUE);
    if (owner != nullptr && GetActiveWindow() == hwnd) SetActiveWindow(owner);
    DestroyWindow(hwnd);  // takes its controls and its tooltip window along
    if (state.current == window) state.current = -1;
}

void UseWindow(int window) {
    if (FindWindowRecord(window) != nullptr) GetState().current = window;
}

int CurrentWindow() {
    return GetState().current;
}

void SetWindowTitle(int window, std::string_view title) {
    if (HWND hwnd = HwndOf(window)) SetWindowTextW(hwnd, ::win32::Utf8ToWide(title).c_str());
}

Rect WindowOuterRect(int window) {
    HWND hwnd = HwndOf(window);
    if (hwnd == nullptr) return {};
    RECT r{};
    if (IsIconic(hwnd)) {
        // A minimised window sits at -32000; the place it comes back to is what counts. The
        // placement is in work-area coordinates, which start after a taskbar on the left or top.
        WINDOWPLACEMENT placement{};
        placement.length = sizeof(placement);
        GetWindowPlacement(hwnd, &placement);
        r = placement.rcNormalPosition;
        MONITORINFO monitor{};
        monitor.cbSize = sizeof(monitor);
        if (GetMonitorInfoW(MonitorFromRect(&r, MONITOR_DEFAULTTOPRIMARY), &monitor)) {
            OffsetRect(&r, monitor.rcWork.left - monitor.rcMonitor.left,
                       monitor.rcWork.top - monitor.rcMonitor.top);
        }
    } else {
        GetWindowRect(hwnd, &r);
    }
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

void ResizeWindowInner(int window, int innerWidth, int innerHeight) {
    HWND hwnd = HwndOf(window);
    if (hwnd == nullptr) return;
    // The frame this window has here: caption height and border width vary with the system,
    // its theme and the screen's DPI.
    RECT outer{0, 0, innerWidth, innerHeight};
    AdjustWindowRectEx(&outer, static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongW(hwnd, GWL_EXSTYLE)));
    ResizeWindowOuter(window, outer.right - outer.left, outer.bottom - outer.top);
}

void SetWindowTopmost(int window, bool topmost) {
    if (HWND hwnd = HwndOf(window)) {
        SetWindowPos(hwnd, topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

void SetWindowEnabled(int window, bool enabled) {
    win32state::WindowRecord* record = FindWindowRecord(window);
    if (record == nullptr) return;
    HWND hwnd = record->hwnd;
    HWND focus = GetFocus();
    // A disabled window loses the focus and does not get it back by itself.
    if (!enabled && focus != nullptr && IsChild(hwnd, focus)) record->focus = focus;
    EnableWindow(hwnd, enabled ? TRUE : FALSE);
    if (enabled && GetActiveWindow() == hwnd && (focus == nullptr || !IsChild(hwnd, focus)))
        win32state::GiveFocusBack(*record);
}

void ShowWindowNow(int window) {
    if (HWND hwnd = HwndOf(window)) ShowWindow(hwnd, SW_SHOW);
}

void RaiseWindow(int window) {
    HWND hwnd = HwndOf(window);
    if (hwnd == nullptr) return;
    if (IsIconic(hwnd)) ShowWindow(hwnd, SW_RESTORE);
    // Windows lets only the foreground program take the foreground; otherwise it flashes the
    // taskbar button instead.
    // https://learn.microsoft.com/windows/win32/api/winuser/nf-winuser-setforegroundwindow
    SetForegroundWindow(hwnd);
}

void SetWindowOpacity(int window, int alpha) {
    HWND hwnd = HwndOf(window);
    if (hwnd == nullptr) return;
    // The layered style replaces every other extended style of the window.
    SetWindowLongA(hwnd, GWL_EXSTYLE, WS_EX_LAYERED);
    // Looked up at run time: Windows before 2000 has no layered windows.
    // https://learn.microsoft.com/windows/win32/api/winuser/nf-winuser-setlayeredwindowattributes
    using SetLayeredFn = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);
    ::win32::Library user32(LoadLibraryA("USER32.dll"));
    if (!user32) return;
    auto setLayered = reinterpret_cast<SetLayeredFn>(
        reinterpret_cast<void (*)()>(GetProcAddress(user32.Get(), "SetLayeredWindowAttributes")));
    constexpr DWORD UseAlpha = 2;  // LWA_ALPHA
    if (setLayered != nullptr) {
        setLayered(hwnd, 0, static_cast<BYTE>(std::clamp(alpha, 0, 255)), UseAlpha);
    }
}

void SetSessionEndCallback(std::function<void()> callback) {
    win32state::GetState().sessionEnd = std::move(callback);
}

void SetSizeCallback(int window, std::function<void(bool minimised)> callback) {
    if (auto* record = FindWindowRecord(window)) record->sizeCallback = std::move(callback);
}

int WindowMouseX(int window) {
    return MouseInWindow(window).x;
}

int WindowMouseY(int window) {
    return MouseInWindow(window).y;
}

void SetEnterEscapeButton(int window, int gadget) {
    if (auto* record = FindWindowRecord(window)) record->enterEscapeGadget = gadget;
}

}  // namespace gui
