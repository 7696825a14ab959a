// The Linux multimedia device: the table of open songs by alias, and mciSendString, which
// parses a command, runs it on the song it names and writes the reply text.
#include <memory>
#include <string>
#include <vector>

#include "platform/mci.h"
#include "platform/posix/mci/parser.h"
#include "platform/posix/mci/player.h"
#include "platform/posix/mci/pulse.h"

namespace mci {
namespace {

using posix::Command;
using posix::Player;
using posix::PlayMode;
using posix::StatusItem;
using posix::Verb;

struct OpenDevice {
    std::string name;  // the alias, or the element when opened without one
    std::unique_ptr<Player> player;
};

// The device's own state; mciSendString belongs to the main thread, so no lock.
std::vector<OpenDevice>& Devices() {
    static std::vector<OpenDevice> devices;
    return devices;
}

OpenDevice* Find(const std::string& name) {
    for (OpenDevice& device : Devices()) {
        if (posix::SameWord(device.name, name)) return &device;
    }
    return nullptr;
}

std::uint32_t OpenSong(const Command& command) {
    const bool aliased = !command.alias.empty();
    const std::string& name = aliased ? command.alias : command.device;
    if (Find(name) != nullptr) return aliased ? MCIERR_DUPLICATE_ALIAS : MCIERR_DEVICE_OPEN;
    std::unique_ptr<Player> player;
    if (const std::uint32_t error = Player::Open(command.device, player); error != 0) {
        return error;
    }
    Devices().push_back(OpenDevice{name, std::move(player)});
    return 0;
}

std::uint32_t CloseSong(const Command& command) {
    std::vector<OpenDevice>& devices = Devices();
    const bool all = posix::SameWord(command.device, "all");
    std::vector<std::unique_ptr<Player>> closing;
    for (auto it = devices.begin(); it != devices.end();) {
        if (all || posix::SameWord(it->name, command.device)) {
            closing.push_back(std::move(it->player));
            it = devices.erase(it);
        } else {
            ++it;
        }
    }
    if (closing.empty() && !all) return MCIERR_INVALID_DEVICE_NAME;
    // A song closed after its end sounds out what it has queued, and the next song of the same
    // format goes on in the same stream; one closed while it plays falls silent at once.
    for (std::unique_ptr<Player>& player : closing) {
        if (std::unique_ptr<posix::AudioOutput> output = player->TakeSoundingOutput()) {
            posix::LetOutputFinish(std::move(output));
        }
    }
    return 0;
}

std::uint32_t Status(Player& player, StatusItem item, std::string& reply) {
    switch (item) {
        case StatusItem::Position:
            reply = std::to_string(player.PositionMs());
            return 0;
        case StatusItem::Length: {
            std::uint32_t ms = 0;
            const std::uint32_t error = player.LengthMs(ms);
            if (error == 0) reply = std::to_string(ms);
            return error;
        }
        case StatusItem::Mode: {
            const PlayMode mode = player.Mode();
            reply = mode == PlayMode::Playing  ? "playing"
                    : mode == PlayMode::Paused ? "paused"
                                               : "stopped";
            return 0;
        }
        case StatusItem::Ready:
            reply = "true";
            return 0;
    }
    return MCIERR_UNRECOGNIZED_KEYWORD;
}

std::uint32_t Run(const Command& command, std::string& reply) {
    posix::ReapOutputs();
    for (OpenDevice& device : Devices()) device.player->Tidy();
    if (command.verb == Verb::Open) return OpenSong(command);
    if (command.verb == Verb::Close) return CloseSong(command);
    OpenDevice* device = Find(command.device);
    if (device == nullptr) return MCIERR_INVALID_DEVICE_NAME;
    Player& player = *device->player;
    switch (command.verb) {
        case Verb::Set:
            return 0;  // milliseconds is the only time format there is
        case Verb::Seek:
            return player.Seek(command.seekTarget, command.seekMs);
        case Verb::Status:
            return Status(player, command.statusItem, reply);
        case Verb::Play:
            return player.Play(command);
        case Verb::Pause:
            player.Pause();
            return 0;
        case Verb::Resume:
            player.Resume();
            return 0;
        case Verb::Stop:
            player.Stop();
            return 0;
        default:
            return MCIERR_UNRECOGNIZED_COMMAND;
    }
}

}  // namespace

void SetSongTitle(const std::string& title) {
    posix::pulse::SetTitle(title);
}

std::uint32_t mciSendString(const char* command, char* reply, std::uint32_t replyLength) {
    std::string text;
    std::uint32_t error = MCIERR_MISSING_COMMAND_STRING;
    if (command != nullptr) {
        const posix::ParseResult parsed = posix::ParseCommand(command);
        error = parsed.error != 0 ? parsed.error : Run(parsed.command, text);
    }
    if (reply != nullptr && replyLength > 0) {
        const std::size_t n = std::min<std::size_t>(text.size(), replyLength - 1);
        text.copy(reply, n);
        reply[n] = '\0';
    }
    return error;
}

}  // namespace mci
