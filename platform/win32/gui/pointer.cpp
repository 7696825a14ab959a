// The pointer in the message loop: a left press on a trackbar's channel moves the thumb to the
// point pressed (the control itself would only page towards it), the wheel becomes the
// program's wheel event, and files dropped onto a control are the window's drop.
#include "platform/win32/gui/pointer.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

#include "platform/gui.h"
#include "platform/win32/gui/drop.h"
#include "platform/win32/gui/state.h"

namespace gui::win32pointer {

namespace {

bool IsSliderControl(HWND hwnd) {
    const auto& controls = win32state::GetState().controls;
    const auto found = controls.find(hwnd);
    return found != controls.end() && found->second.kind == GadgetKind::Slider;
}

// The trackbar's value whose thumb is centred on x (client pixels of the trackbar).
// https://learn.microsoft.com/windows/win32/controls/trackbar-controls
LONG TrackbarValueAt(HWND trackbar, int x) {
    RECT channel{}, thumb{};
    SendMessageW(trackbar, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
    SendMessageW(trackbar, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    const LONG minimum = static_cast<LONG>(SendMessageW(trackbar, TBM_GETRANGEMIN, 0, 0));
    const LONG maximum = static_cast<LONG>(SendMessageW(trackbar, TBM_GETRANGEMAX, 0, 0));
    const int thumbWidth = thumb.right - thumb.left;
    const int usable = channel.right - channel.left - thumbWidth;
    if (usable <= 0 || maximum <= minimum) return minimum;
    const int from = x - channel.left - thumbWidth / 2;
    const LONG value =
        minimum + static_cast<LONG>(
                      (static_cast<long long>(from) * (maximum - minimum) + usable / 2) / usable);
    return std::clamp(value, minimum, maximum);
}

// A press beside the thumb moves it there and reports the move as the user's slide; the press
// then lands on the thumb and a drag carries on from there. Outside the thumb still (a channel
// shorter than the control), the press is not passed on, so the control does not page.
bool JumpToPress(const MSG& message) {
    if (!IsSliderControl(message.hwnd) || !IsWindowEnabled(message.hwnd)) return false;
    const POINT point{GET_X_LPARAM(message.lParam), GET_Y_LPARAM(message.lParam)};
    RECT thumb{};
    SendMessageW(message.hwnd, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    if (PtInRect(&thumb, point)) return false;
    const LONG value = TrackbarValueAt(message.hwnd, point.x);
    if (value != SendMessageW(message.hwnd, TBM_GETPOS, 0, 0)) {
        SendMessageW(message.hwnd, TBM_SETPOS, TRUE, value);
        const int window = win32state::WindowNumberOf(message.hwnd);
        const int gadget = win32state::GetState().controls[message.hwnd].number;
        win32state::GetState().events.push_back(Event{EventGadget, window, gadget});
    }
    SendMessageW(message.hwnd, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    return !PtInRect(&thumb, point);
}

}  // namespace

bool TakePointerMessage(const MSG& message) {
    if (message.message != WM_LBUTTONDOWN && message.message != WM_MOUSEWHEEL &&
        message.message != WM_DROPFILES) {
        return false;
    }
    const int window = win32state::WindowNumberOf(message.hwnd);
    if (window < 0) return false;
    switch (message.message) {
        case WM_LBUTTONDOWN:
            return JumpToPress(message);
        case WM_MOUSEWHEEL: {
            Event wheel{EventMouseWheel, window, -1};
            wheel.wheel = GET_WHEEL_DELTA_WPARAM(message.wParam) / WHEEL_DELTA;
            if (wheel.wheel != 0) win32state::GetState().events.push_back(wheel);
            return false;
        }
        case WM_DROPFILES:
            // Explorer hands the drop to the control under the pointer when the control
            // itself accepts files; the window above it takes it as its own.
            win32drop::TakeDroppedFiles(window, reinterpret_cast<HDROP>(message.wParam));
            return true;
        default:
            return false;
    }
}

}  // namespace gui::win32pointer
