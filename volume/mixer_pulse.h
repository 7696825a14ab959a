// The PulseAudio default sink as master volume (PipeWire's PulseAudio service included). One
// connection is kept for the whole run; volume and mute are cached and kept current by the
// server's change events, so the getters cost an atomic read.
#pragma once

#include <cstdint>

namespace mixer_pulse {

enum class Status {
    Ready,   // a server with a default sink answers
    Trying,  // a server was found but has not finished the handshake (it may hang)
    Absent,  // no server, or one without a default sink
};

// When not ready, a new connection is tried at most once a second; only the very first try
// waits for an answer, and never longer than 200 ms. Main thread only, like everything below.
Status Check();
bool Connected();  // Check() == Status::Ready

std::uint32_t GetVolume();  // 0..65535, the loudest channel; 0 when not connected
int GetMute();              // 1 muted, 0 not muted or not connected
// Both set every channel of the default sink and return without waiting for the server; the
// getters report the new value at once.
std::uint32_t SetVolume(std::uint32_t value);
std::uint32_t SetMute(int value);

// Readable (from the mainloop thread's side) whenever volume, mute or the connection changed;
// the same descriptor for the whole run. TakeChanges quiets it again.
int ChangeDescriptor();
void TakeChanges();

}  // namespace mixer_pulse
