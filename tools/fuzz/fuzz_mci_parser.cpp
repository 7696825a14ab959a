// Fuzz target: any bytes as a command text must parse to a command or an error number, and a
// parsed command must keep the promises the device relies on.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/posix/mci/parser.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const mci::posix::ParseResult result = mci::posix::ParseCommand(text);
    if (result.error == 0) {
        const mci::posix::Command& command = result.command;
        // A device name is never empty, and never holds a quote that could change its meaning.
        if (command.device.empty() || command.device.find('"') != std::string_view::npos ||
            command.alias.find('"') != std::string_view::npos) {
            std::abort();
        }
    }
    return 0;
}
