// The command line's few rules.
#include "app/command_line.h"

CommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
    CommandLine line;
    bool options = true;
    for (const std::string& argument : arguments) {
        if (options && argument == "--") {
            options = false;
        } else if (options && argument == "--help") {
            return {CommandLine::Kind::Help, ""};
        } else if (options && argument == "--version") {
            return {CommandLine::Kind::Version, ""};
        } else if (options && argument.size() > 1 && argument.front() == '-') {
            return {CommandLine::Kind::Unknown, ""};
        } else if (line.path.empty()) {
            line.path = argument;
        }
    }
    return line;
}
