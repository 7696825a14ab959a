// Runs the driver as a separate process, the way a tester at a terminal would.
#include "driver_run.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/wait.h>

#include "support/test_files.h"

namespace driver_test {

namespace {

std::vector<std::string> SplitTabs(const std::string& line) {
    std::vector<std::string> fields;
    std::stringstream in(line);
    std::string field;
    while (std::getline(in, field, '\t')) fields.push_back(field);
    return fields;
}

std::string Quoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

}  // namespace

Output RunDriver(const std::string& programDir, const std::string& script,
                 const std::string& options) {
    testing_support::TempFolder work;
    testing_support::WriteFile(work.File("script"), script);
    const std::string command = std::string(DRIVER_PATH) + " --program-dir " +
                                Quoted(programDir) + " " + options + " < " +
                                Quoted(work.File("script")) + " > " + Quoted(work.File("out"));
    Output output;
    const int status = std::system(command.c_str());
    output.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::ifstream in(work.File("out"));
    std::string line;
    while (std::getline(in, line)) output.lines.push_back(line);
    return output;
}

std::map<int, Gadget> LastDump(const Output& output) {
    std::map<int, Gadget> gadgets;
    for (const std::string& line : output.lines) {
        const std::vector<std::string> f = SplitTabs(line);
        if (f.size() < 10 || f[0].empty() || f[0].find_first_not_of("0123456789") !=
                                                 std::string::npos) {
            continue;
        }
        Gadget g;
        g.kind = f[1];
        g.text = f[2];
        g.state = std::atoi(f[3].c_str());
        g.enabled = f[4] == "1";
        g.visible = f[5] == "1";
        g.x = std::atoi(f[6].c_str());
        g.y = std::atoi(f[7].c_str());
        g.width = std::atoi(f[8].c_str());
        g.height = std::atoi(f[9].c_str());
        g.items = f.size() > 10 ? f[10] : "";
        gadgets[std::atoi(f[0].c_str())] = g;
    }
    return gadgets;
}

std::vector<std::string> LinesStartingWith(const Output& output, const std::string& prefix) {
    std::vector<std::string> found;
    for (const std::string& line : output.lines) {
        if (line.rfind(prefix, 0) == 0) found.push_back(line);
    }
    return found;
}

}  // namespace driver_test
