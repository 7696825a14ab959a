// Creating gadgets as native controls, each kind in a few plain lines, with the gadget number as
// the control identifier; the small font; tooltips.
#include <windows.h>

#include <commctrl.h>

#include "platform/gui.h"
#include "platform/win32/gui/state.h"
#include "platform/win32/text_win32.h"

namespace gui {

namespace win32state {

GadgetRecord* FindGadget(int gadget) {
    auto& gadgets = GetState().gadgets;
    auto found = gadgets.find(gadget);
    return found == gadgets.end() ? nullptr : &found->second;
}

HBITMAP ImageBitmap(int image) {
    auto& images = GetState().images;
    auto found = images.find(image);
    return found == images.end() ? nullptr : static_cast<HBITMAP>(found->second.Get());
}

HFONT SmallFont() {
    auto& font = GetState().font;
    if (!font) {
        font.Reset(CreateFontW(SmallFontHeight(), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                               DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                               DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Small Fonts"));
    }
    return static_cast<HFONT>(font.Get());
}

}  // namespace win32state

namespace {

using win32state::GetState;

struct NativeControl {
    const wchar_t* className = L"STATIC";
    DWORD style = 0;
    DWORD exStyle = 0;
};

// The class and styles of each kind. Control styles:
// https://learn.microsoft.com/windows/win32/controls/button-styles
// https://learn.microsoft.com/windows/win32/controls/static-control-styles
NativeControl NativeFor(const GadgetSpec& spec) {
    switch (spec.kind) {
        case GadgetKind::Field:
            // Read-only: what is typed there was never taken, and keys go to the window.
            return {L"EDIT", ES_AUTOHSCROLL | ES_READONLY, WS_EX_CLIENTEDGE};
        case GadgetKind::Button:
            // Without a caption the program draws the button itself, so that its window text
            // can carry its accessible name without showing (the volume knob).
            return {L"BUTTON", spec.text.empty() ? DWORD{BS_OWNERDRAW} : DWORD{BS_PUSHBUTTON}, 0};
        case GadgetKind::DefaultButton:
            return {L"BUTTON", BS_DEFPUSHBUTTON, 0};
        case GadgetKind::Toggle:  // BS_PUSHLIKE is added once the control exists
        case GadgetKind::CheckBox:
            return {L"BUTTON", BS_AUTOCHECKBOX, 0};
        case GadgetKind::ImageButton:
            return {L"BUTTON", BS_PUSHBUTTON | BS_BITMAP, 0};
        case GadgetKind::Text:
            return {L"STATIC",
                    static_cast<DWORD>(spec.align == Align::Centre  ? SS_CENTER
                                       : spec.align == Align::Right ? SS_RIGHT
                                                                    : SS_LEFT),
                    0};
        case GadgetKind::SunkenFrame:
            // A frame no wider than its edge has no client area, so it would never be painted
            // after the window painted over it (the volume track): it draws the same edge in
            // its client area instead.
            if (spec.width <= 2 * GetSystemMetrics(SM_CXEDGE) ||
                spec.height <= 2 * GetSystemMetrics(SM_CYEDGE)) {
                return {L"STATIC", SS_OWNERDRAW, 0};
            }
            return {L"STATIC", 0, WS_EX_CLIENTEDGE};
        case GadgetKind::EdgeFrame:
            return {L"STATIC", 0, WS_EX_STATICEDGE};
        case GadgetKind::GroupBox:
            return {L"BUTTON", BS_GROUPBOX, 0};
        case GadgetKind::Option:
            return {L"BUTTON", BS_AUTORADIOBUTTON | (spec.startsGroup ? WS_GROUP : 0u), 0};
        case GadgetKind::DropDown:
            // The height is that of the opened list.
            // https://learn.microsoft.com/windows/win32/controls/combo-box-styles
            return {L"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL, WS_EX_CLIENTEDGE};
        case GadgetKind::Slider:
            // https://learn.microsoft.com/windows/win32/controls/trackbar-control-styles
            return {TRACKBAR_CLASSW, TBS_HORZ | TBS_NOTICKS, 0};
        case GadgetKind::Picture:
            return {L"STATIC", SS_BITMAP, 0};
    }
    return {};
}

bool IsFrame(GadgetKind kind) {
    return kind == GadgetKind::SunkenFrame || kind == GadgetKind::EdgeFrame ||
           kind == GadgetKind::GroupBox;
}

// The kinds a user can reach with Tab. Each is a group of its own for the arrow keys, except
// options, which share one from the option that starts it.
DWORD KeyboardStyle(const GadgetSpec& spec) {
    switch (spec.kind) {
        case GadgetKind::Option:
            return WS_TABSTOP | (spec.startsGroup ? WS_GROUP : 0u);
        case GadgetKind::Field:
        case GadgetKind::Button:
        case GadgetKind::DefaultButton:
        case GadgetKind::Toggle:
        case GadgetKind::ImageButton:
        case GadgetKind::CheckBox:
        case GadgetKind::DropDown:
        case GadgetKind::Slider:
            return WS_TABSTOP | WS_GROUP;
        default:
            return 0;
    }
}

// Frames lie below every other control, and every control clips its siblings, so a frame
// drawn after what it frames cannot paint over it.
void PlaceInZOrder(win32state::WindowRecord& window, HWND control, GadgetKind kind) {
    constexpr UINT keep = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
    if (IsFrame(kind)) {
        SetWindowPos(control, HWND_BOTTOM, 0, 0, 0, 0, keep);
        return;
    }
    SetWindowPos(control, window.lastContent != nullptr ? window.lastContent : HWND_TOP, 0, 0, 0, 0,
                 keep);
    window.lastContent = control;
}

}  // namespace

bool CreateGadget(const GadgetSpec& spec) {
    auto& state = GetState();
    auto* window = win32state::FindWindowRecord(state.current);
    if (window == nullptr) return false;
    NativeControl native = NativeFor(spec);
    bool hasText = spec.kind != GadgetKind::ImageButton && spec.kind != GadgetKind::Picture &&
                   spec.kind != GadgetKind::Slider && spec.kind != GadgetKind::DropDown;
    std::wstring text = hasText ? ::win32::Utf8ToWide(spec.text) : std::wstring();
    HWND control = CreateWindowExW(
        native.exStyle, native.className, text.c_str(),
        WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | KeyboardStyle(spec) | native.style, spec.x,
        spec.y, spec.width, spec.height, window->hwnd,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(spec.number)), GetModuleHandleW(nullptr),
        nullptr);
    if (control == nullptr) return false;
    PlaceInZOrder(*window, control, spec.kind);
    if (spec.kind == GadgetKind::DefaultButton) window->defaultGadget = spec.number;

    switch (spec.kind) {
        case GadgetKind::Toggle:
            // A check box that draws as a push button; pressed is checked.
            SetWindowLongW(control, GWL_STYLE, GetWindowLongW(control, GWL_STYLE) | BS_PUSHLIKE);
            break;
        case GadgetKind::ImageButton:
            SendMessageW(control, BM_SETIMAGE, IMAGE_BITMAP,
                         reinterpret_cast<LPARAM>(win32state::ImageBitmap(spec.image)));
            break;
        case GadgetKind::Picture:
            SendMessageW(control, STM_SETIMAGE, IMAGE_BITMAP,
                         reinterpret_cast<LPARAM>(win32state::ImageBitmap(spec.image)));
            break;
        case GadgetKind::Slider:
            SendMessageW(control, TBM_SETRANGE, TRUE, MAKELPARAM(spec.minimum, spec.maximum));
            break;
        default:
            break;
    }
    if (spec.smallFont) {
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(win32state::SmallFont()), TRUE);
    }

    win32state::GadgetRecord record;
    record.hwnd = control;
    record.window = state.current;
    record.kind = spec.kind;
    record.rect = {spec.x, spec.y, spec.width, spec.height};
    record.smallFont = spec.smallFont;
    if (spec.kind == GadgetKind::Field) win32state::FitFont(record, text, false);
    if (spec.kind == GadgetKind::Option) {
        if (spec.startsGroup || state.optionGroups == 0) ++state.optionGroups;
        record.optionGroup = state.optionGroups;
    }
    state.gadgets[spec.number] = record;  // an older gadget of this number stays on screen
    state.controls[control] = {spec.number, spec.kind};
    return true;
}

namespace {

// A screen reader announces a control by its name: the tooltip names a control whose caption
// does not. A bitmap button and a button the program draws show no text, so their window text
// can carry the name; for the field, the drop-down and the sliders it goes to the
// accessibility runtime.
void NameAfterTooltip(const win32state::GadgetRecord& record, const std::wstring& tooltip) {
    switch (record.kind) {
        case GadgetKind::ImageButton:
            SetWindowTextW(record.hwnd, tooltip.c_str());
            break;
        case GadgetKind::Button:
            if ((GetWindowLongW(record.hwnd, GWL_STYLE) & BS_TYPEMASK) == BS_OWNERDRAW) {
                SetWindowTextW(record.hwnd, tooltip.c_str());
            }
            break;
        case GadgetKind::Field:
        case GadgetKind::DropDown:
        case GadgetKind::Slider:
            win32state::SetAccessibleName(record.hwnd, tooltip);
            break;
        default:
            break;
    }
}

}  // namespace

void SetGadgetTooltip(int gadget, std::string_view text) {
    auto* record = win32state::FindGadget(gadget);
    auto* window = record != nullptr ? win32state::FindWindowRecord(record->window) : nullptr;
    if (window == nullptr) return;
    if (window->tooltip == nullptr) {
        // One tooltip control per window; TTS_ALWAYSTIP shows tips in an inactive window too.
        // https://learn.microsoft.com/windows/win32/controls/tooltip-styles
        window->tooltip =
            CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                            CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                            window->hwnd, nullptr, GetModuleHandleW(nullptr), nullptr);
        if (window->tooltip == nullptr) return;
    }
    std::wstring wide = ::win32::Utf8ToWide(text);
    TOOLINFOW tool{};
    // The size without lpReserved, which common controls before version 6 refuse.
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;  // the control itself is the tool
    tool.hwnd = window->hwnd;
    tool.uId = reinterpret_cast<UINT_PTR>(record->hwnd);
    tool.lpszText = wide.data();
    TOOLINFOW probe = tool;
    probe.lpszText = nullptr;  // asks only whether the tool exists, copies no text
    bool known =
        SendMessageW(window->tooltip, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&probe)) != 0;
    SendMessageW(window->tooltip, known ? TTM_UPDATETIPTEXTW : TTM_ADDTOOLW, 0,
                 reinterpret_cast<LPARAM>(&tool));
    NameAfterTooltip(*record, wide);
}

}  // namespace gui
