// PulseAudio master volume: one context on a threaded mainloop, subscribed to sink and server
// events. The mainloop thread keeps the cached volume and mute current; the main thread reads
// the cache and sends changes without waiting for their answers.
#include "volume/mixer_pulse.h"

#include <pulse/pulseaudio.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>

#include "volume/change_signal.h"
#include "volume/mixer.h"
#include "volume/mixer_scale.h"

namespace mixer_pulse {
namespace {

static_assert(mixer_scale::PulseNorm == PA_VOLUME_NORM);

using Clock = std::chrono::steady_clock;
constexpr auto RetryInterval = std::chrono::seconds(1);
constexpr auto FirstAnswerWait = std::chrono::milliseconds(200);
// A server that accepts the connection but never finishes the handshake is given up on.
constexpr auto HandshakeLimit = std::chrono::seconds(2);

struct MainloopDeleter {
    void operator()(pa_threaded_mainloop* loop) const {
        pa_threaded_mainloop_stop(loop);
        pa_threaded_mainloop_free(loop);
    }
};
using Mainloop = std::unique_ptr<pa_threaded_mainloop, MainloopDeleter>;

class LoopLock {
  public:
    explicit LoopLock(pa_threaded_mainloop* loop) : loop_(loop) { pa_threaded_mainloop_lock(loop); }
    ~LoopLock() { pa_threaded_mainloop_unlock(loop_); }
    LoopLock(const LoopLock&) = delete;
    LoopLock& operator=(const LoopLock&) = delete;

  private:
    pa_threaded_mainloop* loop_;
};

void Forget(pa_operation* operation) {
    if (operation) pa_operation_unref(operation);
}

class PulseLink {
  public:
    PulseLink() = default;
    ~PulseLink();
    PulseLink(const PulseLink&) = delete;
    PulseLink& operator=(const PulseLink&) = delete;

    Status Check();
    bool Connected() { return Check() == Status::Ready; }
    std::uint32_t Volume() const { return volume_.load(std::memory_order_relaxed); }
    int Mute() const { return mute_.load(std::memory_order_relaxed); }
    std::uint32_t SetVolume(std::uint32_t value);
    std::uint32_t SetMute(int value);
    int ChangeDescriptor() const { return changes_.Descriptor(); }
    void TakeChanges() { changes_.Take(); }

  private:
    bool StartLoop();
    // The following need the loop lock.
    void StartConnect(Clock::time_point now);
    void DropContext();
    void QuerySink();
    bool CanSend() const;

    void Answered();  // the current connection attempt has a result, good or bad
    static void OnState(pa_context* context, void* self);
    static void OnEvent(pa_context* context, pa_subscription_event_type_t type, std::uint32_t index,
                        void* self);
    static void OnSinkInfo(pa_context* context, const pa_sink_info* info, int eol, void* self);
    static void OnSent(pa_context* context, int success, void* self);

    Mainloop loop_;
    bool loopFailed_ = false;
    bool tried_ = false;               // main thread only
    Clock::time_point lastAttempt_{};  // main thread only

    // Loop lock.
    pa_context* context_ = nullptr;
    Clock::time_point attemptStart_{};
    std::uint32_t sinkIndex_ = PA_INVALID_INDEX;
    std::uint8_t channels_ = 0;
    int unanswered_ = 0;  // changes sent and not yet confirmed; the cache is ours meanwhile

