// User actions injected into the headless backend, turned into the state changes and events a
// real toolkit gives, plus reset, inspection and the simulated screen.
#include <algorithm>

#include "platform/headless/headless.h"
#include "platform/headless/state.h"
#include "platform/system.h"

namespace gui::headless {

using detail::gadget;
using detail::state;
using detail::window;

namespace {

bool windowTakesInput(const WindowRecord* w) {
    return w && w->enabled && w->visible && !w->minimised;
}

// A gadget the user can operate: addressable, shown, enabled, in a window that takes input.
GadgetRecord* usable(int number) {
    auto* g = gadget(number);
    if (!g || !g->visible || !g->enabled || !windowTakesInput(window(g->window))) return nullptr;
    return g;
}

bool givesClickEvent(GadgetKind kind) {
    switch (kind) {
        case GadgetKind::Button:
        case GadgetKind::DefaultButton:
        case GadgetKind::Toggle:
        case GadgetKind::ImageButton:
        case GadgetKind::CheckBox:
        case GadgetKind::Option:
            return true;
        default:
            return false;
    }
}

void queueEvent(int type, int windowNumber, int gadgetNumber = -1) {
    state().queue.push_back({Event{type, windowNumber, gadgetNumber}, {}});
}

void queueGadgetEvent(const GadgetRecord& g) {
    queueEvent(EventGadget, g.window, g.spec.number);
}

// Mouse down or up: updates the position, and gives `type` unless a gadget takes the click.
bool mouseButton(int windowNumber, int x, int y, int type) {
    auto* w = window(windowNumber);
    if (!windowTakesInput(w)) return false;
    w->mouseX = x;
    w->mouseY = y;
    // The program's message loop sees every press and release in the window, over a control
    // too: that is how a press on the volume knob starts dragging it.
    queueEvent(type, windowNumber);
    return true;
}

bool changeSize(int windowNumber, bool minimise) {
    auto* w = window(windowNumber);
    if (!w || w->minimised == minimise || (minimise && !w->minimiseBox)) return false;
    state().queue.push_back({Event{}, [windowNumber, minimise] {
                                 auto* target = window(windowNumber);
                                 if (!target) return;
                                 target->minimised = minimise;
                                 if (target->sizeCallback) target->sizeCallback(minimise);
                             }});
    return true;
}

bool pressButtonOf(int windowNumber, int buttonNumber) {
    auto* g = usable(buttonNumber);
    if (!g || g->window != windowNumber || !givesClickEvent(g->spec.kind)) return false;
    return Click(buttonNumber);
}

}  // namespace

void Reset() {
    state() = detail::State{};
    // The work a program left for modal waits may refer to what it has destroyed since (a test
    // that started the program and ended without shutting it down).
    SetModalPass(nullptr);
}

const WindowRecord* FindWindow(int number) {
    return window(number);
}
const GadgetRecord* FindGadget(int number) {
    return gadget(number);
}

std::vector<const GadgetRecord*> WindowGadgets(int windowNumber) {
    std::vector<const GadgetRecord*> result;
    for (const auto& g : state().gadgets) {
        if (g->window == windowNumber) result.push_back(g.get());
    }
    return result;
}

const std::vector<MessageRecord>& Messages() {
    return state().messages;
}
const std::vector<FolderRequest>& FolderRequests() {
    return state().folderRequests;
}
bool WaitCursorOn() {
    return state().waitCursor;
}
int PendingEvents() {
    return static_cast<int>(state().queue.size());
}

void SetScreenSize(int width, int height) {
    auto& s = state();
    s.screenWidth = width;
    s.screenHeight = height;
    s.desktop = {0, 0, width, height};
}

void SetDesktopArea(Rect area) {
    state().desktop = area;
}
void FailNextOpenWindow() {
    state().failNextOpen = true;
}

bool Click(int number) {
    auto* g = usable(number);
    if (!g || !givesClickEvent(g->spec.kind)) return false;
    if (g->spec.kind == GadgetKind::Toggle || g->spec.kind == GadgetKind::CheckBox) {
        g->state = g->state != 0 ? 0 : 1;
    } else if (g->spec.kind == GadgetKind::Option) {
        SetGadgetState(number, 1);
    }
    queueGadgetEvent(*g);
    return true;
}

bool SelectItem(int dropDown, int index) {
    auto* g = usable(dropDown);
    if (!g || g->spec.kind != GadgetKind::DropDown || index < 0 ||
        index >= static_cast<int>(g->items.size())) {
        return false;
    }
    g->state = index;
    queueGadgetEvent(*g);
    return true;
}

bool Slide(int slider, int value) {
    auto* g = usable(slider);
    if (!g || g->spec.kind != GadgetKind::Slider) return false;
    SetGadgetState(slider, value);
    queueGadgetEvent(*g);
    return true;
}

bool MouseDown(int w, int x, int y) {
    return mouseButton(w, x, y, EventLeftButtonDown);
}
bool MouseUp(int w, int x, int y) {
    return mouseButton(w, x, y, EventLeftButtonUp);
}

bool Wheel(int windowNumber, int x, int y, int notches) {
    auto* w = window(windowNumber);
    if (!windowTakesInput(w) || notches == 0) return false;
    w->mouseX = x;
    w->mouseY = y;
    Event event{EventMouseWheel, windowNumber, -1};
    event.wheel = notches;
    state().queue.push_back({event, {}});
    return true;
}

bool MouseMove(int windowNumber, int x, int y) {
    auto* w = window(windowNumber);
    if (!windowTakesInput(w)) return false;
    w->mouseX = x;
    w->mouseY = y;
    return true;
}

bool Minimise(int w) {
    return changeSize(w, true);
}
bool Restore(int w) {
    return changeSize(w, false);
}

bool Close(int windowNumber) {
    auto* w = window(windowNumber);
    if (!w || !w->enabled || !w->visible) return false;
    queueEvent(EventCloseWindow, windowNumber);
    return true;
}

bool EndSession() {
    auto callback = std::move(state().sessionEnd);
    state().sessionEnd = nullptr;
    if (!callback) return false;
    callback();
    return true;
}

bool PressReturn(int windowNumber) {
    auto* w = window(windowNumber);
    if (!windowTakesInput(w)) return false;
    if (w->enterEscapeButton >= 0) return pressButtonOf(windowNumber, w->enterEscapeButton);
    // The newest default button of the window.
    const auto gadgets = WindowGadgets(windowNumber);
    for (auto it = gadgets.rbegin(); it != gadgets.rend(); ++it) {
        if ((*it)->addressable && (*it)->spec.kind == GadgetKind::DefaultButton) {
            return pressButtonOf(windowNumber, (*it)->spec.number);
        }
    }
    return false;
}

bool PressEscape(int windowNumber) {
    auto* w = window(windowNumber);
    if (!windowTakesInput(w) || w->enterEscapeButton < 0) return false;
    return pressButtonOf(windowNumber, w->enterEscapeButton);
}

bool PressKey(int windowNumber, char key) {
    auto* w = window(windowNumber);
    return windowTakesInput(w) && w->keyCallback && w->keyCallback(key);
}

void AnswerFolder(std::string folder) {
    if (folder.empty() || folder.back() != sys::PathSeparator) folder += sys::PathSeparator;
    state().folderAnswers.push_back(std::move(folder));
}

void AnswerCancel() {
    state().folderAnswers.emplace_back();
}

void SetWaitHook(std::function<bool()> hook) {
    state().waitHook = std::move(hook);
}

}  // namespace gui::headless
