// Audio output for the multimedia device: the sample queue, the stream in front of it (the sound
// server's, else SDL2's), and the streams being closed or letting a song finish in the background.
#include "platform/posix/mci/output.h"

#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <future>
#include <mutex>

#include "platform/posix/sdl_audio.h"

namespace mci::posix {
namespace {

using Clock = std::chrono::steady_clock;

// About 90 ms per SDL buffer, a power of two; also the size of the queue's steps in front of the
// sound server's stream, which takes many at a time.
std::int64_t BufferSamplesFor(long rate) {
    std::int64_t samples = 64;
    while (samples < 8192 && samples * 2 <= rate / 10) samples *= 2;
    return samples;
}

// Buffers decoded ahead of the stream (about 280 ms). A song counts as played when its last
// sample is queued; the queue then still sounds this long, time enough for the next song to be
// opened and started behind it.
constexpr std::int64_t kLeadBuffers = 3;

// A stream that has taken its last queued sample is closed this much later (milliseconds), once
// the sound server has played what it holds.
constexpr std::int64_t kTailMs = 400;

// How long a failed start waits for earlier streams to let go of an output that takes one
// stream only (SDL's dummy driver). Kept short, as the command waits: when that is not enough,
// the song waits for the next try like a song without an output.
constexpr auto kCloseWait = std::chrono::milliseconds(100);

}  // namespace

// One open stream: the sound server's, or an SDL device. Its callback reaches the output
// through owner, which is cleared (under the stream's lock) when the stream is detached to be
// closed in the background.
struct AudioOutput::Stream {
    std::unique_ptr<pulse::Stream> pulse;
    SDL_AudioDeviceID device = 0;
    AudioOutput* owner = nullptr;
    bool subsystem = false;  // holds one reference on SDL's audio

