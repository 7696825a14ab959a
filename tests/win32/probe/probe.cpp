// Looks at a running MP3 Klingtal from outside, as a user's tools would: waits for its window,
// prints what the window shows as key=value lines, whether it holds the play/pause key and
// answers the media stop command, then asks it to close and waits until it has gone. Exit code 0
// when the window was found and closed in time.
//   klingtal_probe.exe [timeout in milliseconds, default 60000] [endsession SETTINGSFILE]
// With endsession it ends the session instead, as logging off does: deletes the settings file,
// sends the session-end messages and ends the process as soon as they return.
//   klingtal_probe.exe TIMEOUT details
// With details it also prints the drop-down's items, the shown bitrate and sampling rate, the
// info message of the first two songs (stepping on with the next button), and the title while
// the window is minimised and playing, before it closes the window.
//   klingtal_probe.exe TIMEOUT keys
// With keys it also walks the controls with Tab, counts the named image buttons, expands and
// shrinks the window, opens the About window and looks at its owner, and plays, steps, pauses
// and stops with the letter keys and moves the volume with - and +. (Wine's MCI keeps no
// MP3 playing long enough to see a pause from outside.) It first types letters through the
// system's input after each way the focus used to get lost.
//   klingtal_probe.exe TIMEOUT leave
// With leave it prints what the window shows and ends, leaving the program running.
//   klingtal_probe.exe TIMEOUT playlist [minimised]
// With playlist it starts the list with the play button (then minimises the window when
// asked), and prints the song numbers shown while songs play and whether the list ended:
// "played=1,2,3 ended=1".
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::string Utf8(const std::wstring& text) {
    char utf8[2048] = {};
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, utf8, sizeof(utf8), nullptr, nullptr);
    return utf8;
}

std::string Text(HWND window, int id) {
    wchar_t text[512] = {};
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(GetDlgItem(window, id), WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text),
                        SMTO_ABORTIFHUNG, 5000, &copied);
    return Utf8(text);
}

// A user's click: posted, since the program may answer it with a modal message window.
void Click(HWND window, int id) {
    PostMessageW(GetDlgItem(window, id), BM_CLICK, 0, 0);
    Sleep(700);
}

// The text of the next "ID3-Info" message window, its line breaks as "|"; the window is
// answered with OK.
std::string InfoMessage(DWORD timeout) {
    HWND box = nullptr;
    for (DWORD waited = 0; box == nullptr && waited < timeout; waited += 100) {
        box = FindWindowW(L"#32770", L"ID3-Info");
        if (box == nullptr) Sleep(100);
    }
    if (box == nullptr) return "none";
    std::string text = Text(box, 0xFFFF);  // the message's static control
    std::string shown;
    for (char c : text) {
        if (c == '\n') continue;
        shown += c == '\r' ? '|' : c;
    }
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    Sleep(500);
    return shown;
}

void PrintDetails(HWND window) {
    HWND list = GetDlgItem(window, 3);
    const LRESULT count = SendMessageW(list, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        std::wstring item(static_cast<std::size_t>(SendMessageW(list, CB_GETLBTEXTLEN, i, 0)) + 1,
                          L'\0');
        SendMessageW(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item.data()));
        std::printf("item%d=%s\n", static_cast<int>(i), Utf8(item.c_str()).c_str());
    }
    for (int song = 1; song <= 2; ++song) {
        // Right after a message window Wine may take a second or two to show every new text.
        auto details = [window] {
            return Text(window, 16) + " " + Text(window, 25) + " " + Text(window, 26);
        };
        std::string shown = details();
        for (int stable = 0, tries = 0; stable < 10 && tries < 100; ++tries) {
            Sleep(100);
            const std::string now = details();
            stable = now == shown ? stable + 1 : 0;
            shown = now;
        }
        std::printf("song%d=%s\n", song, shown.c_str());
        Click(window, 29);  // info
        std::printf("info%d=%s\n", song, InfoMessage(10000).c_str());
        if (song == 1) Click(window, 7);  // next
    }
    Click(window, 0);  // play
    ShowWindow(window, SW_MINIMIZE);
    Sleep(1500);
    wchar_t title[512] = {};
    GetWindowTextW(window, title, 512);
    std::printf("minimised_title=%s\n", Utf8(title).c_str());
    std::printf("elapsed=%s length=%s\n", Text(window, 15).c_str(), Text(window, 8).c_str());
    ShowWindow(window, SW_RESTORE);
    Click(window, 1);  // stop
    std::fflush(stdout);
}

