// The command strings addressed to the open song, in the order the device needs them.
#include "playback/song_commands.h"

#include "trackinfo/frame_header.h"

namespace {

constexpr std::int32_t OpeningStartMs = 1;

}  // namespace

bool OpenSong(MciChannel& channel, const std::string& path) {
    if (SendMci(channel, "open \"" + path + "\" alias MP3Stueck") != 0) return false;
    channel.SongLengthPath = path;
    const std::int32_t deviceLength = MeasureSongLength(channel);
    LearnSongClock(channel.clock, deviceLength, AnalyseSongHeader(path).exactMs);
    channel.SongLength = RealLength(channel.clock);
    SendMci(channel, "seek MP3Stueck to start");
    SendMci(channel, "play MP3Stueck from " + std::to_string(OpeningStartMs) + " notify");
    NoteDeviceStart(channel.clock, OpeningStartMs);
    return true;
}

std::int32_t MeasureSongLength(MciChannel& channel) {
    SendMci(channel, "set MP3Stueck time format ms");
    // Some devices (Windows' MCI under Wine with MP3s) cannot seek to the end but know the
    // length all the same.
    if (SendMci(channel, "seek MP3Stueck to end wait") == 0) {
        SendMci(channel, "status MP3Stueck position wait");
    } else {
        SendMci(channel, "status MP3Stueck length");
    }
    return ReadReplyNumber(channel.MciReply);
}

void PlaySongFrom(MciChannel& channel, int positionMs) {
    const std::int32_t point = StartDeviceAt(channel.clock, positionMs);
    SendMci(channel, "play MP3Stueck from " + std::to_string(point));
}

void PauseSong(MciChannel& channel) {
    SendMci(channel, "pause MP3Stueck wait");
}

void CloseSong(MciChannel& channel) {
    SendMci(channel, "close MP3Stueck");
}

std::int32_t PollSongPosition(MciChannel& channel) {
    SendMci(channel, "status MP3Stueck position");
    return RealPosition(channel.clock, ReadReplyNumber(channel.MciReply));
}

bool SongHasStopped(MciChannel& channel) {
    SendMci(channel, "status MP3Stueck mode");
    return channel.MciReply == "stopped";
}
