// A running program that exists only when a test says so, and keeps what it was handed.
#include "platform/headless/instance_headless.h"

#include "platform/instance.h"

namespace instance {
namespace {

struct Others {
    bool running = false;
    std::vector<std::string> handed;
};

Others& TheOthers() {
    static Others others;
    return others;
}

}  // namespace

bool HandToRunning(const std::string& path) {
    Others& others = TheOthers();
    if (!others.running) return false;
    others.handed.push_back(path);
    return true;
}

namespace headless {

void Reset() {
    TheOthers() = Others{};
}

void SetRunning(bool running) {
    TheOthers().running = running;
}

const std::vector<std::string>& Handed() {
    return TheOthers().handed;
}

}  // namespace headless
}  // namespace instance