// The control that has the focus in the program's thread; nullptr for none.
HWND FocusOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
    return info.hwndFocus;
}

// A key as the keyboard gives it to the program: to its focused control.
void Key(HWND window, WPARAM key) {
    HWND target = FocusOf(window) != nullptr ? FocusOf(window) : window;
    PostMessageW(target, WM_KEYDOWN, key, 1);
    PostMessageW(target, WM_KEYUP, key, 0xC0000001);
    Sleep(500);
}

int KnobX(HWND window) {
    RECT r{};
    GetWindowRect(GetDlgItem(window, 24), &r);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
    return r.left;
}

// A key as the user types it: through the system's input, to whichever control of the program
// has the focus, or to none. So it shows whether the keyboard went dead.
void TypedKey(HWND window, WORD key) {
    if (GetForegroundWindow() != window) SetForegroundWindow(window);
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_KEYBOARD;
    input[0].ki.wVk = input[1].ki.wVk = key;
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, input, sizeof(INPUT));
    Sleep(700);
}

// A key typed that moves to another song: the song number shown once it has changed (or after
// ten seconds), since a busy machine may take a while to open the song.
std::string TypedSongKey(HWND window, WORD key) {
    const std::string before = Text(window, 16);
    TypedKey(window, key);
    for (int waited = 0; Text(window, 16) == before && waited < 10000; waited += 50) Sleep(50);
    return Text(window, 16);
}

// Z and B typed after each way the focus used to get lost: the start (the scan disables the
// window), X with the folder button focused (it is disabled while playing), V with the slider
// focused (disabled when stopped), and the About window closed with Escape.
void PrintTypedKeys(HWND window) {
    std::printf("typed_focus_after_start=%d\n", GetDlgCtrlID(FocusOf(window)));
    std::printf("typed_b_after_start=%s\n", TypedSongKey(window, 'B').c_str());
    TypedKey(window, 'X');
    std::printf("typed_z_after_x=%s\n", TypedSongKey(window, 'Z').c_str());
    for (int i = 0; i < 20 && GetDlgCtrlID(FocusOf(window)) != 13; ++i) TypedKey(window, VK_TAB);
    TypedKey(window, 'V');
    std::printf("typed_b_after_v=%s\n", TypedSongKey(window, 'B').c_str());
    Click(window, 36);  // about
    HWND about = nullptr;
    for (int waited = 0; about == nullptr && waited < 5000; waited += 100) {
        about = FindWindowW(L"KlingtalWindow", L"\u00dcber MP3 Klingtal");
        if (about == nullptr) Sleep(100);
    }
    TypedKey(about != nullptr ? about : window, VK_ESCAPE);
    for (int waited = 0; about != nullptr && IsWindow(about) && waited < 5000; waited += 100)
        Sleep(100);
    std::printf("typed_about_closed=%d foreground=%d\n", about != nullptr && !IsWindow(about),
                GetForegroundWindow() == window);
    std::printf("typed_z_after_about=%s\n", TypedSongKey(window, 'Z').c_str());
    std::fflush(stdout);
}

