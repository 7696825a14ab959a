// One program per session bus: the first takes the media controls' well-known name at start-up
// and keeps that connection for them; a later one finds the name taken and hands its folder or
// song to the owner with MPRIS2's OpenUri, or asks it to Raise, and ends.
#include "platform/instance.h"

#include <systemd/sd-bus.h>

#include <cerrno>
#include <cstdint>
#include <string>
#include <utility>

#include "platform/posix/media/mpris.h"
#include "platform/posix/media/text.h"

namespace media::mpris {

Bus& ClaimedBus() {
    static Bus bus;
    return bus;
}

}  // namespace media::mpris

namespace instance {
namespace {

using media::mpris::Bus;

// Long enough for a first program still scanning a large folder before it serves the bus.
constexpr std::uint64_t AnswerWithinUs = 20'000'000;

bool CallOwner(sd_bus* bus, const std::string& path) {
    sd_bus_error error{};  // SD_BUS_ERROR_NULL, which is a C compound literal
    sd_bus_message* reply = nullptr;
    sd_bus_set_method_call_timeout(bus, AnswerWithinUs);
    namespace mpris = media::mpris;
    const int r = path.empty()
                      ? sd_bus_call_method(bus, mpris::BusName, mpris::ObjectPath,
                                           mpris::RootInterface, "Raise", &error, &reply, "")
                      : sd_bus_call_method(bus, mpris::BusName, mpris::ObjectPath,
                                           mpris::PlayerInterface, "OpenUri", &error, &reply, "s",
                                           media::posix::FileUri(path).c_str());
    sd_bus_message_unref(reply);
    sd_bus_error_free(&error);
    return r >= 0;
}

}  // namespace

bool HandToRunning(const std::string& path) {
    sd_bus* raw = nullptr;
    if (sd_bus_open_user(&raw) < 0 || raw == nullptr) return false;  // no bus: alone anyway
    Bus bus(raw);
    // Without queueing: the name is either ours now or another program's.
    const int r = sd_bus_request_name(bus.get(), media::mpris::BusName, 0);
    if (r >= 0) {
        media::mpris::ClaimedBus() = std::move(bus);
        return false;
    }
    return r == -EEXIST && CallOwner(bus.get(), path);
}

}  // namespace instance
