// The program's own loop over the native window and the system's MCI, which cannot seek to the
// end of an MP3 under Wine: a real song still plays past its third second, then the next starts.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/lifecycle.h"
#include "app/main_loop.h"
#include "platform/gui.h"
#include "platform/win32/text_win32.h"
#include "playback/song_commands.h"
#include "ui/gadgets.h"

namespace systemvalues {  // mci_system_side.cpp
std::string Environment(const char* name);
}  // namespace systemvalues

namespace {

// A fresh folder under the temporary folder, ending in a backslash.
std::wstring TempFolder(const std::wstring& name) {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = std::wstring(temp) + name + L"\\";
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

TEST(Win32Play, ARealSongPlaysToItsEndAndTheNextFollows) {
    const std::string song = systemvalues::Environment("KLINGTAL_TEST_MP3");
    if (song.empty()) GTEST_SKIP() << "KLINGTAL_TEST_MP3 not set";
    const std::wstring songs = TempFolder(L"klingtal lieder");
    for (const wchar_t* name : {L"1.mp3", L"2.mp3"}) {
        ASSERT_TRUE(CopyFileW(win32::Utf8ToWide(song).c_str(), (songs + name).c_str(), FALSE));
    }
    const std::wstring program = TempFolder(L"klingtal programm");
    const std::string settings = "Pfad = " + win32::WideToUtf8(songs) + "\r\n";
    HANDLE file = CreateFileW((program + L"MP3Klingtal.Ini").c_str(), GENERIC_WRITE, 0, nullptr,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(file, settings.data(), static_cast<DWORD>(settings.size()), &written, nullptr);
    CloseHandle(file);

    auto app = std::make_unique<AppState>();
    std::vector<std::string> log;
    app->mci.observer = [&log](std::string_view command) { log.emplace_back(command); };
    ASSERT_TRUE(StartUp(*app, StartOptions{win32::WideToUtf8(program)}));
    gui::PostEvent({gui::EventGadget, ui::MainWindow, ui::PlayButton});
    int reached = 0;  // the first song's furthest position, milliseconds
    const auto start = std::chrono::steady_clock::now();
    while (app->songs.CurrentSong == 0 &&
           std::chrono::steady_clock::now() - start < std::chrono::seconds(20)) {
        LoopPass(*app);
        if (app->songs.CurrentSong == 0) reached = std::max(reached, app->player.Position);
    }
    const int playing = app->player.Playing;
    Shutdown(*app, true);
    CloseSong(app->mci);  // the process ending would close it; a test goes on
    gui::CloseWindow(ui::MainWindow);

    EXPECT_EQ(app->songs.CurrentSong, 1);
    EXPECT_EQ(playing, 1);
    EXPECT_GT(reached, 3000);
    EXPECT_NE(std::find(log.begin(), log.end(), "status MP3Stueck length"), log.end());
}

}  // namespace