void PrintKeyboard(HWND window) {
    PrintTypedKeys(window);
    std::string walk;
    for (int i = 0; i < 6; ++i) {
        Key(window, VK_TAB);
        walk += std::to_string(GetDlgCtrlID(FocusOf(window))) + ",";
    }
    std::printf("tab=%s\n", walk.c_str());
    int named = 0;
    for (int id : {5, 0, 12, 1, 7, 22, 23, 29, 32, 41, 36}) {
        named += GetWindowTextLengthW(GetDlgItem(window, id)) > 0;
    }
    std::printf("named_image_buttons=%d\n", named);
    RECT client{};
    Click(window, 32);  // expand
    GetClientRect(window, &client);
    std::printf("client_extended=%ldx%ld\n", client.right, client.bottom);
    Click(window, 41);  // shrink
    GetClientRect(window, &client);
    std::printf("client_compact=%ldx%ld\n", client.right, client.bottom);
    HWND slider = GetDlgItem(window, 13);
    Key(window, 'B');
    std::printf("key_b_next=%s\n", Text(window, 16).c_str());
    Key(window, 'Z');
    // Wine's MCI cannot measure an MP3, so the song may end at once: the slider is enabled
    // from the moment it plays until then.
    PostMessageW(FocusOf(window), WM_KEYDOWN, 'X', 1);
    bool played = false;
    for (int i = 0; i < 50 && !played; ++i, Sleep(10)) played = IsWindowEnabled(slider) != FALSE;
    std::printf("key_x_plays=%d\n", played ? 1 : 0);
    Key(window, 'V');
    std::printf("key_v_stops=%d\n",
                !IsWindowEnabled(slider) && IsWindowEnabled(GetDlgItem(window, 4)));
    // Wine may have played on meanwhile: the second song again, which the settings file keeps.
    HWND list = GetDlgItem(window, 3);
    SendMessageW(list, CB_SETCURSEL, 1, 0);
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(3, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    const int full = KnobX(window);
    Key(window, VK_SUBTRACT);
    const int lower = KnobX(window);
    Key(window, VK_ADD);
    std::printf("keys_volume=%d %d %d\n", full, lower, KnobX(window));
    Click(window, 36);  // about
    HWND about = nullptr;
    for (int waited = 0; about == nullptr && waited < 5000; waited += 100) {
        about = FindWindowW(L"KlingtalWindow", L"\u00dcber MP3 Klingtal");
        if (about == nullptr) Sleep(100);
    }
    std::printf("about_owned=%d\n", about != nullptr && GetWindow(about, GW_OWNER) == window);
    if (about != nullptr) PostMessageW(about, WM_CLOSE, 0, 0);
    Sleep(700);

    std::fflush(stdout);
}

// Plays the list from its first song and follows it until it stops (the folder button takes
// clicks again) or the time is up.
void PrintPlaylist(HWND window, bool minimise, DWORD timeout) {
    Click(window, 0);  // play
    if (minimise) ShowWindow(window, SW_MINIMIZE);
    HWND slider = GetDlgItem(window, 13), folder = GetDlgItem(window, 4);
    std::string played, last;
    bool ended = false;
    for (const DWORD start = GetTickCount(); !ended && GetTickCount() - start < timeout;) {
        Sleep(50);
        const bool playing = IsWindowEnabled(slider) != FALSE;
        const std::string number = Text(window, 16);
        if (playing && number != last) {
            played += (played.empty() ? "" : ",") + number;
            last = number;
        }
        ended = !played.empty() && !playing && IsWindowEnabled(folder) != FALSE;
    }
    if (minimise) ShowWindow(window, SW_RESTORE);
    std::printf("played=%s ended=%d\n", played.c_str(), ended ? 1 : 0);
    std::fflush(stdout);
}

bool Visible(HWND window, int id) {
    HWND control = GetDlgItem(window, id);
    return control != nullptr && (GetWindowLongW(control, GWL_STYLE) & WS_VISIBLE) != 0;
}

}  // namespace

