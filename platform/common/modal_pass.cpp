// The program's work that runs inside modal waits, shared by every gui backend: when it is due,
// never nested, and whether a modal window is open at all.
#include <algorithm>
#include <chrono>
#include <functional>
#include <utility>

#include "platform/common/modal_pass.h"
#include "platform/gui.h"

namespace gui {
namespace {

using Clock = std::chrono::steady_clock;

struct ModalState {
    std::function<int()> pass;
    Clock::time_point due{};  // the pass runs at the first wait from then on
    bool running = false;     // the pass itself opened a modal window
    int waits = 0;            // modal waits in progress
};

ModalState& Modal() {
    static ModalState state;
    return state;
}

}  // namespace

void SetModalPass(std::function<int()> pass) {
    Modal() = ModalState{std::move(pass), {}, false, Modal().waits};
}

int RunModalPass() {
    ModalState& state = Modal();
    if (!state.pass || state.running) return -1;
    const Clock::time_point now = Clock::now();
    if (now < state.due) {
        return static_cast<int>(
            std::chrono::ceil<std::chrono::milliseconds>(state.due - now).count());
    }
    state.running = true;
    const int wait = state.pass();
    state.running = false;
    // Negative: due again at whatever ends the backend's wait.
    state.due = Clock::now() + std::chrono::milliseconds(std::max(wait, 0));
    return wait;
}

bool InModalWait() {
    return Modal().waits > 0;
}

namespace common {

void MakeModalPassDue() {
    Modal().due = {};
}

}  // namespace common

ModalWait::ModalWait() {
    ModalState& state = Modal();
    ++state.waits;
    state.due = {};  // the first pass runs at once
}

ModalWait::~ModalWait() {
    --Modal().waits;
}

}  // namespace gui
