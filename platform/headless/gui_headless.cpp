// The headless backend of gui.h: windows and gadgets kept in memory, events from a queue that
// the injected user actions (actions.cpp) fill.
#include <algorithm>

#include "platform/common/modal_pass.h"
#include "platform/gui.h"
#include "platform/headless/state.h"

namespace gui::headless::detail {

State& state() {
    static State s;
    return s;
}

WindowRecord* window(int number) {
    auto& windows = state().windows;
    auto it = windows.find(number);
    return it == windows.end() ? nullptr : &it->second;
}

GadgetRecord* gadget(int number) {
    // Newest first: a number given twice belongs to the newer gadget.
    auto& gadgets = state().gadgets;
    for (auto it = gadgets.rbegin(); it != gadgets.rend(); ++it) {
        if ((*it)->spec.number == number && (*it)->addressable) return it->get();
    }
    return nullptr;
}

std::string shownText(const GadgetRecord& g) {
    if (g.spec.kind != GadgetKind::DropDown) return g.text;
    const bool selected = g.state >= 0 && g.state < static_cast<int>(g.items.size());
    return selected ? g.items[static_cast<std::size_t>(g.state)] : std::string();
}

}  // namespace gui::headless::detail

namespace gui {

using headless::FrameHeight;
using headless::FrameWidth;
using headless::GadgetRecord;
using headless::WindowRecord;
using headless::detail::gadget;
using headless::detail::state;
using headless::detail::window;

bool RegisterImage(int image, const std::uint8_t* bmp, std::size_t size) {
    // Only the file signature is checked here; decoding is the real backends' business.
    return image >= 0 && bmp != nullptr && size >= 54 && bmp[0] == 'B' && bmp[1] == 'M';
}

// --- windows --------------------------------------------------------------------------------

bool OpenWindow(const WindowSpec& spec) {
    auto& s = state();
    if (s.failNextOpen) {
        s.failNextOpen = false;
        return false;
    }
    CloseWindow(spec.number);
    WindowRecord w;
    w.number = spec.number;
    w.title = spec.title;
    w.innerWidth = std::max(0, spec.innerWidth);
    w.innerHeight = std::max(0, spec.innerHeight);
    w.minimiseBox = spec.minimiseBox;
    w.owner = spec.owner;
    w.outer = {spec.x, spec.y, w.innerWidth + FrameWidth, w.innerHeight + FrameHeight};
    if (spec.screenCentred) {
        w.outer.x = (s.screenWidth - w.outer.width) / 2;
        w.outer.y = (s.screenHeight - w.outer.height) / 2;
    }
    s.windows[spec.number] = std::move(w);
    s.currentWindow = spec.number;
    return true;
}

void CloseWindow(int number) {
    auto& s = state();
    if (s.windows.erase(number) == 0) return;
    std::erase_if(s.gadgets, [number](const auto& g) { return g->window == number; });
    std::erase_if(s.queue, [number](const auto& p) { return p.event.window == number; });
    if (s.currentWindow == number) s.currentWindow = -1;
}

void UseWindow(int number) {
    if (window(number)) state().currentWindow = number;
}

int CurrentWindow() {
    return state().currentWindow;
}

void SetWindowTitle(int number, std::string_view title) {
    if (auto* w = window(number)) w->title = title;
}

std::string headless::GetWindowTitle(int number) {
    auto* w = window(number);
    return w ? w->title : std::string();
}

Rect WindowOuterRect(int number) {
    auto* w = window(number);
    return w ? w->outer : Rect{};
}

void headless::ResizeWindowOuter(int number, int outerWidth, int outerHeight) {
    auto* w = window(number);
    if (!w) return;
    w->outer.width = std::max(FrameWidth, outerWidth);
    w->outer.height = std::max(FrameHeight, outerHeight);
    w->innerWidth = w->outer.width - FrameWidth;
    w->innerHeight = w->outer.height - FrameHeight;
}

void ResizeWindowInner(int number, int innerWidth, int innerHeight) {
    headless::ResizeWindowOuter(number, std::max(0, innerWidth) + FrameWidth,
                                std::max(0, innerHeight) + FrameHeight);
}

void SetKeyCallback(int number, std::function<bool(char key)> callback) {
    if (auto* w = window(number)) w->keyCallback = std::move(callback);
}

void SetTabOrder(int number, std::vector<int> gadgets) {
    if (auto* w = window(number)) w->tabOrder = std::move(gadgets);
}

void SetWindowTopmost(int number, bool topmost) {
    if (auto* w = window(number)) w->topmost = topmost;
}

void SetWindowEnabled(int number, bool enabled) {
    if (auto* w = window(number)) w->enabled = enabled;
}

void ShowWindowNow(int number) {
    if (auto* w = window(number)) w->visible = true;
}

void RaiseWindow(int number) {
    if (auto* w = window(number)) {
        w->visible = true;
        w->minimised = false;
        ++w->raised;
    }
}

void SetWindowOpacity(int number, int alpha) {
    if (auto* w = window(number)) w->opacity = std::clamp(alpha, 0, 255);
}

void SetSizeCallback(int number, std::function<void(bool minimised)> callback) {
    if (auto* w = window(number)) w->sizeCallback = std::move(callback);
}

void SetSessionEndCallback(std::function<void()> callback) {
    state().sessionEnd = std::move(callback);
}

int WindowMouseX(int number) {
    auto* w = window(number);
    return w ? w->mouseX : 0;
}

int WindowMouseY(int number) {
    auto* w = window(number);
    return w ? w->mouseY : 0;
}

void SetEnterEscapeButton(int number, int gadgetNumber) {
    if (auto* w = window(number)) w->enterEscapeButton = gadgetNumber;
}

// --- events ---------------------------------------------------------------------------------

Event PollEvent() {
    auto& queue = state().queue;
    while (!queue.empty()) {
        auto pending = std::move(queue.front());
        queue.pop_front();
        if (pending.work) {
            pending.work();
            continue;
        }
        return pending.event;
    }
    return Event{};
}

Event WaitEvent() {
    // A hook that keeps answering true without queuing anything would hang a test; after this
    // many calls the wait gives up as if the hook had said false.
    constexpr int maxIdleCalls = 100000;
    for (int idle = 0;; ++idle) {
        Event event = PollEvent();
        if (event.type != EventNone) return event;
        // The program's own work, as often as it asks; a test that skips waits (limit 0) has it
        // run at every step, each step standing for a wait that ended.
        if (state().waitLimit == 0) common::MakeModalPassDue();
        RunModalPass();
        auto& hook = state().waitHook;
        if (!hook || idle >= maxIdleCalls || !hook()) break;
    }
    return Event{EventCloseWindow, state().currentWindow, -1};
}

// --- gadgets --------------------------------------------------------------------------------

bool CreateGadget(const GadgetSpec& spec) {
    auto& s = state();
    if (!window(s.currentWindow)) return false;
    if (auto* old = gadget(spec.number)) old->addressable = false;
    auto g = std::make_unique<GadgetRecord>();
    g->spec = spec;
    g->window = s.currentWindow;
    g->text = spec.text;
    g->rect = {spec.x, spec.y, spec.width, spec.height};
    if (spec.kind == GadgetKind::Slider) g->state = spec.minimum;
    if (spec.kind == GadgetKind::DropDown) g->state = -1;
    s.gadgets.push_back(std::move(g));
    return true;
}

void SetGadgetText(int number, std::string_view text) {
    if (auto* g = gadget(number)) g->text = text;
}

std::string GetGadgetText(int number) {
    auto* g = gadget(number);
    return g ? headless::detail::shownText(*g) : std::string();
}

namespace {

// Options from the group's first (the nearest startsGroup option at or before `option`) up to
// the next startsGroup option, in the option's window.
std::vector<GadgetRecord*> optionGroup(const GadgetRecord& option) {
    std::vector<GadgetRecord*> group;
    bool found = false;
    for (const auto& g : state().gadgets) {
        if (g->window != option.window || g->spec.kind != GadgetKind::Option) continue;
        if (g->spec.startsGroup && !group.empty()) {
            if (found) break;
            group.clear();
        }
        group.push_back(g.get());
        if (g.get() == &option) found = true;
    }
    return group;
}

}  // namespace

void SetGadgetState(int number, int value) {
    auto* g = gadget(number);
    if (!g) return;
    switch (g->spec.kind) {
        case GadgetKind::Toggle:
        case GadgetKind::CheckBox:
            g->state = value != 0 ? 1 : 0;
            break;
        case GadgetKind::Option:
            // One selected option per group, however the selection was made.
            if (value != 0) {
                for (auto* other : optionGroup(*g)) other->state = 0;
            }
            g->state = value != 0 ? 1 : 0;
            break;
        case GadgetKind::Slider:
            g->state =
                std::clamp(value, g->spec.minimum, std::max(g->spec.minimum, g->spec.maximum));
            break;
        case GadgetKind::DropDown:
            g->state = value >= 0 && value < static_cast<int>(g->items.size()) ? value : -1;
            break;
        default:
            break;
    }
}

int GetGadgetState(int number) {
    auto* g = gadget(number);
    return g ? g->state : 0;
}

void AddGadgetItem(int number, std::string_view text) {
    auto* g = gadget(number);
    if (g && g->spec.kind == GadgetKind::DropDown) g->items.emplace_back(text);
}

void ClearGadgetItems(int number) {
    auto* g = gadget(number);
    if (g && g->spec.kind == GadgetKind::DropDown) {
        g->items.clear();
        g->state = -1;
    }
}

int headless::CountGadgetItems(int number) {
    auto* g = gadget(number);
    return g ? static_cast<int>(g->items.size()) : 0;
}

std::string headless::GetGadgetItemText(int number, int index) {
    auto* g = gadget(number);
    if (!g || index < 0 || index >= static_cast<int>(g->items.size())) return {};
    return g->items[static_cast<std::size_t>(index)];
}

void SetGadgetEnabled(int number, bool enabled) {
    if (auto* g = gadget(number)) g->enabled = enabled;
}

bool IsGadgetEnabled(int number) {
    auto* g = gadget(number);
    return g && g->enabled;
}

void SetGadgetVisible(int number, bool visible) {
    if (auto* g = gadget(number)) g->visible = visible;
}

bool IsGadgetVisible(int number) {
    auto* g = gadget(number);
    return g && g->visible;
}

void ResizeGadget(int number, int x, int y, int width, int height) {
    if (auto* g = gadget(number)) g->rect = {x, y, width, height};
}

Rect GadgetRect(int number) {
    auto* g = gadget(number);
    return g ? g->rect : Rect{};
}

void SetGadgetTooltip(int number, std::string_view text) {
    if (auto* g = gadget(number)) g->tooltip = text;
}

// --- dialogs, cursor, screen ----------------------------------------------------------------

void ShowMessage(std::string_view title, std::string_view text, MessageIcon icon) {
    state().messages.push_back({std::string(title), std::string(text), icon});
}

std::string RequestFolder(std::string_view prompt, std::string_view startFolder) {
    auto& s = state();
    s.folderRequests.push_back({std::string(prompt), std::string(startFolder)});
    if (s.folderAnswers.empty()) return {};
    std::string answer = std::move(s.folderAnswers.front());
    s.folderAnswers.pop_front();
    return answer;
}

void SetWaitCursor(bool wait) {
    state().waitCursor = wait;
}

int ScreenWidth() {
    return state().screenWidth;
}
int ScreenHeight() {
    return state().screenHeight;
}
Rect DesktopArea() {
    return state().desktop;
}
int SystemMetric(int) {
    return 0;
}

}  // namespace gui
