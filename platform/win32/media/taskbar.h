// The three buttons in the taskbar preview of the program's window (previous, play or pause,
// next) through ITaskbarList3, which came with Windows 7. Where it is missing (Windows XP,
// Wine) every call does nothing. Main thread only; part of the Win32 media backend.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include "platform/media.h"
#include "platform/win32/handle_win32.h"

namespace media::taskbar {

// The program's button pictures, as the gui holds them.
struct Images {
    HBITMAP previous = nullptr, play = nullptr, pause = nullptr, next = nullptr;
};

// Explorer sends this to the window when it has made the window's taskbar button: at first,
// and again after Explorer restarted. The buttons can be added only once the button is there.
UINT ButtonCreatedMessage();

// Adds the buttons now if the window's taskbar button is there already, and otherwise when
// ButtonCreated is called.
void Start(HWND window, const Images& images);
void ButtonCreated();
// The middle button shows play or pause for the state; a button whose request would do
// nothing is disabled.
void Show(const State& state);
// The request a WM_COMMAND stands for when it is a click on one of the buttons.
bool Clicked(WPARAM wParam, Request::Kind& kind);
// Gives the taskbar interface and the pictures back; the buttons go with the window.
void Stop();

struct ImageListTraits {
    using Handle = HIMAGELIST;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle list) { ImageList_Destroy(list); }
};
using ImageList = ::win32::Owned<ImageListTraits>;

// The pictures in button order (previous, play, pause, next), each centred at the small icon
// size at the largest whole scale that fits, the face colour of its corner made transparent.
// Empty when one of them is missing: then there are no buttons.
ImageList MakeImageList(const Images& images);

}  // namespace media::taskbar
