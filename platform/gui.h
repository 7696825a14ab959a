// The window toolkit as the program sees it: numbered windows and gadgets, polled events,
// message windows, the folder requester and the cursor. One backend is linked per target:
// posix/ (FLTK), win32/ (native controls) or headless/ (in memory, for tests and the driver).
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// Every function here belongs to the main thread. Texts are UTF-8; a "\r" inside a message
// text is a line break. Unknown window or gadget numbers are ignored (getters return 0 or "").
namespace gui {

// Event codes as the main loop sees them; they are the Windows message numbers they stand for.
inline constexpr int EventNone = 0;
inline constexpr int EventCloseWindow = 16;
inline constexpr int EventLeftButtonDown = 0x201;
inline constexpr int EventLeftButtonUp = 0x202;
inline constexpr int EventMouseWheel = 0x20A;  // over the window, wherever the pointer is
inline constexpr int EventGadget = 13100;

struct Event {
    int type = EventNone;
    int window = -1;  // the window the event belongs to
    int gadget = -1;  // EventGadget only
    int wheel = 0;    // EventMouseWheel only: notches, positive away from the user
};

enum class GadgetKind {
    Field,          // single-line edit, sunken edge, scrolls horizontally
    Button,         // push button
    DefaultButton,  // push button that Return presses
    Toggle,         // check box drawn as a push button; pressed = state 1
    ImageButton,    // push button showing an image registered with RegisterImage
    Text,           // static text, aligned as GadgetSpec::align says
    SunkenFrame,    // empty, sunken client edge
    EdgeFrame,      // empty, static edge
    GroupBox,
    CheckBox,
    Option,    // radio button; GadgetSpec::startsGroup begins a new group
    DropDown,  // non-editable drop-down list with vertical scroll bar
    Slider,    // horizontal, no ticks, range minimum..maximum
    Picture,   // shows an image registered with RegisterImage
};

enum class Align { Left, Centre, Right };

struct GadgetSpec {
    int number = 0;
    GadgetKind kind = GadgetKind::Text;
    int x = 0, y = 0, width = 0, height = 0;  // client pixels of the current window
    std::string text;                         // caption; empty for frames, sliders and images
    Align align = Align::Left;                // Text only
    bool smallFont = false;                   // the small font of the program
    int image = 0;                            // ImageButton and Picture
    int minimum = 0, maximum = 0;             // Slider
    bool startsGroup = false;                 // Option
};

struct WindowSpec {
    int number = 0;
    int x = 0, y = 0;                     // outer top-left on the desktop
    int innerWidth = 0, innerHeight = 0;  // client area in pixels
    std::string title;
    bool screenCentred = false;  // ignore x and y, centre on the primary screen
    bool minimiseBox = false;    // caption, system menu and, if set, a minimise box
    int owner = -1;  // a window that owns this one: it stays above it and has no taskbar entry
};

struct Rect {
    int x = 0, y = 0, width = 0, height = 0;
};

// --- images ---------------------------------------------------------------------------------
// Registers BMP file bytes (file header included) under an image number. False when the data
// cannot be decoded. The bytes must stay valid until the process ends.
bool RegisterImage(int image, const std::uint8_t* bmp, std::size_t size);

// --- windows --------------------------------------------------------------------------------
bool OpenWindow(const WindowSpec& spec);  // also makes it the current window
void CloseWindow(int window);
void UseWindow(int window);  // new gadgets and window-less calls go here
int CurrentWindow();
void SetWindowTitle(int window, std::string_view title);
Rect WindowOuterRect(int window);  // desktop coordinates, frame included
// Sets the client area, whatever caption and frame the system draws; keeps the position.
void ResizeWindowInner(int window, int innerWidth, int innerHeight);
void SetWindowTopmost(int window, bool topmost);  // without moving, sizing or activating
void SetWindowEnabled(int window, bool enabled);
void ShowWindowNow(int window);
// Restores the window if minimised and asks the desktop to bring it to the front and give it
// the focus (a desktop may only flash its taskbar entry instead).
void RaiseWindow(int window);
void SetWindowOpacity(int window, int alpha);  // 0..255, 255 opaque
// Called from inside event processing when the window is minimised (true) or restored (false).
void SetSizeCallback(int window, std::function<void(bool minimised)> callback);
// Called once, from inside event processing, when the system session ends (log off, shut
// down) and the process may be ended as soon as the call returns: the last moment to save.
// Windows only; elsewhere a termination signal asks the first window to close instead.
void SetSessionEndCallback(std::function<void()> callback);
// Mouse position relative to the window, from which the program subtracts the frame and caption
// metrics (SystemMetric 33 and 4) to get client pixels: on Windows the client point plus those
// metrics, elsewhere the client point (the metrics there are 0).
int WindowMouseX(int window);
int WindowMouseY(int window);
// Return and Escape in this window act like a click on this button.
void SetEnterEscapeButton(int window, int gadget);

// --- keyboard ------------------------------------------------------------------------------
// Called from inside event processing for a key pressed in the window without Ctrl or Alt,
// wherever the focus is: a letter as 'a'..'z', or '+' or '-' from the main keys or the keypad.
// Returns true when it took the key, which then goes no further.
void SetKeyCallback(int window, std::function<bool(char key)> callback);
// The order in which Tab (forwards) and Shift+Tab (backwards) walk the window's gadgets; a
// hidden or disabled gadget is passed over. Gadgets not named here take no keyboard focus.
void SetTabOrder(int window, std::vector<int> gadgets);

// --- events ---------------------------------------------------------------------------------
Event PollEvent();  // never waits; type EventNone when nothing is pending
// Waits for the next event: the modal wait of the About window, which runs the modal pass
// (below) whenever it is due.
Event WaitEvent();
// Waits until an event is pending, a watched descriptor has been served or the time
// (milliseconds; negative: no limit) has passed, whichever comes first, and takes nothing from
// the queue: the next PollEvent gives the event.
void WaitForEvent(int milliseconds);
// Queues an event as if the window system had delivered it (a control's notification, a close
// request), behind those already waiting. Changes nothing else: a toggle's state is the
// caller's to set first, as a click would.
void PostEvent(const Event& event);

// POSIX descriptors that the waits above watch too: whenever fd is readable, ready runs on
// the main thread from inside event processing, and a WaitForEvent in progress returns.
// Watching a descriptor again replaces its callback. False where the backend cannot watch
// descriptors (Windows, where such sources post window messages instead).
bool WatchInput(int fd, std::function<void()> ready);
void UnwatchInput(int fd);

// --- modal windows --------------------------------------------------------------------------
// The program's own work that goes on while a modal window (a message window, the About window)
// waits for the user: pass runs from inside that window's wait and returns how long until it
// is due again (milliseconds; negative: only when something arrives). Empty: nothing to run.
void SetModalPass(std::function<int()> pass);
// For the modal waits of the backends and the About window: runs the pass when it is due (never
// inside itself) and returns the milliseconds until it is due next, -1 for no limit.
int RunModalPass();
// True while a modal window waits for the user: what would queue a click on the main window
// then has to act at once instead, since no pass takes events until the window closes.
bool InModalWait();
// Marks a modal wait for as long as it lives; waits may nest.
class ModalWait {
  public:
    ModalWait();
    ~ModalWait();
    ModalWait(const ModalWait&) = delete;
    ModalWait& operator=(const ModalWait&) = delete;
};

// --- the desktop ----------------------------------------------------------------------------
// Why no window can be shown, as English words for a line on standard error (for example "no
// DISPLAY or WAYLAND_DISPLAY is set"); "" when there is a desktop. Asked first, before any other
// function here.
std::string DesktopProblem();

// --- dropped files and folders --------------------------------------------------------------
// Makes a drop onto `window` a click on `gadget`: the backend queues that gadget's EventGadget,
// and TakeDroppedPath tells its handler what was dropped. A drop is refused, as a click would
// be, while the gadget is disabled or hidden or the window takes no input, and also while
// events wait in the queue, so the click is the next event taken and no drop is handled twice.
// One target for the program; a gadget of -1 refuses every drop.
void SetDropTarget(int window, int gadget);
// The first item of the drop whose click was queued last, as a UTF-8 path (a dropped URI is
// decoded); "" when there is none. Taking it forgets it, so a later click by the mouse gets "".
std::string TakeDroppedPath();

// --- gadgets --------------------------------------------------------------------------------
// Creates a gadget in the current window. A number given a second time moves to the new
// gadget; the old one stays on screen but can no longer be addressed.
bool CreateGadget(const GadgetSpec& spec);
void SetGadgetText(int gadget, std::string_view text);
std::string GetGadgetText(int gadget);  // drop-down: the selected item's text
// Toggle, check box, option: 0 or 1. Slider: value. Drop-down: selected index, -1 for none.
void SetGadgetState(int gadget, int state);
int GetGadgetState(int gadget);
void AddGadgetItem(int gadget, std::string_view text);  // drop-down, appended as shown
void ClearGadgetItems(int gadget);
void SetGadgetEnabled(int gadget, bool enabled);
bool IsGadgetEnabled(int gadget);
void SetGadgetVisible(int gadget, bool visible);
bool IsGadgetVisible(int gadget);
void ResizeGadget(int gadget, int x, int y, int width, int height);
Rect GadgetRect(int gadget);
void SetGadgetTooltip(int gadget, std::string_view text);

// --- dialogs, cursor, screen ----------------------------------------------------------------
enum class MessageIcon { None, Error };
void ShowMessage(std::string_view title, std::string_view text, MessageIcon icon);  // OK only
// The folder chosen, ending in the path separator; "" when the user cancels.
std::string RequestFolder(std::string_view prompt, std::string_view startFolder);
void SetWaitCursor(bool wait);
int ScreenWidth();  // primary screen, pixels
int ScreenHeight();
Rect DesktopArea();           // bounding box of all monitors
int SystemMetric(int index);  // 4 = caption height, 33 = frame size; 0 where not known

}  // namespace gui
