// Message windows, the folder requester, the wait cursor and what the screen measures.
#include <windows.h>

#include <objbase.h>
#include <shlobj.h>

#include <algorithm>

#include "platform/gui.h"
#include "platform/win32/gui/state.h"
#include "platform/win32/text_win32.h"

namespace gui {
namespace {

HWND CurrentHwnd() {
    auto* record = win32state::FindWindowRecord(win32state::GetState().current);
    return record != nullptr ? record->hwnd : nullptr;
}

// Opens the requester at the start folder once it exists.
// https://learn.microsoft.com/windows/win32/api/shlobj_core/ns-shlobj_core-browseinfow
int CALLBACK BrowseCallback(HWND dialog, UINT message, LPARAM, LPARAM startFolder) {
    if (message == BFFM_INITIALIZED && startFolder != 0) {
        SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, startFolder);
    }
    return 0;
}

// While a message box waits for the user, its own modal loop dispatches a thread timer's
// WM_TIMER, which runs the program's modal pass whenever it is due.
// https://learn.microsoft.com/windows/win32/api/winuser/nf-winuser-settimer
// When the pass asks for no limit it still runs this often (milliseconds): a mixer change
// arrives as a message to the main window, which does not end a message box's wait.
constexpr int kUntilSomethingArrivesMs = 250;

void Rearm(UINT_PTR timer, int wait);

void CALLBACK OnModalTimer(HWND, UINT, UINT_PTR timer, DWORD) {
    Rearm(timer, RunModalPass());
}

void Rearm(UINT_PTR timer, int wait) {
    const int ms = wait < 0 ? kUntilSomethingArrivesMs : wait;
    SetTimer(nullptr, timer, static_cast<UINT>(std::max(ms, int{USER_TIMER_MINIMUM})),
             OnModalTimer);
}

class ModalPassTimer {
  public:
    ModalPassTimer() : timer_(SetTimer(nullptr, 0, USER_TIMER_MINIMUM, OnModalTimer)) {}
    ~ModalPassTimer() {
        if (timer_ != 0) KillTimer(nullptr, timer_);
    }
    ModalPassTimer(const ModalPassTimer&) = delete;
    ModalPassTimer& operator=(const ModalPassTimer&) = delete;

  private:
    UINT_PTR timer_;
};

}  // namespace

void ShowMessage(std::string_view title, std::string_view text, MessageIcon icon) {
    // UTF-16, so a song path in the error text or a tag in the info text shows whatever the
    // ANSI code page holds.
    std::wstring wideTitle = ::win32::Utf8ToWide(title);
    std::wstring wideText = ::win32::Utf8ToWide(::win32::WithWindowsLineBreaks(text));
    const ModalWait modal;
    const ModalPassTimer passes;
    MessageBoxW(CurrentHwnd(), wideText.c_str(), wideTitle.c_str(),
                MB_OK | (icon == MessageIcon::Error ? MB_ICONERROR : 0u));
}

std::string RequestFolder(std::string_view prompt, std::string_view startFolder) {
    // The shell's requester wants COM in this thread; a second initialisation does no harm.
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    std::wstring title = ::win32::Utf8ToWide(prompt);
    std::wstring start = ::win32::Utf8ToWide(startFolder);
    BROWSEINFOW browse{};
    browse.hwndOwner = CurrentHwnd();
    browse.lpszTitle = title.c_str();
    browse.ulFlags = BIF_RETURNONLYFSDIRS;
    browse.lpfn = BrowseCallback;
    browse.lParam = start.empty() ? 0 : reinterpret_cast<LPARAM>(start.c_str());
    PIDLIST_ABSOLUTE chosen = SHBrowseForFolderW(&browse);
    if (chosen == nullptr) return "";
    wchar_t path[MAX_PATH] = {};
    bool ok = SHGetPathFromIDListW(chosen, path) != FALSE;
    CoTaskMemFree(chosen);
    if (!ok || path[0] == L'\0') return "";
    std::string folder = ::win32::WideToUtf8(path);
    if (folder.back() != '\\') folder += '\\';
    return folder;
}

void SetWaitCursor(bool wait) {
    win32state::GetState().waitCursor = wait;
    SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(wait ? IDC_WAIT : IDC_ARROW)));
}

int ScreenWidth() {
    return GetSystemMetrics(SM_CXSCREEN);
}
int ScreenHeight() {
    return GetSystemMetrics(SM_CYSCREEN);
}

Rect DesktopArea() {
    return {GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
            GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

int SystemMetric(int index) {
    return GetSystemMetrics(index);
}

}  // namespace gui
