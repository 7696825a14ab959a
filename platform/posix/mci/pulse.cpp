// Playback streams on the sound server through libpulse's threaded main loop: one connection
// for the process, made again when the server has gone, and a long buffer per stream.
#include "platform/posix/mci/pulse.h"

#include <pulse/pulseaudio.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

namespace mci::posix::pulse {
namespace {

using Clock = std::chrono::steady_clock;

// The server holds up to this much of a stream (milliseconds) and asks for more once this much
// has played: one wake-up per request. A stop or skip closes the stream and a pause flushes it,
// which drops what it holds, so the length costs nothing in how soon the sound ends.
constexpr long kBufferMs = 4000;
constexpr long kRequestMs = 2000;
// The heard position runs on by the clock from the server's last answer about the stream's
// timing; a new answer is asked for when the last is this old, and when the sound starts or
// runs dry. Both clocks run at the same pace to far better than a millisecond in this time.
constexpr auto kTimingAge = std::chrono::seconds(5);
// Playing starts once this much is there (milliseconds); a stream that runs dry waits for it
// again instead of skipping ahead.
constexpr long kStartMs = 10;
// How long the main thread waits for the server to answer a connection or a new stream.
constexpr auto kAnswerWait = std::chrono::milliseconds(150);

struct Connection {
    pa_threaded_mainloop* loop = nullptr;
    pa_context* context = nullptr;
    std::string title;
    std::vector<pa_stream*> streams;  // open, under the lock
};

// Never destroyed: streams still open when the process ends close during its exit.
Connection& Shared() {
    static auto* connection = new Connection;
    return *connection;
}

void Signal(pa_threaded_mainloop* loop) {
    pa_threaded_mainloop_signal(loop, 0);
}

// Under the lock: polls answered(), letting the connection's thread run, until it is true or
// the wait is over.
template <typename Answered>
bool AwaitLocked(Answered answered) {
    const auto until = Clock::now() + kAnswerWait;
    while (!answered()) {
        if (Clock::now() >= until) return false;
        pa_threaded_mainloop_unlock(Shared().loop);
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        pa_threaded_mainloop_lock(Shared().loop);
    }
    return true;
}

// Under the lock: a ready connection, made anew when there is none or the server has gone.
bool ConnectLocked() {
    Connection& shared = Shared();
    if (shared.context != nullptr && pa_context_get_state(shared.context) == PA_CONTEXT_READY) {
        return true;
    }
    if (shared.context != nullptr) {
        pa_context_disconnect(shared.context);
        pa_context_unref(shared.context);
        shared.context = nullptr;
    }
    pa_proplist* props = pa_proplist_new();
    pa_proplist_sets(props, PA_PROP_APPLICATION_NAME, "MP3 Klingtal");
    pa_proplist_sets(props, PA_PROP_APPLICATION_ICON_NAME, "mp3klingtal");
    pa_proplist_sets(props, PA_PROP_APPLICATION_ID, "mp3klingtal");
    shared.context = pa_context_new_with_proplist(pa_threaded_mainloop_get_api(shared.loop),
                                                  "MP3 Klingtal", props);
    pa_proplist_free(props);
    if (shared.context == nullptr) return false;
    pa_context_set_state_callback(
        shared.context, [](pa_context*, void*) { Signal(Shared().loop); }, nullptr);
    if (pa_context_connect(shared.context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) {
        return false;
    }
    AwaitLocked([&] {
        const pa_context_state_t state = pa_context_get_state(shared.context);
        return state == PA_CONTEXT_READY || !PA_CONTEXT_IS_GOOD(state);
    });
    return pa_context_get_state(shared.context) == PA_CONTEXT_READY;
}

}  // namespace

bool Wanted() {
    const char* driver = std::getenv("SDL_AUDIODRIVER");
    return driver == nullptr || *driver == '\0' || std::strcmp(driver, "pulseaudio") == 0 ||
           std::strcmp(driver, "pipewire") == 0;
}

Lock::Lock() {
    pa_threaded_mainloop_lock(Shared().loop);
}

Lock::~Lock() {
    pa_threaded_mainloop_unlock(Shared().loop);
}

struct Stream::Handle {
    pa_stream* stream = nullptr;
    Fill fill;
    long rate = 0;
    int frameBytes = 0;
    // What the server last told: the sound stood at baseUsec of the stream when the answer
    // came (at stamp), and runs on from there in real time while it plays.
    std::int64_t baseUsec = 0;
    Clock::time_point stamp;
    bool playing = false;
    bool asked = false;      // a new answer is on its way
    std::int64_t heard = 0;  // samples; never goes back, and is kept once the server has gone

