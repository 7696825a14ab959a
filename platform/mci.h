// The multimedia string-command interface: one call sends a command text such as
// "play MP3Stueck from 1 notify" and gets an error number and a reply text back.
// Backends: posix/ (our own device over libmpg123 and SDL2), win32/ (mciSendStringA itself).
#pragma once

#include <cstdint>
#include <string>

namespace mci {

// Error numbers, with the values the Windows multimedia headers give them. Those headers define
// the same names as macros: a file that includes them must not include this one.
inline constexpr std::uint32_t MCIERR_BASE = 256;
inline constexpr std::uint32_t MCIERR_INVALID_DEVICE_ID = MCIERR_BASE + 1;
inline constexpr std::uint32_t MCIERR_UNRECOGNIZED_KEYWORD = MCIERR_BASE + 3;
inline constexpr std::uint32_t MCIERR_UNRECOGNIZED_COMMAND = MCIERR_BASE + 5;
inline constexpr std::uint32_t MCIERR_HARDWARE = MCIERR_BASE + 6;
inline constexpr std::uint32_t MCIERR_INVALID_DEVICE_NAME = MCIERR_BASE + 7;
inline constexpr std::uint32_t MCIERR_OUT_OF_MEMORY = MCIERR_BASE + 8;
inline constexpr std::uint32_t MCIERR_DEVICE_OPEN = MCIERR_BASE + 9;
inline constexpr std::uint32_t MCIERR_CANNOT_LOAD_DRIVER = MCIERR_BASE + 10;
inline constexpr std::uint32_t MCIERR_MISSING_COMMAND_STRING = MCIERR_BASE + 11;
inline constexpr std::uint32_t MCIERR_PARAM_OVERFLOW = MCIERR_BASE + 12;
inline constexpr std::uint32_t MCIERR_MISSING_STRING_ARGUMENT = MCIERR_BASE + 13;
inline constexpr std::uint32_t MCIERR_BAD_INTEGER = MCIERR_BASE + 14;
inline constexpr std::uint32_t MCIERR_PARSER_INTERNAL = MCIERR_BASE + 15;
inline constexpr std::uint32_t MCIERR_DRIVER_INTERNAL = MCIERR_BASE + 16;
inline constexpr std::uint32_t MCIERR_MISSING_PARAMETER = MCIERR_BASE + 17;
inline constexpr std::uint32_t MCIERR_UNSUPPORTED_FUNCTION = MCIERR_BASE + 18;
inline constexpr std::uint32_t MCIERR_FILE_NOT_FOUND = MCIERR_BASE + 19;
inline constexpr std::uint32_t MCIERR_DEVICE_NOT_READY = MCIERR_BASE + 20;
inline constexpr std::uint32_t MCIERR_INTERNAL = MCIERR_BASE + 21;
inline constexpr std::uint32_t MCIERR_DRIVER = MCIERR_BASE + 22;
inline constexpr std::uint32_t MCIERR_CANNOT_USE_ALL = MCIERR_BASE + 23;
inline constexpr std::uint32_t MCIERR_MULTIPLE = MCIERR_BASE + 24;
inline constexpr std::uint32_t MCIERR_EXTENSION_NOT_FOUND = MCIERR_BASE + 25;
inline constexpr std::uint32_t MCIERR_OUTOFRANGE = MCIERR_BASE + 26;
inline constexpr std::uint32_t MCIERR_FLAGS_NOT_COMPATIBLE = MCIERR_BASE + 28;
inline constexpr std::uint32_t MCIERR_FILE_NOT_SAVED = MCIERR_BASE + 30;
inline constexpr std::uint32_t MCIERR_DEVICE_TYPE_REQUIRED = MCIERR_BASE + 31;
inline constexpr std::uint32_t MCIERR_DEVICE_LOCKED = MCIERR_BASE + 32;
inline constexpr std::uint32_t MCIERR_DUPLICATE_ALIAS = MCIERR_BASE + 33;
inline constexpr std::uint32_t MCIERR_BAD_CONSTANT = MCIERR_BASE + 34;
inline constexpr std::uint32_t MCIERR_MUST_USE_SHAREABLE = MCIERR_BASE + 35;
inline constexpr std::uint32_t MCIERR_MISSING_DEVICE_NAME = MCIERR_BASE + 36;
inline constexpr std::uint32_t MCIERR_BAD_TIME_FORMAT = MCIERR_BASE + 37;
inline constexpr std::uint32_t MCIERR_NO_CLOSING_QUOTE = MCIERR_BASE + 38;
inline constexpr std::uint32_t MCIERR_DUPLICATE_FLAGS = MCIERR_BASE + 39;
inline constexpr std::uint32_t MCIERR_INVALID_FILE = MCIERR_BASE + 40;
inline constexpr std::uint32_t MCIERR_NULL_PARAMETER_BLOCK = MCIERR_BASE + 41;
inline constexpr std::uint32_t MCIERR_UNNAMED_RESOURCE = MCIERR_BASE + 42;
inline constexpr std::uint32_t MCIERR_NEW_REQUIRES_ALIAS = MCIERR_BASE + 43;
inline constexpr std::uint32_t MCIERR_NOTIFY_ON_AUTO_OPEN = MCIERR_BASE + 44;
inline constexpr std::uint32_t MCIERR_NO_ELEMENT_ALLOWED = MCIERR_BASE + 45;
inline constexpr std::uint32_t MCIERR_NONAPPLICABLE_FUNCTION = MCIERR_BASE + 46;
inline constexpr std::uint32_t MCIERR_ILLEGAL_FOR_AUTO_OPEN = MCIERR_BASE + 47;
inline constexpr std::uint32_t MCIERR_FILENAME_REQUIRED = MCIERR_BASE + 48;
inline constexpr std::uint32_t MCIERR_EXTRA_CHARACTERS = MCIERR_BASE + 49;
inline constexpr std::uint32_t MCIERR_DEVICE_NOT_INSTALLED = MCIERR_BASE + 50;
inline constexpr std::uint32_t MCIERR_GET_CD = MCIERR_BASE + 51;
inline constexpr std::uint32_t MCIERR_SET_CD = MCIERR_BASE + 52;
inline constexpr std::uint32_t MCIERR_SET_DRIVE = MCIERR_BASE + 53;
inline constexpr std::uint32_t MCIERR_DEVICE_LENGTH = MCIERR_BASE + 54;
inline constexpr std::uint32_t MCIERR_DEVICE_ORD_LENGTH = MCIERR_BASE + 55;
inline constexpr std::uint32_t MCIERR_NO_INTEGER = MCIERR_BASE + 56;
inline constexpr std::uint32_t MCIERR_WAVE_OUTPUTSINUSE = MCIERR_BASE + 64;
inline constexpr std::uint32_t MCIERR_WAVE_OUTPUTSUNSUITABLE = MCIERR_BASE + 70;
inline constexpr std::uint32_t MCIERR_WAVE_OUTPUTUNSPECIFIED = MCIERR_BASE + 68;
inline constexpr std::uint32_t MCIERR_FILE_READ = MCIERR_BASE + 92;

// Sends one command. The reply text (NUL-terminated, cut to replyLength - 1 characters) goes to
// reply when it is not null. Returns 0 or one of the numbers above. Main thread only.
std::uint32_t mciSendString(const char* command, char* reply, std::uint32_t replyLength);

// The title of the current song, as the media controls show it: the Linux device gives it to
// the sound server as the name of its stream; nothing on Windows. Main thread.
void SetSongTitle(const std::string& title);

}  // namespace mci
