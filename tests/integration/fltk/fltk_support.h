// Helpers for the FLTK backend tests: the display and window manager, pumping the event loop,
// synthetic input through xdotool and reading screen pixels.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/gui.h"

namespace fltk_test {

// Runs the event loop for `ms` milliseconds and returns every event that arrived.
std::vector<gui::Event> Pump(int ms);
// Runs the loop until an event of `type` (and gadget, unless -1) arrives or `ms` pass.
bool PumpUntil(int type, int gadget, int ms);
// Runs the event loop until `done` holds or `ms` pass; whether it holds. Events are dropped.
bool WaitFor(const std::function<bool()>& done, int ms = 3000);
// Runs an xdotool command line (arguments after "xdotool"); true when it exited with 0.
bool Xdotool(const std::string& arguments);
// Moves the pointer to a client point of window `window` and clicks the left button there.
void ClickAt(int window, int x, int y);
// The X window id of a program window, for xdotool and xprop.
unsigned long XidOf(int window);
// The colour of a screen pixel as 0xRRGGBB.
unsigned ScreenPixel(int x, int y);
// How many pixels of a screen rectangle are dark (each channel below 0x60): the ink of a text.
int DarkPixels(int x, int y, int w, int h);
// The client area's top-left corner on the screen.
void ClientOrigin(int window, int& x, int& y);
// True while a window manager manages the display.
bool HaveWindowManager();
// The root window's _NET_SUPPORTING_WM_CHECK (0 when unset), and setting it (0 deletes it).
unsigned long RootWmCheck();
void SetRootWmCheck(unsigned long window);
// The id of a window that was created and destroyed again.
unsigned long GoneWindow();
// Asks the window manager to close the window, as its close button does.
void SendDeleteRequest(int window);
// The names in the window's _NET_WM_STATE and its _NET_WM_WINDOW_OPACITY (-1 when unset).
std::vector<std::string> WmState(int window);
// The names in an atom-list property of the window, such as _NET_WM_ALLOWED_ACTIONS.
std::vector<std::string> AtomNames(int window, const char* property);
long OpacityProperty(int window);

}  // namespace fltk_test
