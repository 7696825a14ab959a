// The one channel to the multimedia string-command device: every command goes through SendMci
// (playback/song_commands.h says what is sent), and its replies are read here. Main thread only.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "playback/device_clock.h"

struct MciChannel {
    // The device writes its reply text here; allocated with the channel, before any command.
    std::array<char, 256> MciReplyBuffer{};
    std::string MciReply;         // the reply of the last command sent
    std::int32_t SongLength = 0;  // the open song's length, real milliseconds
    std::string SongLengthPath;   // the song whose length SongLength (and its display) is
    DeviceClock clock;            // how the device counts the open song's time

    // Called with every command before it is sent: the test driver keeps its record this way.
    std::function<void(std::string_view command)> observer;
};

// Sends command, copies the reply into MciReply and returns the device's error number (0 = done).
std::uint32_t SendMci(MciChannel& channel, std::string_view command);

// A reply read as a decimal whole number: its leading digits, 0 when it starts with none.
// Numbers beyond the 32-bit range read as the largest one.
std::int32_t ReadReplyNumber(std::string_view reply);

// Everything up to and including the last path separator. On Linux a backslash is an ordinary
// character of a file name.
std::string FolderOf(const std::string& path);
