// The string-command channel and the reading of its replies.
#include "playback/mci_channel.h"

#include <limits>

#include "platform/mci.h"
#include "platform/system.h"

std::uint32_t SendMci(MciChannel& channel, std::string_view command) {
    const std::string text(command);  // the device wants a NUL-terminated string
    if (channel.observer) channel.observer(text);
    channel.MciReplyBuffer[0] = '\0';
    const std::uint32_t error =
        mci::mciSendString(text.c_str(), channel.MciReplyBuffer.data(),
                           static_cast<std::uint32_t>(channel.MciReplyBuffer.size()));
    // A device that fills the whole buffer without a terminator must not make us read past it.
    channel.MciReplyBuffer.back() = '\0';
    channel.MciReply = channel.MciReplyBuffer.data();
    return error;
}

std::int32_t ReadReplyNumber(std::string_view reply) {
    std::int64_t value = 0;
    for (char c : reply) {
        if (c < '0' || c > '9') break;
        value = value * 10 + (c - '0');
        if (value > std::numeric_limits<std::int32_t>::max()) {
            return std::numeric_limits<std::int32_t>::max();
        }
    }
    return static_cast<std::int32_t>(value);
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind(sys::PathSeparator);
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}
