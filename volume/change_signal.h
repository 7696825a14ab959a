// A descriptor that is readable while a change waits to be taken: how a mixer backend tells
// the main loop's wait that the volume or mute changed elsewhere. Linux: an eventfd; elsewhere
// there is none (Windows mixers post window messages instead).
#pragma once

#ifdef __linux__
#include <sys/eventfd.h>
#include <unistd.h>
#endif

#include <cstdint>

namespace mixer_change {

class Signal {
  public:
#ifdef __linux__
    Signal() : fd_(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}
    ~Signal() {
        if (fd_ >= 0) close(fd_);
    }
    // Any thread, also while the main thread waits.
    void Notify() {
        const std::uint64_t one = 1;
        if (fd_ < 0) return;
        [[maybe_unused]] const auto written = write(fd_, &one, sizeof(one));
    }
    // Main thread: the change has been taken; the descriptor is quiet until the next one.
    void Take() {
        std::uint64_t count = 0;
        if (fd_ < 0) return;
        [[maybe_unused]] const auto got = read(fd_, &count, sizeof(count));
    }
#else
    Signal() = default;
    void Notify() {}
    void Take() {}
#endif
    Signal(const Signal&) = delete;
    Signal& operator=(const Signal&) = delete;
    int Descriptor() const {
        return fd_;
    }  // -1 when there is none

  private:
    int fd_ = -1;
};

}  // namespace mixer_change
