// The string-command interface on Windows is mciSendStringA itself; this only converts the
// command from UTF-8 to the ANSI code page and the reply back.
//
// platform/mci.h declares the MCIERR_* numbers as constants, and mmsystem.h defines the same
// names as macros. mci.h therefore comes first: its constants are declared before the macros
// exist, and nothing below names them. mmsystem.h also defines mciSendString as a macro for
// mciSendStringA, which would rename our function; it is undefined again.
#include "platform/mci.h"

#include <windows.h>

#include <mmsystem.h>
#undef mciSendString

#include <algorithm>
#include <cstring>
#include <string>

#include "platform/win32/text_win32.h"

namespace mci {

std::uint32_t mciSendString(const char* command, char* reply, std::uint32_t replyLength) {
    std::string ansiCommand = win32::Utf8ToAnsi(command != nullptr ? command : "");
    if (reply == nullptr || replyLength == 0) {
        return ::mciSendStringA(ansiCommand.c_str(), nullptr, 0, nullptr);
    }
    std::string ansiReply(replyLength, '\0');
    MCIERROR error = ::mciSendStringA(ansiCommand.c_str(), ansiReply.data(), replyLength, nullptr);
    ansiReply.resize(std::strlen(ansiReply.c_str()));
    std::string text = win32::AnsiToUtf8(ansiReply);
    // Cut to the caller's buffer without splitting a UTF-8 sequence.
    std::size_t length = std::min<std::size_t>(text.size(), replyLength - 1);
    while (length > 0 && length < text.size() && (text[length] & 0xC0) == 0x80) --length;
    std::memcpy(reply, text.data(), length);
    reply[length] = '\0';
    return error;
}

}  // namespace mci
