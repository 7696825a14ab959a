// The system's own values of a few MCI error numbers, for comparing with platform/mci.h, which
// cannot be included next to mmsystem.h.
#include <windows.h>

#include <mmsystem.h>

#include <cstdint>

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
}  // namespace systemvalues
