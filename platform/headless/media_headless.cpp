// The media-control backend in memory: a desktop that is always there (unless a test takes it
// away), whose requests tests inject and which keeps the last state it was told.
#include "platform/headless/media_headless.h"

#include <utility>

namespace media {
namespace {

struct Desktop {
    bool available = true;
    bool started = false;
    std::function<void(const Request&)> onRequest;
    State state;
    std::int64_t position = 0;
    int changes = 0;
};

Desktop& TheDesktop() {
    static Desktop desktop;
    return desktop;
}

}  // namespace

bool Start(const Window&, std::function<void(const Request&)> onRequest) {
    Desktop& desktop = TheDesktop();
    if (!desktop.available) return false;
    desktop.started = true;
    desktop.onRequest = std::move(onRequest);
    return true;
}

void Stop() {
    TheDesktop().started = false;
    TheDesktop().onRequest = nullptr;
}

void Publish(const State& state, std::int64_t positionMs) {
    Desktop& desktop = TheDesktop();
    if (!desktop.started) return;
    desktop.position = positionMs;
    if (desktop.changes > 0 && state == desktop.state) return;
    desktop.state = state;
    ++desktop.changes;
}

int Descriptor() {
    return -1;
}

bool Process() {
    return TheDesktop().started;
}

namespace headless {

void Reset() {
    TheDesktop() = Desktop{};
}

void SetAvailable(bool available) {
    TheDesktop().available = available;
}

bool Started() {
    return TheDesktop().started;
}

bool Inject(const Request& request) {
    Desktop& desktop = TheDesktop();
    if (!desktop.started || !desktop.onRequest) return false;
    desktop.onRequest(request);
    return true;
}

const State& LastState() {
    return TheDesktop().state;
}

std::int64_t LastPosition() {
    return TheDesktop().position;
}

int Changes() {
    return TheDesktop().changes;
}

}  // namespace headless
}  // namespace media
