// What the MPRIS backend tells the desktop: the song's metadata, and the announcements of
// every change, which desktop shells rely on after reading the properties once.
#include <string>
#include <vector>

#include "platform/posix/media/mpris.h"
#include "platform/posix/media/text.h"
#include "platform/utf8.h"

namespace media::mpris {

namespace {

// One entry of an a{sv} dictionary: the key and a variant of the given type.
template <typename... Values>
int Entry(sd_bus_message* m, const char* key, const char* type, Values... values) {
    int r = sd_bus_message_open_container(m, 'e', "sv");
    if (r >= 0) r = sd_bus_message_append(m, "s", key);
    if (r >= 0) r = sd_bus_message_open_container(m, 'v', type);
    if (r >= 0) r = sd_bus_message_append(m, type, values...);
    if (r >= 0) r = sd_bus_message_close_container(m);
    if (r >= 0) r = sd_bus_message_close_container(m);
    return r;
}

bool SameSong(const State& a, const State& b) {
    return a.song == b.song && a.path == b.path && a.title == b.title && a.artist == b.artist &&
           a.album == b.album && a.lengthMs == b.lengthMs;
}

}  // namespace

Link& TheLink() {
    static Link link;
    return link;
}

std::int64_t PositionNow(const Link& link) {
    return media::PositionNow(link.positionMs, link.positionAt,
                              link.state.playback == Playback::Playing, link.state.lengthMs);
}

std::string TrackId(const State& state) {
    if (state.song < 0) return "/org/mpris/MediaPlayer2/TrackList/NoTrack";
    return "/mp3klingtal/Track/" + std::to_string(state.song);
}

int AppendMetadata(sd_bus_message* reply, const State& state) {
    const std::string track = TrackId(state);
    int r = sd_bus_message_open_container(reply, 'a', "{sv}");
    if (r >= 0) r = Entry(reply, "mpris:trackid", "o", track.c_str());
    if (state.song >= 0) {
        const std::string title = utf8::Repaired(state.title);
        const std::string artist = utf8::Repaired(state.artist);
        const std::string album = utf8::Repaired(state.album);
        const std::string url = posix::FileUri(state.path);
        if (r >= 0) r = Entry(reply, "mpris:length", "x", state.lengthMs * 1000);
        if (r >= 0) r = Entry(reply, "xesam:title", "s", title.c_str());
        if (r >= 0 && !artist.empty()) r = Entry(reply, "xesam:artist", "as", 1, artist.c_str());
        if (r >= 0 && !album.empty()) r = Entry(reply, "xesam:album", "s", album.c_str());
        if (r >= 0) r = Entry(reply, "xesam:url", "s", url.c_str());
    }
    if (r >= 0) r = sd_bus_message_close_container(reply);
    return r;
}

void Announce(Link& link, const State& before) {
    const State& now = link.state;
    std::vector<const char*> changed;
    const auto note = [&](bool differs, const char* name) {
        if (differs) changed.push_back(name);
    };
    note(before.playback != now.playback, "PlaybackStatus");
    note(LoopOf(before) != LoopOf(now), "LoopStatus");
    note(before.randomMode != now.randomMode, "Shuffle");
    note(!SameSong(before, now), "Metadata");
    note(before.volume != now.volume, "Volume");
    note(CanGoNext(before) != CanGoNext(now), "CanGoNext");
    note(CanGoPrevious(before) != CanGoPrevious(now), "CanGoPrevious");
    note(CanPlay(before) != CanPlay(now), "CanPlay");
    note(CanPause(before) != CanPause(now), "CanPause");
    note(CanPause(before) != CanPause(now), "CanSeek");
    sd_bus* bus = link.bus.get();
    if (!changed.empty()) {
        changed.push_back(nullptr);
        sd_bus_emit_properties_changed_strv(bus, ObjectPath, PlayerInterface,
                                            const_cast<char**>(changed.data()));
    }
    if (before.seeks != now.seeks) {
        sd_bus_emit_signal(bus, ObjectPath, PlayerInterface, "Seeked", "x", link.positionMs * 1000);
    }
    sd_bus_flush(bus);
}

}  // namespace media::mpris
