// The media controls on Linux: MPRIS2 on the session bus through sd-bus. One object,
// /org/mpris/MediaPlayer2, with one vtable per interface; methods and property changes become
// requests for the program, and PropertiesChanged goes out whenever the state it hands over
// differs. The shape follows sd_bus_add_object_vtable(3); the interfaces are MPRIS2's.
#include "platform/media.h"

#include <systemd/sd-bus.h>
#include <unistd.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/common/dropped_text.h"
#include "platform/posix/media/mpris.h"

namespace media {
namespace {

using mpris::Link;
using mpris::TheLink;

void Hand(Request::Kind kind, std::int64_t value = 0, const std::string& path = {}) {
    if (TheLink().onRequest) TheLink().onRequest(Request{kind, value, path});
}

// --- org.mpris.MediaPlayer2 -----------------------------------------------------------------

int Answer(sd_bus_message* message, Request::Kind kind) {
    Hand(kind);
    return sd_bus_reply_method_return(message, "");
}

int OnRaise(sd_bus_message* m, void*, sd_bus_error*) {
    return Answer(m, Request::Kind::Raise);
}
int OnQuit(sd_bus_message* m, void*, sd_bus_error*) {
    return Answer(m, Request::Kind::Quit);
}

int GetTrue(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply, void*,
            sd_bus_error*) {
    return sd_bus_message_append(reply, "b", 1);
}
int GetFalse(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply, void*,
             sd_bus_error*) {
    return sd_bus_message_append(reply, "b", 0);
}
int GetIdentity(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply, void*,
                sd_bus_error*) {
    return sd_bus_message_append(reply, "s", "MP3 Klingtal");
}
int GetDesktopEntry(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply, void*,
                    sd_bus_error*) {
    return sd_bus_message_append(reply, "s", "mp3klingtal");
}
// Local folders and MP3 files only: a song opens its folder and plays, a folder opens.
int GetSchemes(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply, void*,
               sd_bus_error*) {
    return sd_bus_message_append(reply, "as", 1, "file");
}
int GetMimeTypes(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply, void*,
                 sd_bus_error*) {
    return sd_bus_message_append(reply, "as", 2, "audio/mpeg", "inode/directory");
}

const sd_bus_vtable RootVtable[] = {
    SD_BUS_VTABLE_START(0),
    SD_BUS_METHOD("Raise", "", "", OnRaise, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_METHOD("Quit", "", "", OnQuit, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_PROPERTY("CanQuit", "b", GetTrue, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_PROPERTY("CanRaise", "b", GetTrue, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_PROPERTY("HasTrackList", "b", GetFalse, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_PROPERTY("Identity", "s", GetIdentity, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_PROPERTY("DesktopEntry", "s", GetDesktopEntry, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_PROPERTY("SupportedUriSchemes", "as", GetSchemes, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_PROPERTY("SupportedMimeTypes", "as", GetMimeTypes, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_VTABLE_END,
};

// --- org.mpris.MediaPlayer2.Player: methods -------------------------------------------------

int OnNext(sd_bus_message* m, void*, sd_bus_error*) {
    return Answer(m, Request::Kind::Next);
}
int OnPrevious(sd_bus_message* m, void*, sd_bus_error*) {
    return Answer(m, Request::Kind::Previous);
}
int OnPause(sd_bus_message* m, void*, sd_bus_error*) {
    return Answer(m, Request::Kind::Pause);
}
int OnPlayPause(sd_bus_message* m, void*, sd_bus_error*) {
    return Answer(m, Request::Kind::PlayPause);
}
int OnStop(sd_bus_message* m, void*, sd_bus_error*) {
    return Answer(m, Request::Kind::Stop);
}
int OnPlay(sd_bus_message* m, void*, sd_bus_error*) {
    return Answer(m, Request::Kind::Play);
}

// Offsets and positions arrive in microseconds; the program counts milliseconds.
int OnSeek(sd_bus_message* m, void*, sd_bus_error*) {
    std::int64_t offset = 0;
    const int r = sd_bus_message_read(m, "x", &offset);
    if (r < 0) return r;
    Hand(Request::Kind::Seek, offset / 1000);
    return sd_bus_reply_method_return(m, "");
}

// A position meant for another song than the current one is ignored, as the interface asks.
int OnSetPosition(sd_bus_message* m, void*, sd_bus_error*) {
    const char* track = nullptr;
    std::int64_t position = 0;
    const int r = sd_bus_message_read(m, "ox", &track, &position);
    if (r < 0) return r;
    if (track != nullptr && mpris::TrackId(TheLink().state) == track)
        Hand(Request::Kind::SetPosition, position / 1000);
    return sd_bus_reply_method_return(m, "");
}

// A file:// address or an absolute path, from a program started later or from the desktop.
// Opened once the bus's turn is over (Process): the caller waits for the answer, not for the
// scan, and a message the scan may show cannot run the bus again from inside its own handler.
int OnOpenUri(sd_bus_message* m, void*, sd_bus_error* error) {
    const char* uri = nullptr;
    const int r = sd_bus_message_read(m, "s", &uri);
    if (r < 0) return r;
    const std::string path = FirstDroppedPath(uri != nullptr ? uri : "");
    if (path.empty())
        return sd_bus_error_set(error, SD_BUS_ERROR_NOT_SUPPORTED,
                                "MP3 Klingtal opens only local folders and MP3 files");
    TheLink().opened.push_back(path);
    return sd_bus_reply_method_return(m, "");
}

// --- org.mpris.MediaPlayer2.Player: properties ----------------------------------------------

const State& Now() {
    return TheLink().state;
}

int GetPlaybackStatus(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply, void*,
                      sd_bus_error*) {
    const Playback playback = Now().playback;
    return sd_bus_message_append(reply, "s",
                                 playback == Playback::Playing  ? "Playing"
                                 : playback == Playback::Paused ? "Paused"
                                                                : "Stopped");
}

int GetLoopStatus(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply, void*,
                  sd_bus_error*) {
    const Loop loop = LoopOf(Now());
    return sd_bus_message_append(reply, "s",
                                 loop == Loop::Playlist ? "Playlist"
                                 : loop == Loop::Track  ? "Track"
                                                        : "None");
}

int SetLoopStatus(sd_bus*, const char*, const char*, const char*, sd_bus_message* value, void*,
                  sd_bus_error* error) {
    const char* text = nullptr;
    const int r = sd_bus_message_read(value, "s", &text);
    if (r < 0) return r;
    const std::string loop = text != nullptr ? text : "";
    if (loop != "None" && loop != "Track" && loop != "Playlist")
        return sd_bus_error_setf(error, SD_BUS_ERROR_INVALID_ARGS, "No such loop status: %s",
                                 loop.c_str());
    Hand(Request::Kind::SetLoop, static_cast<std::int64_t>(loop == "Playlist" ? Loop::Playlist
                                                           : loop == "Track"  ? Loop::Track
                                                                              : Loop::None));
    return 0;
}

int GetShuffle(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply, void*,
               sd_bus_error*) {
    return sd_bus_message_append(reply, "b", Now().randomMode ? 1 : 0);
}

int SetShuffle(sd_bus*, const char*, const char*, const char*, sd_bus_message* value, void*,
               sd_bus_error*) {
    int on = 0;
    const int r = sd_bus_message_read(value, "b", &on);
    if (r < 0) return r;
    Hand(Request::Kind::SetShuffle, on != 0 ? 1 : 0);
    return 0;
}

int GetMetadata(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply, void*,
                sd_bus_error*) {
    return mpris::AppendMetadata(reply, Now());
}

// The volume scale 0..65535 is 0.0..1.0 on the bus.
int GetVolume(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply, void*,
              sd_bus_error*) {
    return sd_bus_message_append(reply, "d", Now().volume / 65535.0);
}

int SetVolume(sd_bus*, const char*, const char*, const char*, sd_bus_message* value, void*,
              sd_bus_error*) {
    double volume = 0;
    const int r = sd_bus_message_read(value, "d", &volume);
    if (r < 0) return r;
    const double clamped = volume < 0 ? 0 : volume > 1 ? 1 : volume;
    Hand(Request::Kind::SetVolume, static_cast<std::int64_t>(clamped * 65535 + 0.5));
    return 0;
}

int GetPosition(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply, void*,
                sd_bus_error*) {
    return sd_bus_message_append(reply, "x", PositionNow(TheLink()) * 1000);
}

int GetRate(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply, void*,
            sd_bus_error*) {
    return sd_bus_message_append(reply, "d", 1.0);
}

int Flag(sd_bus_message* reply, bool value) {
    return sd_bus_message_append(reply, "b", value ? 1 : 0);
}
int GetCanGoNext(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply, void*,
                 sd_bus_error*) {
    return Flag(reply, CanGoNext(Now()));
}
int GetCanGoPrevious(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply, void*,
                     sd_bus_error*) {
    return Flag(reply, CanGoPrevious(Now()));
}
int GetCanPlay(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply, void*,
               sd_bus_error*) {
    return Flag(reply, CanPlay(Now()));
}
int GetCanPause(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply, void*,
                sd_bus_error*) {
    return Flag(reply, CanPause(Now()));
}

constexpr auto Changes = SD_BUS_VTABLE_PROPERTY_EMITS_CHANGE;
constexpr auto Writable = SD_BUS_VTABLE_PROPERTY_EMITS_CHANGE | SD_BUS_VTABLE_UNPRIVILEGED;
constexpr auto Constant = SD_BUS_VTABLE_PROPERTY_CONST;
constexpr auto Anyone = SD_BUS_VTABLE_UNPRIVILEGED;

const sd_bus_vtable PlayerVtable[] = {
    SD_BUS_VTABLE_START(0),
    SD_BUS_METHOD("Next", "", "", OnNext, Anyone),
    SD_BUS_METHOD("Previous", "", "", OnPrevious, Anyone),
    SD_BUS_METHOD("Pause", "", "", OnPause, Anyone),
    SD_BUS_METHOD("PlayPause", "", "", OnPlayPause, Anyone),
    SD_BUS_METHOD("Stop", "", "", OnStop, Anyone),
    SD_BUS_METHOD("Play", "", "", OnPlay, Anyone),
    SD_BUS_METHOD("Seek", "x", "", OnSeek, Anyone),
    SD_BUS_METHOD("SetPosition", "ox", "", OnSetPosition, Anyone),
    SD_BUS_METHOD("OpenUri", "s", "", OnOpenUri, Anyone),
    SD_BUS_SIGNAL("Seeked", "x", 0),
    SD_BUS_PROPERTY("PlaybackStatus", "s", GetPlaybackStatus, 0, Changes),
    SD_BUS_WRITABLE_PROPERTY("LoopStatus", "s", GetLoopStatus, SetLoopStatus, 0, Writable),
    SD_BUS_PROPERTY("Rate", "d", GetRate, 0, Constant),
    SD_BUS_PROPERTY("MinimumRate", "d", GetRate, 0, Constant),
    SD_BUS_PROPERTY("MaximumRate", "d", GetRate, 0, Constant),
    SD_BUS_WRITABLE_PROPERTY("Shuffle", "b", GetShuffle, SetShuffle, 0, Writable),
    SD_BUS_PROPERTY("Metadata", "a{sv}", GetMetadata, 0, Changes),
    SD_BUS_WRITABLE_PROPERTY("Volume", "d", GetVolume, SetVolume, 0, Writable),
    SD_BUS_PROPERTY("Position", "x", GetPosition, 0, 0),  // asked for, never announced
    SD_BUS_PROPERTY("CanGoNext", "b", GetCanGoNext, 0, Changes),
    SD_BUS_PROPERTY("CanGoPrevious", "b", GetCanGoPrevious, 0, Changes),
    SD_BUS_PROPERTY("CanPlay", "b", GetCanPlay, 0, Changes),
    SD_BUS_PROPERTY("CanPause", "b", GetCanPause, 0, Changes),
    SD_BUS_PROPERTY("CanSeek", "b", GetCanPause, 0, Changes),  // an open song can do both
    SD_BUS_PROPERTY("CanControl", "b", GetTrue, 0, Constant),
    SD_BUS_VTABLE_END,
};

// The well-known name; a second program running at the same time (one the first did not answer
// in time) takes an instance name, as the interface allows, so that both can be controlled.
bool TakeName(sd_bus* bus) {
    if (sd_bus_request_name(bus, mpris::BusName, 0) >= 0) return true;
    const std::string instance =
        std::string(mpris::BusName) + ".instance" + std::to_string(getpid());
    return sd_bus_request_name(bus, instance.c_str(), 0) >= 0;
}

}  // namespace

bool Start(const Window&, std::function<void(const Request&)> onRequest) {
    Link& link = TheLink();
    if (link.bus) return true;
    // The name taken at start-up comes with its connection; requests may be waiting on it.
    mpris::Bus owned = std::move(mpris::ClaimedBus());
    const bool claimed = owned != nullptr;
    sd_bus* bus = owned.get();
    if (!claimed && (sd_bus_open_user(&bus) < 0 || bus == nullptr)) return false;
    if (!claimed) owned.reset(bus);
    sd_bus_slot* root = nullptr;
    sd_bus_slot* player = nullptr;
    if (sd_bus_add_object_vtable(bus, &root, mpris::ObjectPath, mpris::RootInterface, RootVtable,
                                 nullptr) < 0)
        return false;
    mpris::Slot rootSlot(root);
    if (sd_bus_add_object_vtable(bus, &player, mpris::ObjectPath, mpris::PlayerInterface,
                                 PlayerVtable, nullptr) < 0)
        return false;
    mpris::Slot playerSlot(player);
    if (!claimed && !TakeName(bus)) return false;
    link.bus = std::move(owned);
    link.rootSlot = std::move(rootSlot);
    link.playerSlot = std::move(playerSlot);
    link.onRequest = std::move(onRequest);
    link.published = false;
    // A call read while the name was being taken sits in the connection's queue, where watching
    // its descriptor would not notice it.
    if (claimed) Process();
    return true;
}

void Stop() {
    TheLink() = Link{};  // the slots go first, then the bus, which is flushed and closed
}

int Descriptor() {
    sd_bus* bus = TheLink().bus.get();
    return bus != nullptr ? sd_bus_get_fd(bus) : -1;
}

bool Process() {
    sd_bus* bus = TheLink().bus.get();
    if (bus == nullptr) return false;
    int r = 0;
    while ((r = sd_bus_process(bus, nullptr)) > 0) {
    }
    if (r < 0) return false;
    sd_bus_flush(bus);  // the answers go out now, not with the next request
    std::vector<std::string> opened;
    opened.swap(TheLink().opened);
    for (const std::string& path : opened) Hand(Request::Kind::Open, 0, path);
    return true;
}

void Publish(const State& state, std::int64_t positionMs) {
    Link& link = TheLink();
    link.positionMs = positionMs;
    link.positionAt = std::chrono::steady_clock::now();
    if (!link.bus) return;
    if (link.published && state == link.state) return;
    const State before = link.state;
    const bool first = !link.published;
    link.state = state;
    link.published = true;
    if (first) return;  // nobody has been told anything yet: they ask
    mpris::Announce(link, before);
}

}  // namespace media
