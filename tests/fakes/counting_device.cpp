// The device that counts VBR files as CBR, over real time.
#include "fakes/counting_device.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include "fakes/fake_mci.h"
#include "platform/mci.h"
#include "support/test_files.h"
#include "trackinfo/frame_header.h"

namespace counting_device {
namespace {

enum class Mode { Stopped, Playing, Paused };

struct Device {
    std::map<std::string, Song> songs;
    std::vector<Opened> history;
    bool open = false;
    Song song;
    Mode mode = Mode::Stopped;
    std::int32_t positionMs = 0;  // while not playing
    // While playing: where it started, in its counting and in real time, and when.
    std::int32_t startMs = 0, startRealMs = 0;
    Clock::time_point since;
};

Device& State() {
    static Device device;
    return device;
}

// Lets the song play out once its real audio has.
void Advance(Device& d) {
    if (d.mode != Mode::Playing || Clock::now() < d.history.back().realEnd) return;
    d.mode = Mode::Stopped;
    d.positionMs =
        d.song.end == Song::End::FallsBack ? 1 : d.startMs + d.song.realMs - d.startRealMs;
}

std::int32_t Position(Device& d) {
    Advance(d);
    if (d.mode != Mode::Playing) return d.positionMs;
    return d.startMs + std::int32_t(std::chrono::duration_cast<std::chrono::milliseconds>(
                                        Clock::now() - d.since)
                                        .count());
}

void PlayFrom(Device& d, std::int32_t ms) {
    if (d.song.end == Song::End::NeverStarts || d.song.lengthMs <= 0) return;
    d.startMs = ms;
    d.startRealMs = std::int32_t(std::int64_t(ms) * d.song.realMs / d.song.lengthMs);
    d.since = Clock::now();
    d.mode = d.startRealMs < d.song.realMs ? Mode::Playing : Mode::Stopped;
    d.history.back().realEnd = d.since + std::chrono::milliseconds(d.song.realMs - d.startRealMs);
}

fake_mci::Answer Reply(std::string text) {
    return {0, std::move(text)};
}

std::optional<fake_mci::Answer> Answer(const std::string& command) {
    Device& d = State();
    const std::string open = "open \"", alias = "\" alias MP3Stueck", from = "play MP3Stueck from ";
    if (command.rfind(open, 0) == 0) {
        const std::string path = command.substr(
            open.size(), command.size() - open.size() - std::min(command.size(), alias.size()));
        const auto found = d.songs.find(path);
        if (found == d.songs.end()) return fake_mci::Answer{mci::MCIERR_FILE_NOT_FOUND, ""};
        Device next;
        next.songs = std::move(d.songs);
        next.history = std::move(d.history);
        next.open = true;
        next.song = found->second;
        d = std::move(next);
        Opened opened;
        opened.path = path;
        d.history.push_back(opened);
        return Reply("");
    }
    if (!d.open) return fake_mci::Answer{mci::MCIERR_INVALID_DEVICE_NAME, ""};
    if (command == "close MP3Stueck") {
        Advance(d);
        d.history.back().closed = Clock::now();
        d.open = false;
    } else if (command == "seek MP3Stueck to end wait" || command == "seek MP3Stueck to start") {
        d.mode = Mode::Stopped;
        d.positionMs = command == "seek MP3Stueck to start" ? 0 : d.song.lengthMs;
    } else if (command.rfind("status MP3Stueck position", 0) == 0) {
        return Reply(std::to_string(Position(d)));
    } else if (command == "status MP3Stueck length") {
        return Reply(std::to_string(d.song.lengthMs));
    } else if (command == "status MP3Stueck mode") {
        Advance(d);
        d.history.back().modeAsked.push_back(Clock::now());
        return Reply(d.mode == Mode::Playing  ? "playing"
                     : d.mode == Mode::Paused ? "paused"
                                              : "stopped");
    } else if (command.rfind(from, 0) == 0) {
        PlayFrom(d, std::stoi(command.substr(from.size())));
    } else if (command == "pause MP3Stueck wait") {
        d.positionMs = Position(d);
        if (d.mode == Mode::Playing) d.mode = Mode::Paused;
        d.history.back().realEnd = Clock::time_point::max();
    }
    return Reply("");
}

}  // namespace

Song CountedByFirstFrame(const std::string& path) {
    const std::string file = testing_support::ReadFile(path);
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(file.data());
    const auto start = FrameSearchStart({bytes, file.size()});
    Song song;
    if (!start) return song;
    std::size_t at = *start;
    while (at + 4 <= file.size() && !ParseFrameHeader(bytes + at)) ++at;
    const auto first = at + 4 <= file.size() ? ParseFrameHeader(bytes + at) : std::nullopt;
    if (!first || first->bitrateKbps == 0) return song;
    std::size_t audio = file.size() - *start;
    if (file.size() >= 128 && file.compare(file.size() - 128, 3, "TAG") == 0) audio -= 128;
    song.lengthMs = std::int32_t(std::int64_t(audio) * 8 / first->bitrateKbps);
    // The real audio: every frame but a leading Xing or Info frame, which holds none.
    const std::string firstFrame = file.substr(at, first->FrameBytes());
    std::int64_t frames =
        firstFrame.find("Xing") != std::string::npos || firstFrame.find("Info") != std::string::npos
            ? -1
            : 0;
    for (; at + 4 <= file.size(); ++frames) {
        const auto header = ParseFrameHeader(bytes + at);
        if (!header || header->FrameBytes() == 0) break;
        at += header->FrameBytes();
    }
    song.realMs = std::int32_t(frames * first->SamplesPerFrame() * 1000 / first->sampleRate);
    return song;
}

void Install(std::map<std::string, Song> songs) {
    State() = Device();
    State().songs = std::move(songs);
    fake_mci::SetDevice(Answer);
}

const std::vector<Opened>& History() {
    return State().history;
}

}  // namespace counting_device
