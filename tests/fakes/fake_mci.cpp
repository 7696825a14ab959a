// The scripted string-command device behind mci::mciSendString in the unit tests.
#include "fakes/fake_mci.h"

#include <algorithm>
#include <cstring>
#include <map>

#include "platform/mci.h"

namespace fake_mci {
namespace {

struct Script {
    std::vector<std::string> sent;
    std::map<std::string, Answer> answers;
    Device device;
};

Script& State() {
    static Script script;
    return script;
}

}  // namespace

void Reset() {
    State() = Script{};
}

void SetAnswer(const std::string& command, Answer answer) {
    State().answers[command] = std::move(answer);
}

void SetDevice(Device device) {
    State().device = std::move(device);
}

const std::vector<std::string>& Sent() {
    return State().sent;
}

}  // namespace fake_mci

void mci::SetSongTitle(const std::string&) {}

std::uint32_t mci::mciSendString(const char* command, char* reply, std::uint32_t replyLength) {
    auto& state = fake_mci::State();
    state.sent.emplace_back(command != nullptr ? command : "");
    const auto found = state.answers.find(state.sent.back());
    std::optional<fake_mci::Answer> modelled;
    if (state.device) modelled = state.device(state.sent.back());
    const fake_mci::Answer answer = modelled                       ? *modelled
                                    : found != state.answers.end() ? found->second
                                                                   : fake_mci::Answer{};
    if (reply != nullptr && replyLength > 0) {
        // Copies as much as fits, without a terminator when the reply fills the buffer, so a
        // caller that trusts the terminator shows up under the sanitizers.
        const std::size_t n = std::min<std::size_t>(answer.reply.size(), replyLength);
        std::memcpy(reply, answer.reply.data(), n);
        if (n < replyLength) reply[n] = '\0';
    }
    return answer.error;
}
