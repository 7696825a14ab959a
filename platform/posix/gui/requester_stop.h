// Ends an open requester of another toolkit's loop when a termination signal arrives: FLTK's
// native folder requester runs GTK's own loop, which never hands control back to FLTK.
#pragma once

#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

namespace gui::fltk {

// While alive, a watcher thread waits for a termination signal and then closes every window
// of this process titled `title`, as the window manager's close button does (WM_DELETE_WINDOW
// over the watcher's own X connection), until the requester has closed. The requester then
// answers as after the user's cancel. Create and destroy on the main thread, after
// EnsureStarted; the destructor ends the watcher.
class CloseOnStop {
  public:
    explicit CloseOnStop(std::string title);
    ~CloseOnStop();
    CloseOnStop(const CloseOnStop&) = delete;
    CloseOnStop& operator=(const CloseOnStop&) = delete;

  private:
    void Watch();

    const std::string title_;
    const std::string displayName_;
    std::mutex mutex_;
    std::condition_variable endedChanged_;
    bool ended_ = false;
    std::thread watcher_;  // last: starts once the members above are set
};

}  // namespace gui::fltk
