// Window messages to the program's events: control notifications become gadget events, a
// close request becomes a close event, and left-button presses and releases are reported for
// every window of the thread, controls included, the way the message loop sees them.
#include <windows.h>

#include <commctrl.h>

#include "platform/gui.h"
#include "platform/win32/gui/drop.h"
#include "platform/win32/gui/pointer.h"
#include "platform/win32/gui/state.h"

namespace gui {
namespace {

using win32state::GetState;

void Queue(int type, int window, int gadget = -1) {
    GetState().events.push_back(Event{type, window, gadget});
}

// The gadget behind a notifying control, if the notification is one the program reacts to.
void QueueControlEvent(HWND control, int window, int code) {
    auto& controls = GetState().controls;
    auto found = controls.find(control);
    if (found == controls.end()) return;
    GadgetKind kind = found->second.kind;
    bool wanted = kind == GadgetKind::DropDown ? code == CBN_SELCHANGE
                  : kind == GadgetKind::Field  ? false  // typing in the field is not a command
                                               : code == BN_CLICKED;
    if (wanted) Queue(EventGadget, window, found->second.number);
}

void Deliver(const MSG& message) {
    if (win32state::TakeKeyboardMessage(message)) return;
    if (!win32pointer::TakePointerMessage(message)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    if (message.message == WM_LBUTTONDOWN || message.message == WM_LBUTTONUP) {
        int window = win32state::WindowNumberOf(message.hwnd);
        if (window >= 0) {
            Queue(message.message == WM_LBUTTONDOWN ? EventLeftButtonDown : EventLeftButtonUp,
                  window);
        }
    }
}

Event Next() {
    auto& events = GetState().events;
    Event event = events.front();
    events.pop_front();
    return event;
}

}  // namespace

LRESULT CALLBACK KlingtalWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT filtered = 0;
    if (win32state::FilterMessage(hwnd, message, wParam, lParam, filtered)) return filtered;
    int window = win32state::WindowNumberOf(hwnd);
    switch (message) {
        case WM_COMMAND:
            if (lParam != 0) {
                QueueControlEvent(reinterpret_cast<HWND>(lParam), window, HIWORD(wParam));
            }
            return 0;
        case WM_HSCROLL:
            // Trackbars report every move; the closing TB_ENDTRACK would repeat the last one.
            if (lParam != 0 && LOWORD(wParam) != TB_ENDTRACK) {
                auto& controls = GetState().controls;
                auto found = controls.find(reinterpret_cast<HWND>(lParam));
                if (found != controls.end()) Queue(EventGadget, window, found->second.number);
            }
            return 0;
        case WM_DROPFILES:
            win32drop::TakeDroppedFiles(window, reinterpret_cast<HDROP>(wParam));
            return 0;
        case WM_CLOSE:
            Queue(EventCloseWindow, window);
            return 0;  // the program decides when the window goes
        case WM_ENDSESSION:
            // Every top-level window hears it; the program saves once. After the last window
            // returns, Windows may end the process without another message.
            // https://learn.microsoft.com/windows/win32/shutdown/wm-endsession
            if (wParam == TRUE && GetState().sessionEnd) {
                auto callback = std::move(GetState().sessionEnd);
                GetState().sessionEnd = nullptr;
                callback();
            }
            return 0;
        case WM_SIZE:
            if (auto* record = win32state::FindWindowRecord(window)) {
                if (record->sizeCallback && wParam == SIZE_MINIMIZED) record->sizeCallback(true);
                if (record->sizeCallback && wParam == SIZE_RESTORED) record->sizeCallback(false);
            }
            break;
        case WM_DRAWITEM:
            // A thin sunken frame: the edge a client edge would give it.
            if (auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
                item->CtlType == ODT_STATIC) {
                RECT edge = item->rcItem;
                DrawEdge(item->hDC, &edge, EDGE_SUNKEN, BF_RECT);
                return TRUE;
            }
            // The buttons without a caption: a plain push button face, pressed while held.
            if (auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
                item->CtlType == ODT_BUTTON) {
                RECT face = item->rcItem;
                DrawFrameControl(
                    item->hDC, &face, DFC_BUTTON,
                    DFCS_BUTTONPUSH | ((item->itemState & ODS_SELECTED) ? DFCS_PUSHED : 0u));
                if ((item->itemState & ODS_FOCUS) != 0) {
                    InflateRect(&face, -2, -2);
                    DrawFocusRect(item->hDC, &face);
                }
                return TRUE;
            }
            break;
        case WM_ACTIVATE:
            if (win32state::KeepFocus(hwnd, wParam)) return 0;
            break;
        case WM_SETCURSOR:
            if (GetState().waitCursor) {
                SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_WAIT)));
                return TRUE;
            }
            break;
        default:
            break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

Event PollEvent() {
    auto& events = GetState().events;
    MSG message{};
    // Messages that mean nothing to the program (painting, timers) are handled on the way.
    while (events.empty() && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) Deliver(message);
    return events.empty() ? Event{} : Next();
}

void WaitForEvent(int milliseconds) {
    if (!GetState().events.empty()) return;
    // MWMO_INPUTAVAILABLE also wakes for messages that were already in the queue but not yet
    // taken.
    // https://learn.microsoft.com/windows/win32/api/winuser/nf-winuser-msgwaitformultipleobjectsex
    const DWORD timeout = milliseconds < 0 ? INFINITE : static_cast<DWORD>(milliseconds);
    MsgWaitForMultipleObjectsEx(0, nullptr, timeout, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
}

void PostEvent(const Event& event) {
    GetState().events.push_back(event);
}

// Sources of change on Windows (the mixer, media keys) post window messages, which wake the
// wait above by themselves.
bool WatchInput(int, std::function<void()>) {
    return false;
}

void UnwatchInput(int) {}

Event WaitEvent() {
    auto& events = GetState().events;
    MSG message{};
    while (events.empty()) {
        if (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) break;
            Deliver(message);
            continue;
        }
        // The program's own work goes on while the modal window waits.
        const int wait = RunModalPass();
        if (events.empty()) WaitForEvent(wait);
    }
    return events.empty() ? Event{} : Next();
}

}  // namespace gui
