// The taskbar preview's buttons: previous, play or pause, next. ITaskbarList3 is asked for at
// run time through COM; Windows XP and Vista do not have it, and nothing else here needs a newer
// system than XP.
#include "platform/win32/media/taskbar.h"

#include <objbase.h>
#include <shobjidl.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

namespace media::taskbar {
namespace {

template <typename Interface>
struct ComTraits {
    using Handle = Interface*;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle object) { object->Release(); }
};
using Taskbar = ::win32::Owned<ComTraits<ITaskbarList3>>;

// COM in this thread, given back when it ends. A thread that has COM in the other mode already
// can use the in-process taskbar object all the same.
struct ApartmentTraits {
    using Handle = bool;
    static Handle Invalid() { return false; }
    static void Close(Handle) { CoUninitialize(); }
};
using Apartment = ::win32::Owned<ApartmentTraits>;

struct ScreenDcTraits {
    using Handle = HDC;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle dc) { ReleaseDC(nullptr, dc); }
};
using ScreenDc = ::win32::Owned<ScreenDcTraits>;

enum ButtonId : UINT { PreviousId = 1, PlayPauseId = 2, NextId = 3 };
enum Picture : int { PreviousPicture, PlayPicture, PausePicture, NextPicture };

// What the buttons show.
struct Look {
    bool playing = false, canPrevious = false, canPlay = false, canNext = false;
    bool operator==(const Look&) const = default;
};

struct Bar {
    Apartment apartment;  // declared first: given back after everything made with it
    HWND window = nullptr;
    Images images;
    ImageList pictures;
    Taskbar taskbar;
    bool added = false;
    Look wanted, shown;
};

Bar& TheBar() {
    static Bar bar;
    return bar;
}

Look LookOf(const State& state) {
    return {state.playback == Playback::Playing, CanGoPrevious(state), CanPlay(state),
            CanGoNext(state)};
}

void SetButton(THUMBBUTTON& button, UINT id, Picture picture, const wchar_t* tip, bool enabled) {
    button = THUMBBUTTON{};
    button.dwMask = THB_BITMAP | THB_TOOLTIP | THB_FLAGS;
    button.iId = id;
    button.iBitmap = static_cast<UINT>(picture);
    lstrcpynW(button.szTip, tip, static_cast<int>(std::size(button.szTip)));
    button.dwFlags = enabled ? THBF_ENABLED : THBF_DISABLED;
}

struct Buttons {
    THUMBBUTTON button[3];
};

Buttons ButtonsFor(const Look& look) {
    Buttons b;
    SetButton(b.button[0], PreviousId, PreviousPicture, L"Vorheriges Lied", look.canPrevious);
    SetButton(b.button[1], PlayPauseId, look.playing ? PausePicture : PlayPicture,
              look.playing ? L"Pause" : L"Abspielen", look.canPlay);
    SetButton(b.button[2], NextId, NextPicture, L"Nächstes Lied", look.canNext);
    return b;
}

// A fresh taskbar object: after Explorer restarted, an old one may speak to a taskbar that
// has gone.
// https://learn.microsoft.com/windows/win32/api/shobjidl_core/nn-shobjidl_core-itaskbarlist3
Taskbar CreateTaskbarList() {
    ITaskbarList3* taskbar = nullptr;
    if (FAILED(CoCreateInstance(__uuidof(TaskbarList), nullptr, CLSCTX_INPROC_SERVER,
                                __uuidof(ITaskbarList3), reinterpret_cast<void**>(&taskbar))) ||
        taskbar == nullptr) {
        return {};
    }
    Taskbar owned(taskbar);
    if (FAILED(taskbar->HrInit())) return {};
    return owned;
}

// The picture's pixels as 32-bit BGRX, top row first; empty when it cannot be read.
std::vector<std::uint32_t> PixelsOf(HBITMAP bitmap, int& width, int& height) {
    BITMAP info{};
    if (bitmap == nullptr || GetObjectW(bitmap, sizeof(info), &info) == 0) return {};
    width = info.bmWidth;
    height = info.bmHeight;
    if (width <= 0 || height <= 0) return {};
    BITMAPINFO wanted{};
    wanted.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    wanted.bmiHeader.biWidth = width;
    wanted.bmiHeader.biHeight = -height;  // top row first
    wanted.bmiHeader.biPlanes = 1;
    wanted.bmiHeader.biBitCount = 32;
    wanted.bmiHeader.biCompression = BI_RGB;
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
    ScreenDc screen(GetDC(nullptr));
    if (GetDIBits(screen.Get(), bitmap, 0, static_cast<UINT>(height), pixels.data(), &wanted,
                  DIB_RGB_COLORS) != height) {
        return {};
    }
    return pixels;
}

