// Private to the MPRIS backend (mpris*.cpp): the bus connection and what it was last
// told, the song's metadata and the change announcements. Main thread only.
#pragma once

#include <systemd/sd-bus.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/media.h"

namespace media::mpris {

// The well-known name: held by the first program on the bus, which later ones hand over to.
inline constexpr const char* BusName = "org.mpris.MediaPlayer2.mp3klingtal";
inline constexpr const char* ObjectPath = "/org/mpris/MediaPlayer2";
inline constexpr const char* RootInterface = "org.mpris.MediaPlayer2";
inline constexpr const char* PlayerInterface = "org.mpris.MediaPlayer2.Player";

struct BusCloser {
    void operator()(sd_bus* bus) const { sd_bus_flush_close_unref(bus); }
};
struct SlotCloser {
    void operator()(sd_bus_slot* slot) const { sd_bus_slot_unref(slot); }
};
using Bus = std::unique_ptr<sd_bus, BusCloser>;
using Slot = std::unique_ptr<sd_bus_slot, SlotCloser>;

struct Link {
    // Declared before the slots, so that the slots are released first.
    Bus bus;
    Slot rootSlot, playerSlot;
    std::function<void(const Request&)> onRequest;
    std::vector<std::string> opened;  // asked for with OpenUri, handed on after the bus's turn
    State state;
    bool published = false;
    std::int64_t positionMs = 0;  // the position handed over last, milliseconds
    std::chrono::steady_clock::time_point positionAt{};  // when it was handed over
};

Link& TheLink();

// The connection on which instance::HandToRunning took BusName before the window opened, for
// Start to serve on; empty when it did not take it.
Bus& ClaimedBus();

// The position now: while playing, the one handed over moved on by the time since, up to the
// song's length. Milliseconds.
std::int64_t PositionNow(const Link& link);

// The object path that names the current song: one per list entry, and the interface's own
// "no track" path with an empty list.
std::string TrackId(const State& state);

// Metadata as the a{sv} dictionary the interface describes. Returns sd-bus's result.
int AppendMetadata(sd_bus_message* reply, const State& state);

// PropertiesChanged for every property that differs from before, and Seeked when the
// position jumped; then flushed to the bus.
void Announce(Link& link, const State& before);

}  // namespace media::mpris
