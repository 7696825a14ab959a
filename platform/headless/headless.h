// The in-memory gui backend as tests and the driver see it: the recorded windows, gadgets and
// message windows, user actions injected as a toolkit would deliver them, and text dumps.
// Main thread only, like the rest of gui.h.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/gui.h"

namespace gui::headless {

// Fixed frame of every headless window: outer size = inner size + these. 285 x 116 inside
// is 291 x 140 outside, the compact size the program asks for.
inline constexpr int FrameWidth = 6;
inline constexpr int FrameHeight = 24;

struct WindowRecord {
    int number = 0;
    std::string title;
    Rect outer;  // desktop coordinates, frame included
    int innerWidth = 0, innerHeight = 0;
    bool minimiseBox = false;
    bool topmost = false;
    bool enabled = true;
    bool visible = true;
    bool minimised = false;
    int opacity = 255;
    int enterEscapeButton = -1;
    int mouseX = -1, mouseY = -1;  // client coordinates of the last mouse action
    int raised = 0;                // how often RaiseWindow brought it to the front
    std::function<void(bool minimised)> sizeCallback;
    int owner = -1;
    std::function<bool(char)> keyCallback;
    std::vector<int> tabOrder;
};

struct GadgetRecord {
    GadgetSpec spec;  // as created; rect and text below follow later changes
    int window = 0;
    std::string text;
    int state = 0;
    std::vector<std::string> items;
    bool enabled = true;
    bool visible = true;
    Rect rect;
    std::string tooltip;
    bool addressable = true;  // false once its number was given to a newer gadget
};

struct MessageRecord {
    std::string title;
    std::string text;
    MessageIcon icon = MessageIcon::None;
};

struct FolderRequest {
    std::string prompt;
    std::string startFolder;
};

// Forgets everything: windows, gadgets, events, messages, answers, hooks, the modal pass; the
// screen goes back to 1024 x 768 with the desktop area equal to it.
void Reset();

// --- inspection -----------------------------------------------------------------------------
const WindowRecord* FindWindow(int number);  // nullptr when not open
const GadgetRecord* FindGadget(int number);  // the addressable gadget with this number
// Every gadget of a window in creation order, superseded ones included.
std::vector<const GadgetRecord*> WindowGadgets(int window);
const std::vector<MessageRecord>& Messages();
const std::vector<FolderRequest>& FolderRequests();
bool WaitCursorOn();
int PendingEvents();                     // queued entries not yet taken by PollEvent or WaitEvent
std::string GetWindowTitle(int window);  // empty when not open
int CountGadgetItems(int dropDown);      // 0 for anything but a drop-down
std::string GetGadgetItemText(int dropDown, int index);  // empty when there is no such item

// --- settings of the simulated system -------------------------------------------------------
void SetScreenSize(int width, int height);  // also resets the desktop area to the screen
void SetDesktopArea(Rect area);
void FailNextOpenWindow();  // the next OpenWindow returns false
// As the user's window manager might: keeps the position, the frame stays FrameWidth x
// FrameHeight.
void ResizeWindowOuter(int window, int outerWidth, int outerHeight);

// --- user actions ---------------------------------------------------------------------------
// Each returns false when a real user could not do it (unknown or superseded gadget, hidden or
// disabled gadget or window, wrong kind, minimised window); then nothing changes and no event is
// queued. Events are queued for PollEvent and WaitEvent in the order of the actions.

// Buttons give an event; toggles and check boxes flip first; an option selects itself and
// clears the other options of its group.
bool Click(int gadget);
bool SelectItem(int dropDown, int index);  // index must exist
bool Slide(int slider, int value);         // clamped to the slider's range
// Left button at a client point of the window. Down and up give an event wherever the point
// is, over controls too, as the program's message loop sees them; a move only updates the
// position WindowMouseX/Y report. A press is not a click: use Click for that.
bool MouseDown(int window, int x, int y);
bool MouseMove(int window, int x, int y);
bool MouseUp(int window, int x, int y);
// The wheel turned by `notches` (positive away from the user) with the pointer at a client
// point of the window.
bool Wheel(int window, int x, int y, int notches);
// Minimising and restoring call the size callback while the next PollEvent or WaitEvent
// processes them, as a toolkit does from inside its event handling; they give no event.
bool Minimise(int window);
bool Restore(int window);
bool Close(int window);  // the close box: an EventCloseWindow
// The system session ends: runs the session-end callback at once (once only); false when
// there is none.
bool EndSession();
// Return presses the Enter/Escape button, else the window's default button; Escape presses
// only the Enter/Escape button.
bool PressReturn(int window);
bool PressEscape(int window);
// A key of SetKeyCallback pressed in the window; false when the window takes no input or the
// callback did not take the key.
bool PressKey(int window, char key);

// A file or folder dropped onto the window: queued as a click on the drop target (gui.h,
// SetDropTarget) with `path` for TakeDroppedPath, unless a real backend would refuse it.
bool Drop(int window, const std::string& path);

// What the next folder requesters return, in order. A folder gets a trailing '/' if it lacks
// one. Without a queued answer the requester is cancelled.
void AnswerFolder(std::string folder);
void AnswerCancel();

// Called by WaitEvent whenever the queue is empty, to inject the next action. Return false when
// nothing more will come: WaitEvent then gives a close request for the current window, so no
// loop waits forever. Without a hook that happens at once.
void SetWaitHook(std::function<bool()> hook);

// --- waiting ------------------------------------------------------------------------------
// WaitForEvent really waits (watching the descriptors given to WatchInput), but never longer
// than this limit (milliseconds; negative: no limit, the default). An unlimited wait with no
// descriptor to watch returns at once: actions are injected between passes, never during one.
void SetWaitLimit(int milliseconds);
// What the last WaitForEvent asked for (milliseconds; negative: no limit), even when the wait
// itself was cut short by the limit or by a pending event.
int LastWaitRequest();

// --- dumps (tab-separated; tabs, carriage returns and line feeds in texts written as \t, \r,
// \n) -------------------------------------------------------------------------------------
// One line per gadget of the window, creation order:
// number kind text state enabled visible x y w h items-joined-by-|
std::string DumpGadgets(int window);
// title x y outer-width outer-height topmost opacity
std::string DumpWindow(int window);
// One line per message window: title text
std::string DumpMessages();

}  // namespace gui::headless
