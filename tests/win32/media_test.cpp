// The media keys and taskbar buttons on the real window: each message is its request, a press
// reported both ways acts once, keys held elsewhere are left alone, Stop gives the keys back,
// and the taskbar pictures are small icons on a transparent ground. And what a later program
// sends the window: its path, or nothing for the front, and never anyone else's data.
#include <windows.h>

#include <commctrl.h>
#include <shobjidl.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/gui.h"
#include "platform/media.h"
#include "platform/win32/gui/state.h"
#include "platform/win32/media/instance.h"
#include "platform/win32/media/taskbar.h"
#include "tests/win32/gui_fixture.h"
#include "tests/win32/test_images.h"

namespace {

using Kind = media::Request::Kind;

constexpr UINT MediaKeys[] = {VK_MEDIA_PLAY_PAUSE, VK_MEDIA_STOP, VK_MEDIA_NEXT_TRACK,
                              VK_MEDIA_PREV_TRACK};

struct Report {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};
Report App(int command) {
    return {WM_APPCOMMAND, 0, MAKELPARAM(0, command | FAPPCOMMAND_KEY)};
}
Report Hot(UINT key) {
    return {WM_HOTKEY, key, MAKELPARAM(0, key)};
}
Report Thumb(WORD button) {
    return {WM_COMMAND, MAKEWPARAM(button, THBN_CLICKED), 0};
}

// A window of this thread that is not the program's, to hold keys as another program would.
class OtherWindow {
  public:
    OtherWindow()
        : hwnd_(CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr,
                                nullptr)) {}
    ~OtherWindow() { DestroyWindow(hwnd_); }
    bool Take(UINT key) { return RegisterHotKey(hwnd_, static_cast<int>(key), 0, key) != FALSE; }
    bool GiveBack(UINT key) { return UnregisterHotKey(hwnd_, static_cast<int>(key)) != FALSE; }

  private:
    HWND hwnd_;
};

class MediaTest : public GuiWindowTest {
  protected:
    void SetUp() override {
        GuiWindowTest::SetUp();
        // Pictures for the taskbar buttons, so that Start goes all the way to adding them.
        const std::vector<std::uint8_t> bmp = testimages::Rle8(15, 12);
        for (int image = 1; image <= 4; ++image) gui::RegisterImage(image, bmp.data(), bmp.size());
        ASSERT_TRUE(StartMedia());
    }
    void TearDown() override {
        media::Stop();
        GuiWindowTest::TearDown();
    }
    bool StartMedia() {
        return media::Start({0, 2, 1, 4, 3},
                            [this](const media::Request& r) { requests_.push_back(r.kind); });
    }
    // Sent as Windows sends app commands; hotkeys and taskbar clicks are posted and arrive
    // through the program's message loop.
    LRESULT Deliver(const Report& report) {
        if (report.message == WM_APPCOMMAND)
            return SendMessageW(main_, report.message, report.wParam, report.lParam);
        PostMessageW(main_, report.message, report.wParam, report.lParam);
        Drain();
        return 0;
    }

    std::vector<Kind> requests_;
};

