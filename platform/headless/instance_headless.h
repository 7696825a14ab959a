// The in-memory hand-over to a running program, as tests see it. Main thread only.
#pragma once

#include <string>
#include <vector>

namespace instance::headless {

// No other program runs, nothing was handed over.
void Reset();
// Another program runs and takes what it is handed.
void SetRunning(bool running);
// Every path handed over so far, in order.
const std::vector<std::string>& Handed();

}  // namespace instance::headless
