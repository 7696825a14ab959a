// The string-command channel and the song-opening sequence.
#include "playback/mci_channel.h"

#include <limits>

#include "platform/gui.h"
#include "platform/mci.h"
#include "platform/system.h"
#include "playback/time_text.h"
#include "ui/gadgets.h"

std::uint32_t SendMci(MciChannel& channel, std::string_view command) {
    const std::string text(command);  // the device wants a NUL-terminated string
    if (channel.keepLog) channel.log.push_back(text);
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

bool OpenSong(MciChannel& channel, const SongListState& songs, const std::string& path,
              OpenFailure failure) {
    if (SendMci(channel, "open \"" + path + "\" alias MP3Stueck") != 0) {
        if (failure == OpenFailure::Report) {
            gui::ShowMessage("MP3 Fehler", "Fehler beim Öffnen der MP3 Datei!\r" + path,
                             gui::MessageIcon::Error);
        }
        return false;
    }
    gui::SetGadgetEnabled(ui::FolderButton, false);
    gui::SetGadgetEnabled(ui::PositionSlider, true);
    channel.SongLengthPath = path;
    SendMci(channel, "set MP3Stueck time format ms");
    // Some devices (Windows' MCI under Wine with MP3s) cannot seek to the end but know the
    // length all the same.
    if (SendMci(channel, "seek MP3Stueck to end wait") == 0) {
        SendMci(channel, "status MP3Stueck position wait");
    } else {
        SendMci(channel, "status MP3Stueck length");
    }
    channel.SongLength = ReadReplyNumber(channel.MciReply);
    gui::SetGadgetText(ui::SongLengthText, FormatMinSec(channel.SongLength / 1000));
    SendMci(channel, "seek MP3Stueck to start");
    SendMci(channel, "play MP3Stueck from 1 notify");

    const int current = songs.CurrentSong;
    gui::SetGadgetText(ui::SongNumberText, std::to_string(current + 1));
    // CurrentSong always indexes the fixed-size arrays; guard anyway, a bad settings value
    // must not read outside them.
    if (current >= 0 && current < static_cast<int>(songs.SongBitrateText.size())) {
        gui::SetGadgetText(ui::BitrateValue, songs.SongBitrateText[current]);
        gui::SetGadgetText(ui::SampleRateValue, songs.SongSampleRateText[current]);
    }
    gui::SetGadgetText(ui::FolderDisplay, FolderOf(path));
    return true;
}
