// Runs the test driver on a script and reads back what it printed.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace driver_test {

// One line of the driver's `dump`: the columns by name.
struct Gadget {
    std::string kind, text;
    int state = 0;
    bool enabled = false, visible = false;
    int x = 0, y = 0, width = 0, height = 0;
    std::string items;
};

struct Output {
    std::vector<std::string> lines;  // everything printed, in order
    int exitCode = -1;
};

// Runs the driver with --program-dir programDir (and extra options) on script.
Output RunDriver(const std::string& programDir, const std::string& script,
                 const std::string& options = "");

// The gadgets of the last `dump` block in the output (the last line for a number wins).
std::map<int, Gadget> LastDump(const Output& output);

// The lines between the start of the output and the end that begin with prefix.
std::vector<std::string> LinesStartingWith(const Output& output, const std::string& prefix);

}  // namespace driver_test
