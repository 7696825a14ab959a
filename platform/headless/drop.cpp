// Drops onto a headless window: taken under the same rules as the real backends take them.
#include <string>

#include "platform/gui.h"
#include "platform/headless/headless.h"
#include "platform/headless/state.h"

namespace gui {

void SetDropTarget(int window, int gadget) {
    auto& drop = headless::detail::state().drop;
    drop.window = window;
    drop.gadget = gadget;
}

std::string TakeDroppedPath() {
    return headless::detail::state().drop.TakePath();
}

}  // namespace gui

namespace gui::headless {

bool Drop(int window, const std::string& path) {
    auto& s = detail::state();
    const WindowRecord* w = FindWindow(window);
    const GadgetRecord* target = FindGadget(s.drop.gadget);
    if (path.empty() || window != s.drop.window || !w || !w->enabled || !w->visible ||
        w->minimised || !target || target->window != window || !target->enabled ||
        !target->visible || !s.queue.empty()) {
        return false;
    }
    s.drop.path = path;
    s.queue.push_back({Event{EventGadget, window, s.drop.gadget}, {}});
    return true;
}

}  // namespace gui::headless
