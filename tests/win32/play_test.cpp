// The program's own loop over the native window and the system's MCI, which cannot seek to the
// end of an MP3 under Wine: a real song still plays past its third second, then the next starts;
// and a folder of songs of different formats plays through, visible and minimised.
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

bool WriteSettings(const std::wstring& program, const std::string& settings) {
    HANDLE file = CreateFileW((program + L"MP3Klingtal.Ini").c_str(), GENERIC_WRITE, 0, nullptr,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool done = WriteFile(file, settings.data(), static_cast<DWORD>(settings.size()),
                                &written, nullptr) != 0;
    CloseHandle(file);
    return done && written == settings.size();
}

// Runs passes until done() or the time is up; false when the time ran out.
template <class Done>
bool RunUntil(AppState& app, Done done, std::chrono::seconds limit) {
    const auto until = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > until) return false;
        LoopPass(app);
    }
    return true;
}

TEST(Win32Play, ARealSongPlaysToItsEndAndTheNextFollows) {
    const std::string song = systemvalues::Environment("KLINGTAL_TEST_MP3");
    if (song.empty()) GTEST_SKIP() << "KLINGTAL_TEST_MP3 not set";
    const std::wstring songs = TempFolder(L"klingtal lieder");
    for (const wchar_t* name : {L"1.mp3", L"2.mp3"}) {
        ASSERT_TRUE(CopyFileW(win32::Utf8ToWide(song).c_str(), (songs + name).c_str(), FALSE));
    }
    const std::wstring program = TempFolder(L"klingtal programm");
    ASSERT_TRUE(WriteSettings(program, "Pfad = " + win32::WideToUtf8(songs) + "\r\n"));

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

// Four short songs: CBR, VBR at 48 kHz, VBR without a Xing header that begins in silence (Wine
// counts its length from the first frame's low bitrate, far beyond its end) and MPEG-2 mono.
// With "Alle" each follows the one before and the list stops after the last, also minimised,
// when each pass sleeps and Wine's position falls back to the start once a song has played out.
TEST(Win32Play, AFolderOfDifferentSongsPlaysThroughVisibleAndMinimised) {
    const std::string folder = systemvalues::Environment("KLINGTAL_TEST_SONGS");
    if (folder.empty()) GTEST_SKIP() << "KLINGTAL_TEST_SONGS not set";
    const std::wstring program = TempFolder(L"klingtal liste");
    for (const bool minimised : {false, true}) {
        // Each run from the first song: the run before stored its last.
        ASSERT_TRUE(WriteSettings(program, "Pfad = " + folder + "\r\nAlle = 1\r\n"));
        auto app = std::make_unique<AppState>();
        ASSERT_TRUE(StartUp(*app, StartOptions{win32::WideToUtf8(program)}));
        ASSERT_EQ(app->songs.SongCount, 4);
        if (minimised) {
            ShowWindow(FindWindowW(L"KlingtalWindow", L"MP3 Klingtal"), SW_MINIMIZE);
            EXPECT_TRUE(RunUntil(
                *app, [&] { return app->player.Minimised == 1; }, std::chrono::seconds(10)));
        }
        gui::PostEvent({gui::EventGadget, ui::MainWindow, ui::PlayButton});
        std::vector<int> played;
        const bool ended = RunUntil(
            *app,
            [&] {
                if (app->player.Playing == 1 &&
                    (played.empty() || played.back() != app->songs.CurrentSong)) {
                    played.push_back(app->songs.CurrentSong);
                }
                return !played.empty() && app->player.Playing == 0;
            },
            std::chrono::seconds(60));
        // Wine's MCI counts every song with a Xing header as it really is.
        const bool converted = app->mci.clock.countsByFirstFrame;
        Shutdown(*app, true);
        CloseSong(app->mci);
        gui::CloseWindow(ui::MainWindow);

        EXPECT_FALSE(converted);
        EXPECT_TRUE(ended) << (minimised ? "minimised" : "visible");
        EXPECT_EQ(played, (std::vector<int>{0, 1, 2, 3})) << (minimised ? "minimised" : "visible");
    }
}

}  // namespace
