// The command-string grammar of the Linux multimedia device: turns a text such as
// "play MP3Stueck from 1 notify" into a Command, or into the error number the device returns.
// Pure functions, no state: safe on any thread.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace mci::posix {

enum class Verb { Open, Close, Set, Seek, Status, Play, Pause, Resume, Stop };
enum class SeekTarget { Start, End, Position };
enum class StatusItem { Position, Length, Mode, Ready };

struct Command {
    Verb verb = Verb::Stop;
    // open: the element (file path) as written, quotes removed; else the alias or "all".
    std::string device;
    std::string alias;  // open only; empty when no alias was given
    bool wait = false;
    bool notify = false;

    SeekTarget seekTarget = SeekTarget::Start;  // seek
    std::uint32_t seekMs = 0;                   // seek to <ms>

    StatusItem statusItem = StatusItem::Position;  // status

    bool hasFrom = false;  // play
    bool hasTo = false;
    std::uint32_t fromMs = 0;
    std::uint32_t toMs = 0;
};

struct ParseResult {
    std::uint32_t error = 0;  // 0 or an MCIERR_* number; command is valid only when 0
    Command command;
};

ParseResult ParseCommand(std::string_view text);

// ASCII case-insensitive comparison, as device names and keywords are compared.
bool SameWord(std::string_view a, std::string_view b);

}  // namespace mci::posix
