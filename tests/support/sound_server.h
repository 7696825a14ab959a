// The private sound servers that tests start, kill and freeze themselves: PulseAudio, or the
// PipeWire one of scripts/lib/pipewire_server.sh when KLINGTAL_SOUND_SERVER names that script.
#pragma once

#include <cstdlib>
#include <string>
#include <vector>

namespace testing_support {

// The command that serves the PulseAudio protocol on socket with a null sink named sink when it
// is not pulseaudio (pulseaudioCommand); the server runs in a process group of its own, which
// takes every signal meant for the server.
inline std::vector<std::string> SoundServerCommand(const std::string& socket,
                                                   const std::string& sink,
                                                   std::vector<std::string> pulseaudioCommand) {
    const char* script = std::getenv("KLINGTAL_SOUND_SERVER");
    if (script == nullptr || *script == '\0') return pulseaudioCommand;
    return {"bash", script, socket, sink};
}

// A shell command that succeeds once the server on socket answers with sink as its default.
inline std::string SoundServerReady(const std::string& socket, const std::string& sink) {
    return "pactl -s unix:" + socket + " info 2>/dev/null | grep -qx 'Default Sink: " + sink + "'";
}

}  // namespace testing_support
