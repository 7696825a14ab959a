// The in-memory media-control backend as tests and the driver see it: requests injected as a
// desktop would send them, and the state the program last handed over. Main thread only.
#pragma once

#include <cstdint>

#include "platform/media.h"

namespace media::headless {

// Forgets the program's connection and the last state; the desktop is there again.
void Reset();
// No desktop to connect to: the next Start fails.
void SetAvailable(bool available);
bool Started();

// A request from the desktop, handed to the program at once; false when it is not connected.
bool Inject(const Request& request);

const State& LastState();
std::int64_t LastPosition();  // milliseconds
int Changes();                // how many published states differed from the one before

}  // namespace media::headless