    static void Callback(void* self, Uint8* out, int len) {
        auto* stream = static_cast<Stream*>(self);
        // A device whose sound server has gone is still called back, at the pace of the lost
        // output: take nothing, so the song waits at its position.
        if (stream->owner == nullptr ||
            SDL_GetAudioDeviceStatus(stream->device) == SDL_AUDIO_STOPPED) {
            std::memset(out, 0, static_cast<std::size_t>(len));
            return;
        }
        const std::size_t taken = stream->owner->Render(out, static_cast<std::size_t>(len));
        std::memset(out + taken, 0, static_cast<std::size_t>(len) - taken);
    }
    // Any thread, once: may wait for the sound server to take the last buffer.
    void Close() {
        pulse.reset();
        if (device != 0) SDL_CloseAudioDevice(device);
        device = 0;
    }
    ~Stream() {  // main thread: SDL's audio is started and stopped there only
        Close();
        if (subsystem) SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
};

namespace {

using Stream = AudioOutput::Stream;

// A stream being closed. The future is declared last so that it is destroyed first: that waits
// for the close before the stream lets go of SDL's audio.
struct Closing {
    std::unique_ptr<Stream> stream;
    std::future<void> closed;
};

// An output letting a song finish, watched by a thread of its own that closes its stream once
// quiet, unless the next song adopts it first.
struct Finishing {
    std::mutex mutex;
    std::condition_variable wake;
    std::unique_ptr<AudioOutput> output;  // null once adopted
    bool cut = false;                     // close now
    bool closing = false;                 // the watcher has begun closing; too late to adopt
};

struct FinishingEntry {
    std::shared_ptr<Finishing> state;
    std::future<void> done;
};

// Main thread only. Never destroyed: songs still open when the process ends close their
// outputs during its exit, and must find these lists there.
std::vector<Closing>& Closings() {
    static auto* closings = new std::vector<Closing>;
    return *closings;
}
std::vector<FinishingEntry>& Finishings() {
    static auto* finishings = new std::vector<FinishingEntry>;
    return *finishings;
}

void CloseInBackground(std::unique_ptr<Stream> stream) {
    Stream* raw = stream.get();
    Closings().push_back(
        Closing{std::move(stream), std::async(std::launch::async, [raw] { raw->Close(); })});
}

void WatchFinishing(const std::shared_ptr<Finishing>& state) {
    std::unique_lock lock(state->mutex);
    while (state->output != nullptr && !state->cut && state->output->QuietMs() < kTailMs) {
        state->wake.wait_for(lock, std::chrono::milliseconds(50));
    }
    if (state->output == nullptr) return;  // adopted
    state->closing = true;
    state->output->CloseHere();
}

// The longest any output letting a song finish still sounds (milliseconds): its queue, and the
// buffer its stream has taken last.
std::int64_t FinishingMs() {
    std::int64_t longest = 0;
    for (FinishingEntry& entry : Finishings()) {
        std::lock_guard lock(entry.state->mutex);
        if (entry.state->output == nullptr || entry.state->closing) continue;
        longest = std::max(longest, entry.state->output->PendingMs());
    }
    return longest;
}

bool Ready(const std::future<void>& future, Clock::time_point deadline) {
    return future.wait_until(deadline) == std::future_status::ready;
}

}  // namespace

AudioOutput::AudioOutput(long rate, int channels)
    : rate_(rate),
      channels_(channels),
      bufferSamples_(BufferSamplesFor(rate)),
      queue_(static_cast<std::size_t>((kLeadBuffers + 1) * bufferSamples_ * channels * 2)),
      lastSound_(Clock::now()) {}

AudioOutput::~AudioOutput() {
    Halt(false);
}

bool AudioOutput::OpenStream() {
    auto stream = std::make_unique<Stream>();
    stream->owner = this;
    taken_ = lastTake_ = 0;
    if (pulse::Wanted()) {
        Stream* raw = stream.get();
        stream->pulse =
            pulse::Stream::Open(rate_, channels_, [raw](std::uint8_t* out, std::size_t n) {
                return raw->owner != nullptr ? raw->owner->Render(out, n) : 0;
            });
        if (stream->pulse != nullptr) {
            stream_ = std::move(stream);
            return true;
        }
    }
    if (!sdl_audio::Start()) return false;
    stream->subsystem = true;
    SDL_AudioSpec wanted{};
    wanted.freq = static_cast<int>(rate_);
    wanted.format = AUDIO_S16SYS;
    wanted.channels = static_cast<Uint8>(channels_);
    wanted.samples = static_cast<Uint16>(bufferSamples_);
    wanted.callback = &Stream::Callback;
    wanted.userdata = stream.get();
    SDL_AudioSpec obtained{};
    // No changes allowed: SDL converts to whatever the hardware wants.
    stream->device = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    if (stream->device == 0) return false;
    SDL_PauseAudioDevice(stream->device, 0);
    stream_ = std::move(stream);
    return true;
}

bool AudioOutput::Start() {
    if (stream_ != nullptr) {
        if (stream_->pulse != nullptr) {
            Lock lock(*this);
            stream_->pulse->Kick();
        }
        return true;
    }
    const bool fresh = queued_ == 0;
    if (fresh) {
        // A song of another format follows one that still sounds out on its own stream: it
        // begins with as much silence as that one has queued, so they play one after the other.
        const auto pad = static_cast<std::size_t>(FinishingMs() * rate_ / 1000) *
                         static_cast<std::size_t>(FrameBytes());
        head_ = 0;
        queued_ = foreign_ = std::min(pad, queue_.size());
        std::memset(queue_.data(), 0, queued_);
    }
    // Closed streams let go of SDL's audio here; once none holds it, the next start connects to
    // the sound server anew (one that has been restarted meanwhile).
    const bool pending = ReapOutputs();
    bool opened = OpenStream();
    if (!opened && (pending || !Finishings().empty())) {
        CutFinishingOutputs();
        ReapOutputs(Clock::now() + kCloseWait);
        opened = OpenStream();
    }
    if (opened && hushed_ != nullptr) CloseInBackground(std::move(hushed_));
    if (!opened && fresh) queued_ = foreign_ = 0;
    return opened;
}

void AudioOutput::Hush() {
    if (stream_ == nullptr || stream_->pulse == nullptr) return Halt(true);
    {
        Lock lock(*this);
        stream_->owner = nullptr;
        stream_->pulse->Flush();
    }
    if (hushed_ != nullptr) CloseInBackground(std::move(hushed_));
    hushed_ = std::move(stream_);
    hushedAt_ = Clock::now();
}

void AudioOutput::EndHush(std::int64_t afterMs) {
    if (hushed_ != nullptr && Clock::now() - hushedAt_ >= std::chrono::milliseconds(afterMs)) {
        CloseInBackground(std::move(hushed_));
    }
}

void AudioOutput::Halt(bool keepQueue) {
    {
        Lock lock(*this);
        if (!keepQueue) head_ = queued_ = foreign_ = 0;
        if (stream_ != nullptr) stream_->owner = nullptr;
    }
    if (stream_ != nullptr) CloseInBackground(std::move(stream_));
    if (hushed_ != nullptr) CloseInBackground(std::move(hushed_));
}

void AudioOutput::CloseHere() {
    if (stream_ != nullptr) stream_->Close();
}

bool AudioOutput::Lost() {
    if (stream_ == nullptr) return false;
    if (stream_->pulse == nullptr)
        return SDL_GetAudioDeviceStatus(stream_->device) == SDL_AUDIO_STOPPED;
    Lock lock(*this);
    return stream_->pulse->Lost();
}

void AudioOutput::SetSource(Source* source) {
    Lock lock(*this);
    if (source == source_) return;
    source_ = source;
    foreign_ = queued_;
}

void AudioOutput::DiscardOwn() {
    Lock lock(*this);
    queued_ = foreign_;
}

std::int64_t AudioOutput::HeardFrames() const {
    if (stream_ == nullptr) return taken_;
    if (stream_->pulse != nullptr) return std::min(taken_, stream_->pulse->HeardFrames());
    // An SDL buffer plays out in real time from the moment it was taken.
    const auto since =
        std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - lastTakeAt_);
    return taken_ - lastTake_ + std::min(lastTake_, since.count() * rate_ / 1000000);
}

std::int64_t AudioOutput::PendingMs() {
    Lock lock(*this);
    const std::int64_t frames =
        static_cast<std::int64_t>(queued_) / FrameBytes() + taken_ - HeardFrames();
    return frames * 1000 / rate_;
}

std::int64_t AudioOutput::QuietMs() {
    Lock lock(*this);
    if (queued_ > 0 || HeardFrames() < taken_) {
        lastSound_ = Clock::now();
        return 0;
    }
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - lastSound_).count();
}

