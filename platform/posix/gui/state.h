// Private to the FLTK gui backend: the windows and gadgets it keeps, the event queue the widget
// callbacks fill, and the helpers its files share. Main thread only, like all of gui.h.
#pragma once

// gui.h before any FLTK header: X11, which some of them include, defines None as a macro.
#include "platform/gui.h"

#include <FL/Fl_Double_Window.H>
#include <FL/Fl_RGB_Image.H>
#include <FL/Fl_Widget.H>

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace gui::fltk {

class ProgramWindow;
class DropDown;

struct WindowRecord {
    ProgramWindow* window = nullptr;      // owned: deleted by CloseWindow
    int innerWidth = 0, innerHeight = 0;  // the client area in layout pixels
    std::function<void(bool)> sizeCallback;
    bool minimised = false;
    bool closing = false;
    bool enabled = true;
    bool leftButtonDown = false;  // a press was reported and its release not yet
    int enterEscapeGadget = -1;
    int passiveCount = 0;  // texts, frames and pictures sit first in the child list
    int optionGroup = 0;   // the group the next option joins unless it starts one
    bool lastWasOption = false;
    std::function<bool(char)> keyCallback;
    std::vector<int> tabOrder;
};

// Tells a widget callback which window and gadget number it speaks for.
struct GadgetTag {
    int window = -1;
    int gadget = -1;
};

struct GadgetRecord {
    Fl_Widget* widget = nullptr;  // owned by its window
    int window = -1;
    GadgetKind kind = GadgetKind::Text;
    Rect rect;  // layout pixels, as the program gave them
    int optionGroup = -1;
    GadgetTag* tag = nullptr;
};

struct ImageRecord {
    std::vector<std::uint8_t> rgba;
    std::unique_ptr<Fl_RGB_Image> image;
    std::vector<std::unique_ptr<Fl_Image>> scaled;  // at the factors other than 1 met so far
};

struct State {
    std::map<int, WindowRecord> windows;
    std::map<int, GadgetRecord> gadgets;
    std::deque<Event> events;
    int current = -1;
    // Kept for the life of the process: widgets may still point at a replaced image.
    std::map<int, std::vector<std::unique_ptr<ImageRecord>>> images;
    std::deque<GadgetTag> tags;
    bool waitCursor = false;
};

State& TheState();
void Queue(const Event& event);
WindowRecord* FindWindow(int window);
GadgetRecord* FindGadget(int gadget);
Fl_Image* FindImage(int image);  // at the scale factor

// A key pressed in one of the program's windows, before any widget sees it: Tab along the
// window's Tab order, Alt+Down on a drop-down, Page Up/Down on a slider and the window's own
// keys (keys.cpp). True when the key has been used.
bool TakeKey(Fl_Window* window);

// Sets up FLTK once: the label type, fonts, tooltips, the X connection and the scale factor.
void EnsureStarted();

// The desktop's scale factor, 1 to 4: FLTK_SCALING_FACTOR when set, else the X resource Xft.dpi
// over 96, else 1 (scale.cpp). Read when FLTK starts; windows opened later follow a new reading.
void ReadScaleFactor();
double ScaleFactor();
// Layout pixels, which the program speaks in, to device pixels and back. A position comes back
// as the layout pixel it lies in, a size as the nearest one.
int Scaled(int layout);
int Unscaled(int device);
int UnscaledSize(int device);
// Edges rounded one by one, so that controls that touch at scale 1 still touch.
Rect ScaledRect(const Rect& layout);

// True from a termination signal until the next poll turns it into a close request: a modal
// window then closes at once, so the main loop takes the close within a second. Any thread.
bool StopRequested();
// One wait of a modal window's loop: runs the modal pass when it is due and waits for an event
// until it is due again. Returns at once after a termination signal.
void WaitModally();

// Fonts: the program's small font, and the font of everything else.
Fl_Font SmallFont();
int SmallFontSize();
Fl_Font NormalFont();
int NormalFontSize();
// A label type that draws text as it is: no '@' symbols (each widget's own '&' rule stays).
Fl_Labeltype PlainLabel();
// Text with characters the current font lacks, drawn line by line with fallback fonts for them
// (text.cpp). False, and nothing drawn, when the current font has every character.
bool DrawTextInEveryScript(const char* text, int x, int y, int w, int h, Fl_Align align);
void MeasureTextInEveryScript(const char* text, int& w, int& h);
// Whether the current font lacks a character of the text.
bool DrawsOnlyWithFallback(const char* text);

// X11 window-manager hints (x11.cpp). All do nothing while the window is not shown.
struct FrameExtents {
    int left = 0, right = 0, top = 0, bottom = 0;
    bool known = false;
};
FrameExtents QueryFrameExtents(Fl_Window* window);
bool WindowManagerRunning();
void SendAbove(Fl_Window* window, bool above);
void SetOpacityHint(Fl_Window* window, int alpha);
// Asks the window manager to activate the window (_NET_ACTIVE_WINDOW, as an application).
void AskForFocus(Fl_Window* window);

// The frame the program's outer sizes are computed for: 3 pixels each side, a 21-pixel
// caption. Outer sizes passed in and reported are inner sizes plus this frame, whatever the
// window manager draws, so the client area always comes out as the program planned it.
inline constexpr int kNominalFrameWidth = 6;
inline constexpr int kNominalFrameHeight = 24;

}  // namespace gui::fltk
