// The media controls on Windows: the keyboard's media keys from anywhere (hotkeys) and, while
// the window has the focus, as app commands; and the taskbar preview's buttons. Requests arrive
// as messages to the program's window, which end the main loop's wait by themselves, so there
// is no descriptor to watch. Main thread only.
#include "platform/media.h"

#include <windows.h>

#include <cstddef>
#include <deque>
#include <string>
#include <utility>
#include <vector>

#include "platform/win32/gui/state.h"
#include "platform/win32/handle_win32.h"
#include "platform/win32/media/instance.h"
#include "platform/win32/media/taskbar.h"

namespace media {
namespace {

using Kind = Request::Kind;

// A hotkey of the window, given back when it goes.
struct HotKeyId {
    HWND window = nullptr;
    int id = 0;
    bool operator==(const HotKeyId&) const = default;
};
struct HotKeyTraits {
    using Handle = HotKeyId;
    static Handle Invalid() { return {}; }
    static void Close(Handle key) { UnregisterHotKey(key.window, key.id); }
};
using HotKey = ::win32::Owned<HotKeyTraits>;

// What a message's code (a key, an app command) asks for.
struct Meaning {
    unsigned code;
    Kind kind;
};
// The hotkeys' numbers are their key codes.
constexpr Meaning MediaKeys[] = {{VK_MEDIA_PLAY_PAUSE, Kind::PlayPause},
                                 {VK_MEDIA_STOP, Kind::Stop},
                                 {VK_MEDIA_NEXT_TRACK, Kind::Next},
                                 {VK_MEDIA_PREV_TRACK, Kind::Previous}};
constexpr Meaning AppCommands[] = {
    {APPCOMMAND_MEDIA_PLAY_PAUSE, Kind::PlayPause},
    {APPCOMMAND_MEDIA_PLAY, Kind::Play},
    {APPCOMMAND_MEDIA_PAUSE, Kind::Pause},
    {APPCOMMAND_MEDIA_STOP, Kind::Stop},
    {APPCOMMAND_MEDIA_NEXTTRACK, Kind::Next},
    {APPCOMMAND_MEDIA_PREVIOUSTRACK, Kind::Previous},
};

template <std::size_t N>
bool Lookup(const Meaning (&meanings)[N], unsigned code, Kind& kind) {
    for (const Meaning& m : meanings) {
        if (m.code == code) {
            kind = m.kind;
            return true;
        }
    }
    return false;
}

// Some keyboards report one press both ways, as the hotkey and as an app command (their own
// software sends the command as well). The same request from the other way within this many
// milliseconds is taken for the same press.
constexpr DWORD TwinMs = 250;

enum class Way { HotKey, AppCommand };

struct LastPress {
    bool open = false;  // a twin from the other way would still be the same press
    Way way = Way::HotKey;
    Kind kind = Kind::Play;
    DWORD at = 0;  // GetTickCount
};

struct Link {
    HWND window = nullptr;
    std::function<void(const Request&)> onRequest;
    gui::win32state::MessageFilterSlot filter;
    std::vector<HotKey> keys;
    LastPress last;
    std::deque<std::string> handed;  // from later programs, opened once their send has returned
};

Link& TheLink() {
    static Link link;
    return link;
}

// True for the second report of one press; each press absorbs one twin at most.
bool IsTwin(Way way, Kind kind) {
    LastPress& last = TheLink().last;
    const DWORD now = GetTickCount();
    const bool twin = last.open && last.way != way && last.kind == kind && now - last.at < TwinMs;
    last = twin ? LastPress{} : LastPress{true, way, kind, now};
    return twin;
}

void Hand(Kind kind, const std::string& path = {}) {
    // A copy: the program may stop the controls from inside its handler.
    const auto onRequest = TheLink().onRequest;
    if (onRequest) onRequest(Request{kind, 0, path});
}

// Posted to the window for each path a later program sent: that program waits for the answer to
// its WM_COPYDATA, not for the scan.
UINT HandedMessage() {
    static const UINT message = RegisterWindowMessageW(L"MP3Klingtal.Handed");
    return message;
}

void HandOnPath() {
    auto& handed = TheLink().handed;
    if (handed.empty()) return;
    const std::string path = std::move(handed.front());
    handed.pop_front();
    if (path.empty()) {
        Hand(Kind::Raise);
    } else {
        Hand(Kind::Open, path);
    }
}

// https://learn.microsoft.com/windows/win32/inputdev/wm-appcommand
// https://learn.microsoft.com/windows/win32/inputdev/wm-hotkey
bool OnMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (hwnd != TheLink().window) return false;
    Kind kind{};
    switch (message) {
        case WM_APPCOMMAND:
            // From the window's controls too: their default handling passes it up.
            if (!Lookup(AppCommands, static_cast<unsigned>(GET_APPCOMMAND_LPARAM(lParam)), kind))
                return false;
            if (!IsTwin(Way::AppCommand, kind)) Hand(kind);
            result = TRUE;
            return true;
        case WM_HOTKEY:
            if (!Lookup(MediaKeys, static_cast<unsigned>(wParam), kind)) return false;
            if (!IsTwin(Way::HotKey, kind)) Hand(kind);
            result = 0;
            return true;
        case WM_COMMAND:
            if (!taskbar::Clicked(wParam, kind)) return false;
            Hand(kind);
            result = 0;
            return true;
        case WM_COPYDATA: {
            std::string path;
            if (!win32instance::ReadHandedPath(lParam, path)) return false;
            TheLink().handed.push_back(std::move(path));
            PostMessageW(hwnd, HandedMessage(), 0, 0);
            result = TRUE;
            return true;
        }
        default:
            if (message == HandedMessage()) {
                HandOnPath();
                result = 0;
                return true;
            }
            if (message != taskbar::ButtonCreatedMessage()) return false;
            taskbar::ButtonCreated();
            result = 0;
            return true;
    }
}

// MOD_NOREPEAT (Windows 7; the headers offer what XP has) keeps a held key from acting again and
// again; older systems refuse the flag and take the key without it. A key another program holds
// stays its own.
// https://learn.microsoft.com/windows/win32/api/winuser/nf-winuser-registerhotkey
constexpr UINT NoRepeat = 0x4000;

HotKey RegisterMediaKey(HWND window, UINT key) {
    const int id = static_cast<int>(key);
    if (RegisterHotKey(window, id, NoRepeat, key) || RegisterHotKey(window, id, 0, key)) {
        return HotKey(HotKeyId{window, id});
    }
    return {};
}

}  // namespace