// The picture on a cx x cy square as premultiplied BGRA: scaled by whole steps so that its
// pixels stay sharp, the face colour (its top-left pixel) transparent. Empty when the picture
// cannot be read: an image with no opaque pixel at all would be drawn as a black square.
std::vector<std::uint32_t> ThumbPixels(HBITMAP bitmap, int cx, int cy) {
    int width = 0, height = 0;
    const std::vector<std::uint32_t> art = PixelsOf(bitmap, width, height);
    if (art.empty()) return {};
    std::vector<std::uint32_t> square(static_cast<std::size_t>(cx) * cy, 0);
    const int scale = std::max(1, std::min(cx / width, cy / height));
    const int left = (cx - width * scale) / 2, top = (cy - height * scale) / 2;
    const std::uint32_t face = art[0] & 0xFFFFFFu;
    for (int y = 0; y < cy; ++y) {
        for (int x = 0; x < cx; ++x) {
            const int sx = x - left, sy = y - top;
            if (sx < 0 || sy < 0 || sx >= width * scale || sy >= height * scale) continue;
            const std::uint32_t colour =
                art[static_cast<std::size_t>(sy / scale) * width + sx / scale] & 0xFFFFFFu;
            if (colour != face) square[static_cast<std::size_t>(y) * cx + x] = colour | 0xFF000000u;
        }
    }
    return square;
}

bool AddPicture(HIMAGELIST list, HBITMAP bitmap, int cx, int cy) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = cx;
    info.bmiHeader.biHeight = -cy;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    const std::vector<std::uint32_t> pixels = ThumbPixels(bitmap, cx, cy);
    if (pixels.empty()) return false;
    void* bits = nullptr;
    ScreenDc screen(GetDC(nullptr));
    ::win32::GdiObject square(
        CreateDIBSection(screen.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!square || bits == nullptr) return false;
    std::memcpy(bits, pixels.data(), pixels.size() * sizeof(pixels[0]));
    // The list copies the pixels.
    return ImageList_Add(list, static_cast<HBITMAP>(square.Get()), nullptr) >= 0;
}

}  // namespace

ImageList MakeImageList(const Images& images) {
    // Drawn at the small icon size, which follows the screen's DPI.
    const int cx = GetSystemMetrics(SM_CXSMICON), cy = GetSystemMetrics(SM_CYSMICON);
    ImageList list(ImageList_Create(cx, cy, ILC_COLOR32, 4, 0));
    if (!list) return {};
    for (HBITMAP picture : {images.previous, images.play, images.pause, images.next}) {
        if (!AddPicture(list.Get(), picture, cx, cy)) return {};
    }
    return list;
}

UINT ButtonCreatedMessage() {
    // https://learn.microsoft.com/windows/win32/api/shobjidl_core/nf-shobjidl_core-itaskbarlist3-thumbbaraddbuttons
    static const UINT message = RegisterWindowMessageW(L"TaskbarButtonCreated");
    return message;
}

void Start(HWND window, const Images& images) {
    Bar& bar = TheBar();
    if (!bar.apartment) {
        bar.apartment = Apartment(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    }
    bar.window = window;
    bar.images = images;
    ButtonCreated();
}

void ButtonCreated() {
    Bar& bar = TheBar();
    if (bar.window == nullptr) return;
    bar.added = false;
    bar.taskbar = CreateTaskbarList();
    if (!bar.taskbar) return;
    if (!bar.pictures) bar.pictures = MakeImageList(bar.images);
    if (!bar.pictures) return;
    ITaskbarList3* taskbar = bar.taskbar.Get();
    Buttons buttons = ButtonsFor(bar.wanted);
    if (FAILED(taskbar->ThumbBarSetImageList(bar.window, bar.pictures.Get()))) return;
    // A taskbar button takes its buttons once; when they are there already, they are updated.
    bar.added = SUCCEEDED(taskbar->ThumbBarAddButtons(bar.window, 3, buttons.button)) ||
                SUCCEEDED(taskbar->ThumbBarUpdateButtons(bar.window, 3, buttons.button));
    bar.shown = bar.wanted;
}

void Show(const State& state) {
    Bar& bar = TheBar();
    bar.wanted = LookOf(state);
    if (!bar.added || bar.wanted == bar.shown) return;
    Buttons buttons = ButtonsFor(bar.wanted);
    if (SUCCEEDED(bar.taskbar.Get()->ThumbBarUpdateButtons(bar.window, 3, buttons.button))) {
        bar.shown = bar.wanted;
    }
}

bool Clicked(WPARAM wParam, Request::Kind& kind) {
    if (HIWORD(wParam) != THBN_CLICKED || TheBar().window == nullptr) return false;
    switch (LOWORD(wParam)) {
        case PreviousId:
            kind = Request::Kind::Previous;
            return true;
        case PlayPauseId:
            kind = Request::Kind::PlayPause;
            return true;
        case NextId:
            kind = Request::Kind::Next;
            return true;
        default:
            return false;
    }
}

void Stop() {
    // The old bar goes at the end of this statement, its apartment last.
    std::exchange(TheBar(), Bar{});
}

}  // namespace media::taskbar
