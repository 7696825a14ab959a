// Private state of the headless gui backend, shared by its source files.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/common/drop_target.h"
#include "platform/headless/headless.h"

namespace gui::headless::detail {

// One entry of the event queue: an event for the program, or work the toolkit does while it
// processes events (the size callback).
struct Pending {
    Event event;
    std::function<void()> work;
};

struct State {
    std::map<int, WindowRecord> windows;
    // Creation order; unique_ptr keeps records in place while the vector grows.
    std::vector<std::unique_ptr<GadgetRecord>> gadgets;
    int currentWindow = -1;
    std::deque<Pending> queue;
    std::vector<MessageRecord> messages;
    std::vector<FolderRequest> folderRequests;
    std::deque<std::string> folderAnswers;  // "" = cancel
    std::function<bool()> waitHook;
    std::function<void()> sessionEnd;
    std::map<int, std::function<void()>> watched;  // descriptor -> ready callback
    int waitLimit = -1;                            // milliseconds; negative: none
    int lastWait = 0;                              // what the last WaitForEvent asked for
    bool waitCursor = false;
    DropTarget drop;
    bool failNextOpen = false;
    int screenWidth = 1024, screenHeight = 768;
    Rect desktop{0, 0, 1024, 768};
};

State& state();
WindowRecord* window(int number);
GadgetRecord* gadget(int number);  // addressable only
// What the gadget shows as its text: a drop-down's selected item, else its caption.
std::string shownText(const GadgetRecord& g);

}  // namespace gui::headless::detail
