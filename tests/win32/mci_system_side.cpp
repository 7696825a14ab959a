// What mci_test.cpp needs from windows.h, which it cannot include next to platform/mci.h: the
// system's own values of a few MCI error numbers, and an environment variable as UTF-8.
#include <windows.h>

#include <mmsystem.h>

#include <cstdint>
#include <string>

#include "platform/win32/text_win32.h"

namespace systemvalues {
std::uint32_t FileNotFound() {
    return MCIERR_FILE_NOT_FOUND;
}
std::uint32_t InvalidDeviceName() {
    return MCIERR_INVALID_DEVICE_NAME;
}
std::uint32_t UnrecognizedCommand() {
    return MCIERR_UNRECOGNIZED_COMMAND;
}
std::uint32_t OutOfRange() {
    return MCIERR_OUTOFRANGE;
}
std::uint32_t NoClosingQuote() {
    return MCIERR_NO_CLOSING_QUOTE;
}

// The variable's value as UTF-8 (getenv would give the ANSI code page); "" when unset.
std::string Environment(const char* name) {
    std::wstring wideName = win32::Utf8ToWide(name);
    wchar_t value[1024] = {};
    DWORD length = GetEnvironmentVariableW(wideName.c_str(), value, 1024);
    return length > 0 && length < 1024 ? win32::WideToUtf8(value) : std::string();
}
}  // namespace systemvalues
