// Media-control requests and the media state for the driver's scripts.
#include "tools/driver/media_commands.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <sstream>

#include "platform/headless/media_headless.h"

namespace {

using Kind = media::Request::Kind;

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

const char* PlaybackName(media::Playback playback) {
    switch (playback) {
        case media::Playback::Playing:
            return "Playing";
        case media::Playback::Paused:
            return "Paused";
        case media::Playback::Stopped:
            break;
    }
    return "Stopped";
}

}  // namespace

bool InjectMediaRequest(const std::string& name, std::istream& arguments) {
    static const std::map<std::string, Kind> kinds = {
        {"play", Kind::Play},           {"pause", Kind::Pause},
        {"playpause", Kind::PlayPause}, {"stop", Kind::Stop},
        {"next", Kind::Next},           {"previous", Kind::Previous},
        {"seek", Kind::Seek},           {"setposition", Kind::SetPosition},
        {"loop", Kind::SetLoop},        {"shuffle", Kind::SetShuffle},
        {"volume", Kind::SetVolume},    {"quit", Kind::Quit},
        {"raise", Kind::Raise},
    };
    const auto found = kinds.find(Lower(name));
    if (found == kinds.end()) return false;
    media::Request request{found->second, 0};
    if (request.kind == Kind::SetLoop) {
        std::string loop;
        arguments >> loop;
        loop = Lower(loop);
        if (loop != "none" && loop != "track" && loop != "playlist") return false;
        request.value = static_cast<std::int64_t>(loop == "playlist" ? media::Loop::Playlist
                                                  : loop == "track"  ? media::Loop::Track
                                                                     : media::Loop::None);
    } else if (request.kind == Kind::Seek || request.kind == Kind::SetPosition ||
               request.kind == Kind::SetShuffle || request.kind == Kind::SetVolume) {
        if (!(arguments >> request.value)) return false;
    }
    return media::headless::Inject(request);
}

std::string MediaDump() {
    const media::State& s = media::headless::LastState();
    std::ostringstream out;
    const auto line = [&out](const char* key, const auto& value) {
        out << key << '\t' << value << '\n';
    };
    line("playback", PlaybackName(s.playback));
    line("song", s.song);
    line("count", s.songCount);
    line("path", s.path);
    line("title", s.title);
    line("artist", s.artist);
    line("album", s.album);
    line("length", s.lengthMs);
    line("position", media::headless::LastPosition());
    line("seeks", s.seeks);
    line("open", s.songOpen ? 1 : 0);
    line("all", s.allMode ? 1 : 0);
    line("repeat", s.repeatMode ? 1 : 0);
    line("random", s.randomMode ? 1 : 0);
    line("volume", s.volume);
    return out.str();
}