TEST_F(MediaTest, EachMessageIsItsRequest) {
    struct Case {
        Report report;
        bool isRequest;
        Kind kind;
    };
    // No two neighbours are the same request, which would be taken for one press.
    const Case cases[] = {
        {App(APPCOMMAND_MEDIA_PLAY_PAUSE), true, Kind::PlayPause},
        {App(APPCOMMAND_MEDIA_PLAY), true, Kind::Play},
        {App(APPCOMMAND_MEDIA_PAUSE), true, Kind::Pause},
        {App(APPCOMMAND_MEDIA_STOP), true, Kind::Stop},
        {App(APPCOMMAND_MEDIA_NEXTTRACK), true, Kind::Next},
        {App(APPCOMMAND_MEDIA_PREVIOUSTRACK), true, Kind::Previous},
        {App(APPCOMMAND_VOLUME_UP), false, {}},  // the system's own
        {Hot(VK_MEDIA_PLAY_PAUSE), true, Kind::PlayPause},
        {Hot(VK_MEDIA_STOP), true, Kind::Stop},
        {Hot(VK_MEDIA_NEXT_TRACK), true, Kind::Next},
        {Hot(VK_MEDIA_PREV_TRACK), true, Kind::Previous},
        {Hot('A'), false, {}},
        {Thumb(1), true, Kind::Previous},
        {Thumb(2), true, Kind::PlayPause},
        {Thumb(3), true, Kind::Next},
        {Thumb(4), false, {}},
        {{WM_COMMAND, MAKEWPARAM(2, 0), 0}, false, {}},  // a menu command, not the taskbar's
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "message " << c.report.message << ", wParam "
                                        << c.report.wParam << ", lParam " << c.report.lParam);
        requests_.clear();
        const LRESULT result = Deliver(c.report);
        if (c.isRequest) {
            EXPECT_EQ(requests_, std::vector<Kind>{c.kind});
        } else {
            EXPECT_TRUE(requests_.empty());
        }
        if (c.report.message == WM_APPCOMMAND) {
            EXPECT_EQ(result, c.isRequest ? TRUE : FALSE);
        }
    }
    EXPECT_TRUE(Drain().empty());  // the requests are the program's to turn into clicks

    // The focus is mostly on one of the window's buttons, which passes the command up.
    ASSERT_TRUE(gui::CreateGadget(Spec(0, gui::GadgetKind::ImageButton, 21, 79, 18, 16)));
    requests_.clear();
    SendMessageW(Control(0), WM_APPCOMMAND, reinterpret_cast<WPARAM>(Control(0)),
                 App(APPCOMMAND_MEDIA_PLAY).lParam);
    EXPECT_EQ(requests_, std::vector<Kind>{Kind::Play});
}

TEST_F(MediaTest, LaterProgramsBlockIsOpenedAfterItsSendHasReturned) {
    media::Stop();
    std::vector<media::Request> got;
    ASSERT_TRUE(
        media::Start({0, 2, 1, 4, 3}, [&got](const media::Request& r) { got.push_back(r); }));
    EXPECT_NE(GetPropW(main_, media::win32instance::ReceiverProperty), nullptr);
    struct Case {
        ULONG_PTR kind;
        std::wstring data;
        DWORD extraBytes;  // one makes the block an odd number of bytes
        bool taken;
        Kind request;
        std::string path;
    };
    using media::win32instance::HandOverData;
    const Case cases[] = {
        {HandOverData, L"C:\\Musik\\Lied \u00e4.mp3", 0, true, Kind::Open,
         "C:\\Musik\\Lied \xC3\xA4.mp3"},
        {HandOverData, L"", 0, true, Kind::Raise, ""},
        {HandOverData + 1, L"C:\\x.mp3", 0, false, {}, ""},
        {HandOverData, L"C:\\x.mp3", 1, false, {}, ""},
        {HandOverData, std::wstring(L"C:\\x\0y", 6), 0, false, {}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "kind " << c.kind << ", " << c.data.size() << " chars");
        got.clear();
        std::wstring data = c.data + L'\0';  // room for the odd byte
        COPYDATASTRUCT block{c.kind,
                             static_cast<DWORD>(c.data.size() * sizeof(wchar_t)) + c.extraBytes,
                             data.data()};
        const LRESULT result =
            SendMessageW(main_, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&block));
        EXPECT_EQ(result, c.taken ? TRUE : FALSE);
        EXPECT_TRUE(got.empty());  // not while the sender waits
        Drain();
        ASSERT_EQ(got.size(), c.taken ? 1u : 0u);
        if (!c.taken) continue;
        EXPECT_EQ(got[0].kind, c.request);
        EXPECT_EQ(got[0].path, c.path);
    }
    media::Stop();
    EXPECT_EQ(GetPropW(main_, media::win32instance::ReceiverProperty), nullptr);
}

