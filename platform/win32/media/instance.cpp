// One program per Windows session: the first holds a session-wide mutex for its whole run; a
// later one finds the mutex taken, looks for the running program's window (its property) and
// sends it its folder or song as WM_COPYDATA, then ends.
// https://learn.microsoft.com/windows/win32/dataxchg/using-data-copy
#include "platform/instance.h"

#include <windows.h>

#include <cstring>
#include <string>
#include <utility>

#include "platform/win32/handle_win32.h"
#include "platform/win32/media/instance.h"
#include "platform/win32/text_win32.h"

namespace media::win32instance {
namespace {

// Far more than any path; a larger block is not ours.
constexpr DWORD MaxBytes = 64 * 1024;

}  // namespace

bool ReadHandedPath(LPARAM copyData, std::string& path) {
    const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(copyData);
    if (data == nullptr || data->dwData != HandOverData || data->cbData > MaxBytes ||
        data->cbData % sizeof(wchar_t) != 0 || (data->cbData > 0 && data->lpData == nullptr))
        return false;
    std::wstring wide(data->cbData / sizeof(wchar_t), L'\0');
    if (data->cbData > 0) std::memcpy(wide.data(), data->lpData, data->cbData);
    if (wide.find(L'\0') != std::wstring::npos) return false;
    path = ::win32::WideToUtf8(wide);
    return true;
}

namespace {

struct MutexTraits {
    using Handle = HANDLE;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle handle) { CloseHandle(handle); }
};
using Mutex = ::win32::Owned<MutexTraits>;

// "Local\": this session's, so another user's program is never found.
constexpr wchar_t MutexName[] = L"Local\\MP3Klingtal.Program";
// The first program may still be starting (scanning its folder) when a later one comes.
constexpr DWORD FindWithinMs = 20000;

BOOL CALLBACK TakeReceiver(HWND hwnd, LPARAM found) {
    if (GetPropW(hwnd, ReceiverProperty) == nullptr) return TRUE;
    *reinterpret_cast<HWND*>(found) = hwnd;
    return FALSE;
}

HWND FindReceiver() {
    HWND found = nullptr;
    EnumWindows(TakeReceiver, reinterpret_cast<LPARAM>(&found));
    return found;
}

bool Send(HWND receiver, const std::string& path) {
    std::wstring wide = ::win32::Utf8ToWide(path);
    COPYDATASTRUCT data{HandOverData, static_cast<DWORD>(wide.size() * sizeof(wchar_t)),
                        wide.data()};
    // Only the foreground program may hand the foreground on: the window may come forward.
    DWORD process = 0;
    GetWindowThreadProcessId(receiver, &process);
    AllowSetForegroundWindow(process);
    DWORD_PTR taken = FALSE;
    return SendMessageTimeoutW(receiver, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data),
                               SMTO_ABORTIFHUNG, FindWithinMs, &taken) != 0 &&
           taken == TRUE;
}

}  // namespace
}  // namespace media::win32instance

namespace instance {

bool HandToRunning(const std::string& path) {
    using namespace media::win32instance;
    static Mutex held;  // the first program's, until the process ends
    Mutex mutex(CreateMutexW(nullptr, TRUE, MutexName));
    if (!mutex) return false;
    if (GetLastError() != ERROR_ALREADY_EXISTS) {
        held = std::move(mutex);
        return false;
    }
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < FindWithinMs) {
        if (HWND receiver = FindReceiver()) return Send(receiver, path);
        // The running program may end meanwhile: then this one is the first.
        const DWORD wait = WaitForSingleObject(mutex.Get(), 100);
        if (wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED) {
            held = std::move(mutex);
            return false;
        }
    }
    return false;
}

}  // namespace instance
