// Reading and changing gadgets: text, state, drop-down items, enabled, visible and placement.
#include <windows.h>

#include <commctrl.h>

#include "platform/gui.h"
#include "platform/win32/gui/state.h"
#include "platform/win32/text_win32.h"

namespace gui {
namespace {

using win32state::FindGadget;
using win32state::GadgetRecord;

bool IsCheckable(GadgetKind kind) {
    return kind == GadgetKind::Toggle || kind == GadgetKind::CheckBox || kind == GadgetKind::Option;
}

std::string ItemText(HWND combo, int index) {
    LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == CB_ERR) return "";
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    LRESULT copied = SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(index),
                                  reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied == CB_ERR ? 0 : static_cast<std::size_t>(copied));
    return ::win32::WideToUtf8(text);
}

// Selecting an option clears the others of its group, as a click would.
void ClearOtherOptions(int gadget, const GadgetRecord& selected) {
    for (const auto& [number, record] : win32state::GetState().gadgets) {
        if (number != gadget && record.kind == GadgetKind::Option &&
            record.optionGroup == selected.optionGroup && record.window == selected.window) {
            SendMessageW(record.hwnd, BM_SETCHECK, BST_UNCHECKED, 0);
        }
    }
}

// How far the thumb stands from the start of the channel at pos, in pixels: it travels the
// channel less its own width over the range.
long ThumbOffset(HWND trackbar, LRESULT pos) {
    const LRESULT low = SendMessageW(trackbar, TBM_GETRANGEMIN, 0, 0);
    const LRESULT high = SendMessageW(trackbar, TBM_GETRANGEMAX, 0, 0);
    if (high <= low) return 0;
    RECT channel{}, thumb{};
    SendMessageW(trackbar, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
    SendMessageW(trackbar, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    const long long travel = (channel.right - channel.left) - (thumb.right - thumb.left);
    pos = pos < low ? low : (pos > high ? high : pos);
    return long(travel * (pos - low) / (high - low));
}

}  // namespace

void SetGadgetText(int gadget, std::string_view text) {
    GadgetRecord* record = FindGadget(gadget);
    if (record == nullptr) return;
    if (record->kind == GadgetKind::DropDown) {
        // A drop-down list has no text of its own: the item with this text is selected.
        std::wstring wide = ::win32::Utf8ToWide(text);
        LRESULT index = SendMessageW(record->hwnd, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                     reinterpret_cast<LPARAM>(wide.c_str()));
        if (index != CB_ERR) SendMessageW(record->hwnd, CB_SETCURSEL, index, 0);
        return;
    }
    // The main loop shows the elapsed time on every pass; a static control repaints on every
    // SetWindowText, even with the text it already has.
    if (::win32::WindowText(record->hwnd) == text) return;
    const std::wstring wide = ::win32::Utf8ToWide(text);
    if (record->kind == GadgetKind::Field) win32state::FitFont(*record, wide, false);
    SetWindowTextW(record->hwnd, wide.c_str());
}

std::string GetGadgetText(int gadget) {
    GadgetRecord* record = FindGadget(gadget);
    if (record == nullptr) return "";
    if (record->kind == GadgetKind::DropDown) {
        LRESULT selected = SendMessageW(record->hwnd, CB_GETCURSEL, 0, 0);
        return selected == CB_ERR ? "" : ItemText(record->hwnd, static_cast<int>(selected));
    }
    return ::win32::WindowText(record->hwnd);
}

void SetGadgetState(int gadget, int state) {
    GadgetRecord* record = FindGadget(gadget);
    if (record == nullptr) return;
    if (IsCheckable(record->kind)) {
        SendMessageW(record->hwnd, BM_SETCHECK, state != 0 ? BST_CHECKED : BST_UNCHECKED, 0);
        if (record->kind == GadgetKind::Option && state != 0) ClearOtherOptions(gadget, *record);
    } else if (record->kind == GadgetKind::Slider) {
        // The main loop moves the position slider several times a second, 500 steps over
        // some 200 pixels; the trackbar repaints only when the thumb moves. It holds the new
        // position either way, so reading it back gives what was set.
        const LRESULT shown = SendMessageW(record->hwnd, TBM_GETPOS, 0, 0);
        const BOOL moves = ThumbOffset(record->hwnd, shown) != ThumbOffset(record->hwnd, state);
        SendMessageW(record->hwnd, TBM_SETPOS, moves, state);
        // After quiet steps the control's idea of where the thumb was drawn may be a pixel
        // off; repainting it whole leaves no sliver of the old thumb behind.
        if (moves) InvalidateRect(record->hwnd, nullptr, TRUE);
    } else if (record->kind == GadgetKind::DropDown) {
        SendMessageW(record->hwnd, CB_SETCURSEL, static_cast<WPARAM>(state), 0);
    }
}

int GetGadgetState(int gadget) {
    GadgetRecord* record = FindGadget(gadget);
    if (record == nullptr) return 0;
    if (IsCheckable(record->kind)) {
        return SendMessageW(record->hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
    }
    if (record->kind == GadgetKind::Slider) {
        return static_cast<int>(SendMessageW(record->hwnd, TBM_GETPOS, 0, 0));
    }
    if (record->kind == GadgetKind::DropDown) {
        LRESULT selected = SendMessageW(record->hwnd, CB_GETCURSEL, 0, 0);
        return selected == CB_ERR ? -1 : static_cast<int>(selected);
    }
    return 0;
}

void AddGadgetItem(int gadget, std::string_view text) {
    GadgetRecord* record = FindGadget(gadget);
    if (record == nullptr || record->kind != GadgetKind::DropDown) return;
    std::wstring wide = ::win32::Utf8ToWide(text);
    win32state::FitFont(*record, wide, true);
    SendMessageW(record->hwnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
}

void ClearGadgetItems(int gadget) {
    GadgetRecord* record = FindGadget(gadget);
    if (record != nullptr && record->kind == GadgetKind::DropDown) {
        SendMessageW(record->hwnd, CB_RESETCONTENT, 0, 0);
        win32state::FitFont(*record, L"", false);
    }
}

void SetGadgetEnabled(int gadget, bool enabled) {
    GadgetRecord* record = FindGadget(gadget);
    if (record == nullptr) return;
    if (!enabled) win32state::MoveFocusFrom(record->hwnd);
    EnableWindow(record->hwnd, enabled);
}

bool IsGadgetEnabled(int gadget) {
    GadgetRecord* record = FindGadget(gadget);
    return record != nullptr && IsWindowEnabled(record->hwnd);
}

void SetGadgetVisible(int gadget, bool visible) {
    if (GadgetRecord* record = FindGadget(gadget)) {
        if (!visible) win32state::MoveFocusFrom(record->hwnd);
        ShowWindow(record->hwnd, visible ? SW_SHOW : SW_HIDE);
    }
}

bool IsGadgetVisible(int gadget) {
    // The gadget's own flag: a gadget stays "visible" while its window is minimised.
    GadgetRecord* record = FindGadget(gadget);
    return record != nullptr && (GetWindowLongW(record->hwnd, GWL_STYLE) & WS_VISIBLE) != 0;
}

void ResizeGadget(int gadget, int x, int y, int width, int height) {
    GadgetRecord* record = FindGadget(gadget);
    if (record == nullptr) return;
    MoveWindow(record->hwnd, x, y, width, height, TRUE);
    record->rect = {x, y, width, height};
}

Rect GadgetRect(int gadget) {
    // As placed by the program: a drop-down's height is that of its opened list.
    GadgetRecord* record = FindGadget(gadget);
    return record != nullptr ? record->rect : Rect{};
}

}  // namespace gui