TEST_F(MediaTest, PressReportedBothWaysActsOnce) {
    struct Case {
        std::vector<Report> reports;
        std::size_t requests;
    };
    const Case cases[] = {
        {{Hot(VK_MEDIA_PLAY_PAUSE), App(APPCOMMAND_MEDIA_PLAY_PAUSE)}, 1},
        {{App(APPCOMMAND_MEDIA_NEXTTRACK), Hot(VK_MEDIA_NEXT_TRACK)}, 1},
        // Two presses each way, and one twin for each press at most.
        {{Hot(VK_MEDIA_NEXT_TRACK), Hot(VK_MEDIA_NEXT_TRACK)}, 2},
        {{App(APPCOMMAND_MEDIA_STOP), App(APPCOMMAND_MEDIA_STOP)}, 2},
        {{Hot(VK_MEDIA_STOP), App(APPCOMMAND_MEDIA_STOP), App(APPCOMMAND_MEDIA_STOP)}, 2},
        {{Hot(VK_MEDIA_STOP), App(APPCOMMAND_MEDIA_NEXTTRACK)}, 2},
    };
    for (const Case& c : cases) {
        requests_.clear();
        for (const Report& report : c.reports) Deliver(report);
        EXPECT_EQ(requests_.size(), c.requests) << "case " << (&c - cases);
        Sleep(300);  // the next case is a press of its own
    }
    // Long after, the other way is a new press.
    requests_.clear();
    Deliver(Hot(VK_MEDIA_PLAY_PAUSE));
    Sleep(300);
    Deliver(App(APPCOMMAND_MEDIA_PLAY_PAUSE));
    EXPECT_EQ(requests_.size(), 2u);
}

TEST_F(MediaTest, KeyHeldElsewhereIsLeftAloneAndTheAppCommandStillWorks) {
    media::Stop();
    OtherWindow other;
    ASSERT_TRUE(other.Take(VK_MEDIA_PLAY_PAUSE));
    ASSERT_TRUE(StartMedia());
    Deliver(App(APPCOMMAND_MEDIA_PLAY_PAUSE));
    EXPECT_EQ(requests_, std::vector<Kind>{Kind::PlayPause});
    EXPECT_FALSE(other.Take(VK_MEDIA_STOP));  // the free keys are the program's
    media::Stop();
    EXPECT_TRUE(other.GiveBack(VK_MEDIA_PLAY_PAUSE));  // still the other window's
}

TEST_F(MediaTest, StopGivesTheKeysBack) {
    OtherWindow other;
    for (UINT key : MediaKeys) EXPECT_FALSE(other.Take(key)) << key;
    media::Stop();
    for (UINT key : MediaKeys) {
        EXPECT_TRUE(other.Take(key)) << key;
        other.GiveBack(key);
    }
    EXPECT_FALSE(media::Process());
    Deliver(App(APPCOMMAND_MEDIA_STOP));
    EXPECT_TRUE(requests_.empty());
}

// Drawn as the taskbar draws them, onto a ground of its own: the ground shows around the symbol
// and where the picture has its face colour (the run-length test image: its top row).
TEST(MediaTaskbar, PicturesAreSmallIconsOnATransparentGround) {
    const std::vector<std::uint8_t> bmp = testimages::Rle8(15, 12);  // each row its own grey
    ASSERT_TRUE(gui::RegisterImage(60, bmp.data(), bmp.size()));
    auto picture = static_cast<HBITMAP>(gui::win32state::GetState().images[60].Get());
    const media::taskbar::ImageList list =
        media::taskbar::MakeImageList({picture, picture, picture, picture});
    ASSERT_TRUE(list);
    EXPECT_EQ(ImageList_GetImageCount(list.Get()), 4);
    int cx = 0, cy = 0;
    ImageList_GetIconSize(list.Get(), &cx, &cy);
    EXPECT_EQ(cx, GetSystemMetrics(SM_CXSMICON));
    EXPECT_EQ(cy, GetSystemMetrics(SM_CYSMICON));
    const int scale = std::min(cx / 15, cy / 12);

    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), cx, -cy, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP ground = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(ground, nullptr);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ before = SelectObject(dc, ground);
    auto* pixels = static_cast<std::uint32_t*>(bits);
    constexpr std::uint32_t Ground = 0x00FF00FF;
    auto drawn = [&](int image) {
        std::fill(pixels, pixels + cx * cy, Ground);
        ImageList_Draw(list.Get(), image, dc, 0, 0, ILD_NORMAL);
        GdiFlush();
        return static_cast<int>(
            std::count_if(pixels, pixels + cx * cy, [=](std::uint32_t p) { return p != Ground; }));
    };
    EXPECT_EQ(drawn(0), 15 * 11 * scale * scale);
    EXPECT_EQ(pixels[0], Ground);
    EXPECT_NE(pixels[(cy / 2) * cx + cx / 2], Ground);
    SelectObject(dc, before);
    DeleteDC(dc);
    DeleteObject(ground);
    // Without one of its pictures the bar would show a black square: it is left out.
    EXPECT_FALSE(media::taskbar::MakeImageList({picture, nullptr, picture, picture}));
}

}  // namespace
