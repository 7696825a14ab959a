// A scripted string-command device for the unit tests: records every command it is sent and
// answers with the replies and error numbers a test sets up. Main thread only.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace fake_mci {

struct Answer {
    std::uint32_t error = 0;
    std::string reply;
};

// Forgets the commands and the answers. Unscripted commands succeed with an empty reply.
void Reset();

// Every later command whose text equals command (exactly) gets this answer.
void SetAnswer(const std::string& command, Answer answer);

const std::vector<std::string>& Sent();

// A device model that answers before the scripted answers; nothing from it: those answer.
using Device = std::function<std::optional<Answer>(const std::string& command)>;
void SetDevice(Device device);

}  // namespace fake_mci