    // The connection's thread: a new answer about the stream's timing.
    void Timed() {
        const pa_timing_info* info = pa_stream_get_timing_info(stream);
        if (info == nullptr || info->read_index_corrupt) return;
        const std::int64_t read = std::max<std::int64_t>(info->read_index, 0) / frameBytes;
        baseUsec = read * 1000000 / rate - static_cast<std::int64_t>(info->sink_usec);
        playing = info->playing != 0;
        if (playing) baseUsec += static_cast<std::int64_t>(info->transport_usec);
        stamp = Clock::now();
        asked = false;
    }
    static void Refresh(pa_stream* stream) {
        pa_operation* operation = pa_stream_update_timing_info(stream, nullptr, nullptr);
        if (operation != nullptr) pa_operation_unref(operation);
    }

    static void Requested(pa_stream*, std::size_t bytes, void* self) {
        static_cast<Handle*>(self)->Write(bytes);
    }
    // Writes up to bytes from fill in one piece, one message to the server; a song that has
    // run out starts playing whatever is there.
    void Write(std::size_t bytes) {
        auto* data = static_cast<std::uint8_t*>(std::malloc(bytes));
        if (data == nullptr) return;
        std::size_t filled = 0;
        for (std::size_t got = 1; filled < bytes && got > 0; filled += got) {
            got = fill(data + filled, bytes - filled);
        }
        if (filled == 0) {
            std::free(data);
            return;
        }
        pa_stream_write(stream, data, filled, std::free, 0, PA_SEEK_RELATIVE);
        if (filled < bytes) pa_operation_unref(pa_stream_trigger(stream, nullptr, nullptr));
    }
    ~Handle() {
        if (stream == nullptr) return;
        Lock lock;
        std::erase(Shared().streams, stream);
        pa_stream_set_write_callback(stream, nullptr, nullptr);
        pa_stream_set_state_callback(stream, nullptr, nullptr);
        pa_stream_set_latency_update_callback(stream, nullptr, nullptr);
        pa_stream_set_started_callback(stream, nullptr, nullptr);
        pa_stream_set_underflow_callback(stream, nullptr, nullptr);
        pa_stream_disconnect(stream);
        pa_stream_unref(stream);
    }
};

std::unique_ptr<Stream> Stream::Open(long rate, int channels, Fill fill) {
    Connection& shared = Shared();
    if (shared.loop == nullptr) {
        shared.loop = pa_threaded_mainloop_new();
        if (shared.loop == nullptr) return nullptr;
        if (pa_threaded_mainloop_start(shared.loop) < 0) {
            pa_threaded_mainloop_free(shared.loop);
            shared.loop = nullptr;
            return nullptr;
        }
    }
    std::unique_ptr<Stream> opened(new Stream());
    opened->handle_ = std::make_unique<Handle>();
    Handle& handle = *opened->handle_;
    handle.fill = std::move(fill);
    handle.rate = rate;
    handle.frameBytes = channels * 2;
    {
        Lock lock;
        if (!ConnectLocked()) return nullptr;
        const pa_sample_spec spec{PA_SAMPLE_S16NE, static_cast<std::uint32_t>(rate),
                                  static_cast<std::uint8_t>(channels)};
        pa_proplist* props = pa_proplist_new();
        pa_proplist_sets(props, PA_PROP_MEDIA_ROLE, "music");
        pa_proplist_sets(props, PA_PROP_MEDIA_ICON_NAME, "mp3klingtal");
        const std::string& name = shared.title.empty() ? std::string("MP3 Klingtal") : shared.title;
        handle.stream =
            pa_stream_new_with_proplist(shared.context, name.c_str(), &spec, nullptr, props);
        pa_proplist_free(props);
        if (handle.stream == nullptr) return nullptr;
        pa_stream_set_state_callback(
            handle.stream, [](pa_stream*, void*) { Signal(Shared().loop); }, nullptr);
        pa_stream_set_write_callback(handle.stream, &Handle::Requested, &handle);
        pa_stream_set_latency_update_callback(
            handle.stream, [](pa_stream*, void* self) { static_cast<Handle*>(self)->Timed(); },
            &handle);
        // The server's automatic answers come seldom once a stream runs; when the sound starts
        // or runs dry, ask at once.
        pa_stream_set_started_callback(
            handle.stream, [](pa_stream* s, void*) { Handle::Refresh(s); }, nullptr);
        pa_stream_set_underflow_callback(
            handle.stream, [](pa_stream* s, void*) { Handle::Refresh(s); }, nullptr);
        const auto bytesFor = [&](long ms) {
            return static_cast<std::uint32_t>(rate * ms / 1000 * channels * 2);
        };
        pa_buffer_attr attr{};
        attr.maxlength = static_cast<std::uint32_t>(-1);
        attr.tlength = bytesFor(kBufferMs);
        attr.prebuf = bytesFor(kStartMs);
        attr.minreq = bytesFor(kRequestMs);
        attr.fragsize = static_cast<std::uint32_t>(-1);
        if (pa_stream_connect_playback(handle.stream, nullptr, &attr, PA_STREAM_NOFLAGS, nullptr,
                                       nullptr) < 0) {
            return nullptr;
        }
        AwaitLocked([&] {
            return !PA_STREAM_IS_GOOD(pa_stream_get_state(handle.stream)) ||
                   pa_stream_get_state(handle.stream) == PA_STREAM_READY;
        });
        if (pa_stream_get_state(handle.stream) != PA_STREAM_READY) return nullptr;
        shared.streams.push_back(handle.stream);
        Handle::Refresh(handle.stream);
    }
    return opened;
}

Stream::~Stream() = default;

void Stream::Kick() {
    const std::size_t room = pa_stream_writable_size(handle_->stream);
    if (room != static_cast<std::size_t>(-1) && room > 0) handle_->Write(room);
}

void Stream::Flush() {
    pa_operation* operation = pa_stream_flush(handle_->stream, nullptr, nullptr);
    if (operation != nullptr) pa_operation_unref(operation);
}

std::int64_t Stream::HeardFrames() const {
    Handle& handle = *handle_;
    if (pa_stream_get_state(handle.stream) != PA_STREAM_READY) return handle.heard;
    if (Clock::now() - handle.stamp > kTimingAge && !handle.asked) {
        handle.asked = true;
        Handle::Refresh(handle.stream);
    }
    std::int64_t usec = handle.baseUsec;
    if (handle.playing) {
        usec += std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - handle.stamp)
                    .count();
    }
    handle.heard = std::max(handle.heard, usec * handle.rate / 1000000);
    return handle.heard;
}

bool Stream::Lost() const {
    return pa_stream_get_state(handle_->stream) != PA_STREAM_READY ||
           pa_context_get_state(Shared().context) != PA_CONTEXT_READY;
}

void SetTitle(const std::string& title) {
    Connection& shared = Shared();
    if (title == shared.title) return;
    shared.title = title;
    if (shared.loop == nullptr || title.empty()) return;
    // A song opened and started before its title arrives: its stream takes the title now.
    Lock lock;
    for (pa_stream* stream : shared.streams) {
        pa_operation* operation = pa_stream_set_name(stream, title.c_str(), nullptr, nullptr);
        if (operation != nullptr) pa_operation_unref(operation);
    }
}

}  // namespace mci::posix::pulse