bool Start(const Window& window, std::function<void(const Request&)> onRequest) {
    Link& link = TheLink();
    if (link.window != nullptr) return true;
    const auto* record = gui::win32state::FindWindowRecord(window.window);
    if (record == nullptr || record->hwnd == nullptr) return false;
    link.window = record->hwnd;
    link.onRequest = std::move(onRequest);
    link.filter = gui::win32state::MessageFilterSlot(gui::win32state::AddMessageFilter(OnMessage));
    SetPropW(link.window, win32instance::ReceiverProperty, reinterpret_cast<HANDLE>(1));
    for (const Meaning& k : MediaKeys) {
        if (HotKey key = RegisterMediaKey(link.window, k.code)) link.keys.push_back(std::move(key));
    }
    using gui::win32state::ImageBitmap;
    taskbar::Start(link.window, {ImageBitmap(window.previousImage), ImageBitmap(window.playImage),
                                 ImageBitmap(window.pauseImage), ImageBitmap(window.nextImage)});
    return true;
}

void Stop() {
    if (TheLink().window != nullptr) RemovePropW(TheLink().window, win32instance::ReceiverProperty);
    taskbar::Stop();
    TheLink() = Link{};  // the keys are given back, the filter removed
}

// The position is not shown anywhere on Windows.
void Publish(const State& state, std::int64_t) {
    taskbar::Show(state);
}

int Descriptor() {
    return -1;
}

bool Process() {
    return TheLink().window != nullptr;
}

}  // namespace media
