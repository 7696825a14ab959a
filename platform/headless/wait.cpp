// Waiting in the headless gui: real waits, cut short by watched descriptors (poll) and by the
// limit a test or the driver sets, and events posted as if the window system had sent them.
#ifndef _WIN32
#include <poll.h>
#endif

#include <vector>

#include "platform/gui.h"
#include "platform/headless/headless.h"
#include "platform/headless/state.h"
#include "platform/system.h"

namespace gui {

using headless::detail::state;

namespace {

// Serves the descriptors that are readable after waiting up to timeout milliseconds (negative:
// no limit). Returns at once when nothing is watched and there is no limit.
void PollWatched(int timeout) {
    auto& watched = state().watched;
    if (watched.empty()) {
        if (timeout > 0) sys::SleepMs(timeout);
        return;
    }
#ifndef _WIN32
    std::vector<pollfd> fds;
    for (const auto& entry : watched) fds.push_back({entry.first, POLLIN, 0});
    if (poll(fds.data(), fds.size(), timeout) <= 0) return;
    for (const pollfd& fd : fds) {
        if ((fd.revents & (POLLIN | POLLHUP | POLLERR)) == 0) continue;
        // A callback may unwatch descriptors, its own included.
        auto found = watched.find(fd.fd);
        if (found == watched.end()) continue;
        auto ready = found->second;
        ready();
    }
#endif
}

}  // namespace

void WaitForEvent(int milliseconds) {
    auto& s = state();
    s.lastWait = milliseconds;
    if (!s.queue.empty()) return;
    int timeout = milliseconds;
    if (s.waitLimit >= 0 && (timeout < 0 || timeout > s.waitLimit)) timeout = s.waitLimit;
    if (timeout < 0 && s.watched.empty()) return;
    PollWatched(timeout);
}

void PostEvent(const Event& event) {
    state().queue.push_back({event, nullptr});
}

bool WatchInput(int fd, std::function<void()> ready) {
#ifdef _WIN32
    (void)fd;
    (void)ready;
    return false;  // Windows sources post messages instead
#else
    if (fd < 0 || !ready) return false;
    state().watched[fd] = std::move(ready);
    return true;
#endif
}

void UnwatchInput(int fd) {
    state().watched.erase(fd);
}

namespace headless {

void SetWaitLimit(int milliseconds) {
    state().waitLimit = milliseconds;
}

int LastWaitRequest() {
    return state().lastWait;
}

}  // namespace headless
}  // namespace gui