    std::atomic<bool> ready_{false};  // connected and the default sink known
    std::atomic<std::uint32_t> volume_{0};
    std::atomic<int> mute_{0};
    std::mutex answerMutex_;
    std::condition_variable answer_;
    bool answered_ = false;  // answerMutex_
    // Told from the mainloop thread whenever the cached values or the readiness change.
    mixer_change::Signal changes_;
};

PulseLink::~PulseLink() {
    if (!loop_) return;
    {
        LoopLock lock(loop_.get());
        DropContext();
    }
    loop_.reset();
}

bool PulseLink::StartLoop() {
    if (loop_) return true;
    if (loopFailed_) return false;
    pa_threaded_mainloop* loop = pa_threaded_mainloop_new();
    if (!loop || pa_threaded_mainloop_start(loop) < 0) {
        if (loop) pa_threaded_mainloop_free(loop);
        loopFailed_ = true;
        return false;
    }
    loop_.reset(loop);
    return true;
}

Status PulseLink::Check() {
    if (ready_.load(std::memory_order_acquire)) return Status::Ready;
    if (!StartLoop()) return Status::Absent;
    const auto now = Clock::now();
    bool firstTry = false;
    {
        LoopLock lock(loop_.get());
        if (context_) {
            const pa_context_state_t state = pa_context_get_state(context_);
            const bool stuck = state != PA_CONTEXT_READY && now - attemptStart_ > HandshakeLimit;
            if (!PA_CONTEXT_IS_GOOD(state) || stuck) DropContext();
        }
        if (!context_ && (!tried_ || now - lastAttempt_ >= RetryInterval)) {
            firstTry = !tried_;
            tried_ = true;
            lastAttempt_ = now;
            StartConnect(now);
        }
    }
    if (firstTry) {
        std::unique_lock lock(answerMutex_);
        answer_.wait_for(lock, FirstAnswerWait, [this] { return answered_; });
    }
    if (ready_.load(std::memory_order_acquire)) return Status::Ready;
    LoopLock lock(loop_.get());
    if (!context_) return Status::Absent;
    const pa_context_state_t state = pa_context_get_state(context_);
    return PA_CONTEXT_IS_GOOD(state) && state != PA_CONTEXT_READY ? Status::Trying : Status::Absent;
}

void PulseLink::StartConnect(Clock::time_point now) {
    {
        std::lock_guard lock(answerMutex_);
        answered_ = false;
    }
    context_ = pa_context_new(pa_threaded_mainloop_get_api(loop_.get()), "MP3 Klingtal");
    if (!context_) return;
    attemptStart_ = now;
    sinkIndex_ = PA_INVALID_INDEX;
    unanswered_ = 0;
    pa_context_set_state_callback(context_, OnState, this);
    pa_context_set_subscribe_callback(context_, OnEvent, this);
    // No autospawn: a player must not start a sound server behind the user's back.
    if (pa_context_connect(context_, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) Answered();
}

void PulseLink::DropContext() {
    ready_.store(false, std::memory_order_release);
    if (!context_) return;
    pa_context_set_state_callback(context_, nullptr, nullptr);
    pa_context_set_subscribe_callback(context_, nullptr, nullptr);
    pa_context_disconnect(context_);
    pa_context_unref(context_);
    context_ = nullptr;
}

void PulseLink::QuerySink() {
    Forget(pa_context_get_sink_info_by_name(context_, "@DEFAULT_SINK@", OnSinkInfo, this));
}

bool PulseLink::CanSend() const {
    return context_ && pa_context_get_state(context_) == PA_CONTEXT_READY &&
           sinkIndex_ != PA_INVALID_INDEX && channels_ > 0;
}

void PulseLink::Answered() {
    {
        std::lock_guard lock(answerMutex_);
        answered_ = true;
    }
    answer_.notify_all();
}

void PulseLink::OnState(pa_context* context, void* data) {
    auto* self = static_cast<PulseLink*>(data);
    if (context != self->context_) return;
    switch (pa_context_get_state(context)) {
        case PA_CONTEXT_READY: {
            const auto mask = static_cast<pa_subscription_mask_t>(PA_SUBSCRIPTION_MASK_SINK |
                                                                  PA_SUBSCRIPTION_MASK_SERVER);
            Forget(pa_context_subscribe(context, mask, nullptr, nullptr));
            self->QuerySink();
            break;
        }
        case PA_CONTEXT_FAILED:
        case PA_CONTEXT_TERMINATED:
            self->ready_.store(false, std::memory_order_release);
            self->changes_.Notify();  // the main loop falls back to asking
            self->Answered();
            break;
        default:
            break;
    }
}

void PulseLink::OnEvent(pa_context* context, pa_subscription_event_type_t type, std::uint32_t index,
                        void* data) {
    auto* self = static_cast<PulseLink*>(data);
    if (context != self->context_) return;
    const auto facility = type & PA_SUBSCRIPTION_EVENT_FACILITY_MASK;
    // A server event may mean another default sink; a sink event matters for our sink only.
    const bool ours = facility == PA_SUBSCRIPTION_EVENT_SINK &&
                      (index == self->sinkIndex_ || self->sinkIndex_ == PA_INVALID_INDEX);
    if (facility == PA_SUBSCRIPTION_EVENT_SERVER || ours) self->QuerySink();
}

void PulseLink::OnSinkInfo(pa_context* context, const pa_sink_info* info, int eol, void* data) {
    auto* self = static_cast<PulseLink*>(data);
    if (context != self->context_) return;
    if (eol < 0) {  // no default sink (yet): the fallback mixer is used meanwhile
        self->sinkIndex_ = PA_INVALID_INDEX;
        self->ready_.store(false, std::memory_order_release);
        self->changes_.Notify();
        self->Answered();
        return;
    }
    if (eol > 0 || !info) return;
    self->sinkIndex_ = info->index;
    self->channels_ = info->volume.channels;
    // While our own changes are under way an older answer would move the knob back.
    bool changed = false;
    if (self->unanswered_ == 0) {
        const std::uint32_t volume = mixer_scale::LevelFromPulse(pa_cvolume_max(&info->volume));
        const int mute = info->mute ? 1 : 0;
        changed = self->volume_.exchange(volume, std::memory_order_relaxed) != volume;
        changed = self->mute_.exchange(mute, std::memory_order_relaxed) != mute || changed;
    }
    changed = !self->ready_.exchange(true, std::memory_order_acq_rel) || changed;
    if (changed) self->changes_.Notify();
    self->Answered();
}

void PulseLink::OnSent(pa_context* context, int /*success*/, void* data) {
    auto* self = static_cast<PulseLink*>(data);
    if (context != self->context_) return;
    if (self->unanswered_ > 0) --self->unanswered_;
    // Whatever happened meanwhile (a refusal, another program's change), the server knows.
    if (self->unanswered_ == 0) self->QuerySink();
}

std::uint32_t PulseLink::SetVolume(std::uint32_t value) {
    if (!Connected()) return MixerNoDevice;
    LoopLock lock(loop_.get());
    if (!CanSend()) return MixerNoDevice;
    pa_cvolume volume;
    pa_cvolume_set(&volume, channels_, mixer_scale::PulseFromLevel(value));
    pa_operation* sent =
        pa_context_set_sink_volume_by_index(context_, sinkIndex_, &volume, OnSent, this);
    if (!sent) return MixerFailed;
    pa_operation_unref(sent);
    ++unanswered_;
    volume_.store(mixer_scale::ClampLevel(value), std::memory_order_relaxed);
    return MixerDone;
}

std::uint32_t PulseLink::SetMute(int value) {
    if (!Connected()) return MixerNoDevice;
    LoopLock lock(loop_.get());
    if (!CanSend()) return MixerNoDevice;
    const int mute = value != 0 ? 1 : 0;
    pa_operation* sent =
        pa_context_set_sink_mute_by_index(context_, sinkIndex_, mute, OnSent, this);
    if (!sent) return MixerFailed;
    pa_operation_unref(sent);
    ++unanswered_;
    mute_.store(mute, std::memory_order_relaxed);
    return MixerDone;
}

PulseLink& Link() {
    static PulseLink link;
    return link;
}

}  // namespace

Status Check() {
    return Link().Check();
}
bool Connected() {
    return Link().Connected();
}
std::uint32_t GetVolume() {
    return Link().Connected() ? Link().Volume() : 0;
}
int GetMute() {
    return Link().Connected() ? Link().Mute() : 0;
}
std::uint32_t SetVolume(std::uint32_t value) {
    return Link().SetVolume(value);
}
std::uint32_t SetMute(int value) {
    return Link().SetMute(value);
}
int ChangeDescriptor() {
    return Link().ChangeDescriptor();
}
void TakeChanges() {
    Link().TakeChanges();
}

}  // namespace mixer_pulse
