// The media controls on Windows: not connected yet; the program runs as it would without a
// taskbar.
#include "platform/media.h"

namespace media {

bool Start(const Window&, std::function<void(const Request&)>) {
    return false;
}
void Stop() {}
void Publish(const State&, std::int64_t) {}
int Descriptor() {
    return -1;
}
bool Process() {
    return false;
}

}  // namespace media
