// The string-command interface on Windows is mciSendStringW itself; this only converts the
// command from UTF-8 to UTF-16 and the reply back, so a song path in any script opens.
//
// platform/mci.h declares the MCIERR_* numbers as constants, and mmsystem.h defines the same
// names as macros. mci.h therefore comes first: its constants are declared before the macros
// exist, and nothing below names them. mmsystem.h also defines mciSendString as a macro for
// mciSendStringW, which would rename our function; it is undefined again.
#include "platform/mci.h"

#include <windows.h>

#include <mmsystem.h>
#undef mciSendString

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <string>

#include "platform/win32/text_win32.h"

namespace mci {

// https://learn.microsoft.com/previous-versions/dd757161(v=vs.85): the return length counts
// characters, so the reply gets as many UTF-16 units as the caller has bytes.
void SetSongTitle(const std::string&) {}

std::uint32_t mciSendString(const char* command, char* reply, std::uint32_t replyLength) {
    std::wstring wideCommand = win32::Utf8ToWide(command != nullptr ? command : "");
    if (reply == nullptr || replyLength == 0) {
        return ::mciSendStringW(wideCommand.c_str(), nullptr, 0, nullptr);
    }
    std::wstring wideReply(replyLength, L'\0');
    MCIERROR error = ::mciSendStringW(wideCommand.c_str(), wideReply.data(), replyLength, nullptr);
    wideReply.resize(std::wcslen(wideReply.c_str()));
    std::string text = win32::WideToUtf8(wideReply);
    // Cut to the caller's buffer without splitting a UTF-8 sequence.
    std::size_t length = std::min<std::size_t>(text.size(), replyLength - 1);
    while (length > 0 && length < text.size() && (text[length] & 0xC0) == 0x80) --length;
    std::memcpy(reply, text.data(), length);
    reply[length] = '\0';
    return error;
}

}  // namespace mci