std::pair<std::uint8_t*, std::size_t> AudioOutput::Space() {
    const std::size_t size = queue_.size();
    const std::size_t tail = (head_ + queued_) % size;
    const std::size_t free = std::min(size - queued_, size - tail);
    return {queue_.data() + tail, free - free % static_cast<std::size_t>(FrameBytes())};
}

void AudioOutput::Commit(std::size_t bytes) {
    queued_ += bytes;
}

std::size_t AudioOutput::Render(std::uint8_t* out, std::size_t bytes) {
    if (source_ != nullptr) source_->Feed(*this);
    const std::size_t size = queue_.size();
    const std::size_t take =
        std::min(bytes - bytes % static_cast<std::size_t>(FrameBytes()), queued_);
    const std::size_t first = std::min(take, size - head_);
    std::memcpy(out, queue_.data() + head_, first);
    std::memcpy(out + first, queue_.data(), take - first);
    head_ = (head_ + take) % size;
    queued_ -= take;
    foreign_ -= std::min(foreign_, take);
    lastTake_ = static_cast<std::int64_t>(take) / FrameBytes();
    taken_ += lastTake_;
    lastTakeAt_ = Clock::now();
    return take;
}

AudioOutput::Lock::Lock(AudioOutput& output) {
    if (output.stream_ == nullptr) return;
    if (output.stream_->pulse != nullptr) {
        pulse_.emplace();
    } else {
        device_ = output.stream_->device;
        SDL_LockAudioDevice(device_);
    }
}

AudioOutput::Lock::~Lock() {
    if (device_ != 0) SDL_UnlockAudioDevice(device_);
}

bool ReapOutputs(Clock::time_point deadline) {
    std::erase_if(Closings(),
                  [deadline](const Closing& closing) { return Ready(closing.closed, deadline); });
    std::erase_if(Finishings(), [deadline](FinishingEntry& entry) {
        if (!Ready(entry.done, deadline)) return false;
        entry.state->output.reset();  // here, on the main thread
        return true;
    });
    return !Closings().empty();
}

void LetOutputFinish(std::unique_ptr<AudioOutput> output) {
    output->SetSource(nullptr);
    auto state = std::make_shared<Finishing>();
    state->output = std::move(output);
    Finishings().push_back(
        FinishingEntry{state, std::async(std::launch::async, [state] { WatchFinishing(state); })});
}

std::unique_ptr<AudioOutput> AdoptOutput(long rate, int channels) {
    for (FinishingEntry& entry : Finishings()) {
        Finishing& state = *entry.state;
        std::lock_guard lock(state.mutex);
        if (state.closing || state.cut || state.output == nullptr) continue;
        if (state.output->Rate() != rate || state.output->Channels() != channels) continue;
        if (!state.output->Running()) continue;
        state.wake.notify_all();
        return std::move(state.output);
    }
    return nullptr;
}

void CutFinishingOutputs() {
    for (FinishingEntry& entry : Finishings()) {
        std::lock_guard lock(entry.state->mutex);
        entry.state->cut = true;
        entry.state->wake.notify_all();
    }
}

}  // namespace mci::posix