int main(int argc, char** argv) {
    DWORD timeout = argc > 1 ? static_cast<DWORD>(std::atoi(argv[1])) : 60000;
    DWORD start = GetTickCount();
    auto elapsed = [start] { return GetTickCount() - start; };

    HWND window = nullptr;
    while (window == nullptr && elapsed() < timeout) {
        window = FindWindowW(L"KlingtalWindow", L"MP3 Klingtal");
        if (window == nullptr) Sleep(100);
    }
    if (window == nullptr) {
        std::printf("window=none\n");
        return 1;
    }
    // The window opens before the folder is scanned; the count appears when the scan is done.
    while (Text(window, 17).empty() && elapsed() < timeout) Sleep(100);
    Sleep(500);  // a few passes of the main loop

    RECT client{};
    GetClientRect(window, &client);
    std::printf("songs=%s\n", Text(window, 17).c_str());
    std::printf("current=%s\n", Text(window, 16).c_str());
    std::printf("total=%s\n", Text(window, 42).c_str());
    std::printf("folder=%s\n", Text(window, 2).c_str());
    std::printf("selected=%s\n", Text(window, 3).c_str());
    // A song is open while the position slider takes input.
    std::printf("playing=%d\n", IsWindowEnabled(GetDlgItem(window, 13)) ? 1 : 0);
    std::printf("client=%ldx%ld\n", client.right, client.bottom);
    std::printf("style=0x%08lx\n", static_cast<unsigned long>(GetWindowLongW(window, GWL_STYLE)));
    std::printf("layered=%d\n", (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_LAYERED) ? 1 : 0);
    BYTE alpha = 0;
    DWORD flags = 0;
    if (GetLayeredWindowAttributes(window, nullptr, &alpha, &flags)) {
        std::printf("alpha=%d\n", alpha);
    }
    std::printf("transparency_shown=%d%d\n", Visible(window, 34), Visible(window, 35));
    std::printf("transparency_slider=%ld\n",
                static_cast<long>(SendMessageW(GetDlgItem(window, 34), TBM_GETPOS, 0, 0)));
    // Stop changes nothing that the settings file keeps.
    DWORD_PTR answered = 0;
    SendMessageTimeoutW(window, WM_APPCOMMAND, reinterpret_cast<WPARAM>(window),
                        MAKELPARAM(0, APPCOMMAND_MEDIA_STOP), SMTO_ABORTIFHUNG, 5000, &answered);
    std::printf("appcommand=%d\n", answered == TRUE ? 1 : 0);
    const bool keyFree = RegisterHotKey(nullptr, 1, 0, VK_MEDIA_PLAY_PAUSE) != FALSE;
    if (keyFree) UnregisterHotKey(nullptr, 1);
    std::printf("media_key_held=%d\n", keyFree ? 0 : 1);
    std::fflush(stdout);

    if (argc > 2 && std::string(argv[2]) == "leave") return 0;  // running on for the next probe
    if (argc > 2 && std::string(argv[2]) == "details") PrintDetails(window);
    if (argc > 2 && std::string(argv[2]) == "keys") PrintKeyboard(window);
    if (argc > 2 && std::string(argv[2]) == "playlist") {
        PrintPlaylist(window, argc > 3 && std::string(argv[3]) == "minimised",
                      timeout > elapsed() ? timeout - elapsed() : 0);
    }
    if (argc > 3 && std::string(argv[2]) == "endsession") {
        DeleteFileA(argv[3]);
        DWORD_PTR result = 0;
        SendMessageTimeoutW(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG,
                            5000, &result);
        SendMessageTimeoutW(window, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 5000,
                            &result);
        DWORD id = 0;
        GetWindowThreadProcessId(window, &id);
        HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id);
        const bool ended = process != nullptr && TerminateProcess(process, 0) &&
                           WaitForSingleObject(process, 5000) == WAIT_OBJECT_0;
        if (process != nullptr) CloseHandle(process);
        std::printf("ended=%d\n", ended ? 1 : 0);
        return ended ? 0 : 1;
    }

    PostMessageW(window, WM_CLOSE, 0, 0);
    while (IsWindow(window) && elapsed() < timeout) Sleep(100);
    bool closed = !IsWindow(window);
    std::printf("closed=%d\n", closed ? 1 : 0);
    return closed ? 0 : 1;
}
