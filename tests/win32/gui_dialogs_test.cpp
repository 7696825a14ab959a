// The message window and the folder requester, answered by a timer that runs inside their own
// modal loops the way a user would answer them.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/gui.h"
#include "platform/win32/text_win32.h"

namespace {

// What the timer saw of the dialog it answered.
struct Seen {
    std::wstring title;
    std::wstring text;  // a message box's message
    int button = IDOK;  // the button the timer presses
    bool answered = false;
};
Seen seen;

BOOL CALLBACK AnswerDialog(HWND window, LPARAM) {
    wchar_t name[32] = {};
    GetClassNameW(window, name, 32);
    if (std::wstring(name) != L"#32770" || !IsWindowVisible(window)) return TRUE;
    wchar_t text[512] = {};
    GetWindowTextW(window, text, 512);
    seen.title = text;
    text[0] = L'\0';
    GetDlgItemTextW(window, 0xFFFF, text, 512);  // a message box's message
    seen.text = text;
    seen.answered = true;
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(seen.button, BN_CLICKED), 0);
    return FALSE;
}

void CALLBACK OnTimer(HWND, UINT, UINT_PTR timer, DWORD) {
    EnumThreadWindows(GetCurrentThreadId(), AnswerDialog, 0);
    if (seen.answered) KillTimer(nullptr, timer);
}

void AnswerNextDialogWith(int button) {
    seen = Seen{};
    seen.button = button;
    SetTimer(nullptr, 0, 300, OnTimer);
}

// Also characters no ANSI code page holds all of: a song path may have any of them.
TEST(Win32Dialogs, MessageTextArrivesWholeWithItsLineBreaks) {
    AnswerNextDialogWith(IDOK);
    gui::ShowMessage("MP3 Fehler", "Fehler beim Öffnen der MP3 Datei!\rC:\\Музыка 東京\\a & b.mp3",
                     gui::MessageIcon::Error);
    ASSERT_TRUE(seen.answered);
    EXPECT_EQ(seen.title, L"MP3 Fehler");
    EXPECT_EQ(seen.text,
              win32::Utf8ToWide("Fehler beim Öffnen der MP3 Datei!\r\nC:\\Музыка 東京\\a & b.mp3"));
}

// The program's own work goes on inside the message box's modal loop, as often as it asks.
TEST(Win32Dialogs, MessageRunsTheModalPassWhileItWaits) {
    int passes = 0;
    gui::SetModalPass([&passes] {
        ++passes;
        return 20;
    });
    AnswerNextDialogWith(IDOK);
    gui::ShowMessage("ID3-Info", "Titel: x", gui::MessageIcon::None);
    gui::SetModalPass(nullptr);
    EXPECT_TRUE(seen.answered);
    EXPECT_GE(passes, 5);  // 300 ms in steps of 20
    EXPECT_FALSE(gui::InModalWait());
}

TEST(Win32Dialogs, FolderRequesterStartsWhereAskedAndEndsInABackslash) {
    char windows[MAX_PATH] = {};
    GetWindowsDirectoryA(windows, MAX_PATH);
    AnswerNextDialogWith(IDOK);
    std::string chosen = gui::RequestFolder("Verzeichnis wählen", windows);
    ASSERT_TRUE(seen.answered);
    EXPECT_EQ(chosen, std::string(windows) + "\\");

    AnswerNextDialogWith(IDCANCEL);
    EXPECT_EQ(gui::RequestFolder("Verzeichnis wählen", windows), "");
    EXPECT_TRUE(seen.answered);
}

}  // namespace
