// Play state of one song. Decoding happens on SDL's audio thread, which tops up the output's
// queue before each buffer it takes: seeking, pausing and closing need no decoder thread to stop.
#include "platform/posix/mci/player.h"

#include <algorithm>
#include <limits>

#include "platform/mci.h"

namespace mci::posix {
namespace {
using Clock = std::chrono::steady_clock;
using OutputLock = AudioOutput::Lock;

constexpr std::int64_t kUnknownEnd = std::numeric_limits<std::int64_t>::max();
// A missing output (no sound server) is tried again this often while the song waits to play.
constexpr auto kRetryEvery = std::chrono::milliseconds(500);
// An ended song left open lets its output rest once it has been quiet this long (ms).
constexpr std::int64_t kRestAfterMs = 400;
}  // namespace

std::uint32_t Player::Open(const std::string& path, std::unique_ptr<Player>& player) {
    std::unique_ptr<Player> opened(new Player());
    if (const std::uint32_t error = Decoder::Open(path, opened->decoder_); error != 0) {
        return error;
    }
    const long rate = opened->decoder_->Rate();
    const int channels = opened->decoder_->Channels();
    opened->output_ = AdoptOutput(rate, channels);
    if (!opened->output_) opened->output_ = std::make_unique<AudioOutput>(rate, channels);
    player = std::move(opened);
    return 0;
}

Player::~Player() = default;

std::int64_t Player::ToSample(std::uint32_t ms, std::int64_t length) const {
    // Rounded up, so that the position read back in whole milliseconds is ms again.
    const std::int64_t sample = (static_cast<std::int64_t>(ms) * decoder_->Rate() + 999) / 1000;
    return length >= 0 ? std::min(sample, length) : sample;
}

std::uint32_t Player::ToMs(std::int64_t sample) const {
    return static_cast<std::uint32_t>(
        std::min<std::int64_t>(sample * 1000 / decoder_->Rate(), 0xFFFFFFFF));
}

std::int64_t Player::SamplesSince(Clock::time_point at) const {
    const auto since = std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - at);
    return std::max<std::int64_t>(since.count(), 0) * decoder_->Rate() / 1000000;
}

std::int64_t Player::ShownLocked() const {
    if (mode_ != PlayMode::Playing) return shown_;
    return std::min(position_, shown_ + SamplesSince(shownAt_));
}

std::int64_t Player::HeardLocked() const {
    return std::min(heardEnd_, heard_ + SamplesSince(heardAt_));
}

void Player::HoldHeard() {
    heard_ = heardEnd_ = position_;
    heardAt_ = Clock::now();
}

void Player::StartOutput() {
    output_->SetSource(this);
    attached_ = true;
    if (!output_->Start()) retryAt_ = Clock::now() + kRetryEvery;
}

void Player::Silence() {
    if (!attached_) return;  // an adopted output still sounding the song before: leave it
    output_->Halt(false);
    attached_ = false;
}

std::uint32_t Player::Seek(SeekTarget target, std::uint32_t ms) {
    {
        OutputLock lock(*output_);
        const std::int64_t length = decoder_->Length();
        if (length < 0) return MCIERR_INVALID_FILE;
        if (target == SeekTarget::Position && ms > ToMs(length)) return MCIERR_OUTOFRANGE;
        mode_ = PlayMode::Stopped;
        finished_ = false;
        const std::int64_t sample = target == SeekTarget::Start ? 0
                                    : target == SeekTarget::End ? length
                                                                : ToSample(ms, length);
        decoder_->Seek(sample);  // a file cut short meanwhile just ends at the next play
        position_ = shown_ = sample;
    }
    Silence();
    return 0;
}

std::uint32_t Player::Play(const Command& command) {
    {
        OutputLock lock(*output_);
        std::int64_t length = decoder_->MeasuredLength();
        if (command.hasFrom || command.hasTo) {
            length = decoder_->Length();
            if (length < 0) return MCIERR_INVALID_FILE;
            const std::uint32_t lengthMs = ToMs(length);
            const std::uint32_t fromMs = command.hasFrom ? command.fromMs : ToMs(ShownLocked());
            if (fromMs > lengthMs || (command.hasTo && command.toMs > lengthMs)) {
                return MCIERR_OUTOFRANGE;
            }
            if (command.hasTo && command.toMs < fromMs) return MCIERR_OUTOFRANGE;
            if (command.hasFrom) {
                position_ = shown_ = ResumeSample(ToSample(command.fromMs, length));
                shownAt_ = Clock::now();
                decoder_->Seek(position_);
                finished_ = false;
                if (attached_) output_->DiscardOwn();
            }
        }
        end_ = command.hasTo ? ToSample(command.toMs, length) : length >= 0 ? length : kUnknownEnd;
        if (position_ >= end_) {
            mode_ = PlayMode::Stopped;
            return 0;
        }
        if (mode_ != PlayMode::Playing || command.hasFrom) HoldHeard();
        if (mode_ != PlayMode::Playing) {
            shownAt_ = Clock::now();
            mode_ = PlayMode::Playing;
            finished_ = false;
        }
    }
    StartOutput();
    return 0;
}

void Player::Pause() {
    {
        OutputLock lock(*output_);
        if (mode_ != PlayMode::Playing) return;
        shownBeforePause_ = ShownLocked();
        shown_ = HeardLocked();
        mode_ = PlayMode::Paused;
        // What the output has queued beyond the sound is dropped and decoded again on resume.
        if (position_ != shown_) {
            position_ = shown_;
            decoder_->Seek(position_);
        }
    }
    output_->DiscardOwn();
    output_->Halt(true);  // nothing is fed meanwhile; earlier songs' samples sound on resume
}

std::int64_t Player::ResumeSample(std::int64_t sample) const {
    const bool unheard = sample > shown_ && sample <= shownBeforePause_;
    return mode_ == PlayMode::Paused && unheard ? shown_ : sample;
}

void Player::Resume() {
    {
        OutputLock lock(*output_);
        if (mode_ != PlayMode::Paused) return;
        mode_ = PlayMode::Playing;
        shownAt_ = Clock::now();
        HoldHeard();
    }
    StartOutput();
}

void Player::Stop() {
    {
        OutputLock lock(*output_);
        shown_ = ShownLocked();
        mode_ = PlayMode::Stopped;
        // What was queued beyond the shown position is dropped: decode it again on the next play.
        if (!finished_ && position_ != shown_) {
            position_ = shown_;
            decoder_->Seek(position_);
        }
    }
    Silence();
}

std::uint32_t Player::PositionMs() {
    OutputLock lock(*output_);
    return ToMs(ShownLocked());
}

std::uint32_t Player::LengthMs(std::uint32_t& ms) {
    OutputLock lock(*output_);
    const std::int64_t length = decoder_->Length();
    if (length < 0) return MCIERR_INVALID_FILE;
    ms = ToMs(length);
    return 0;
}

PlayMode Player::Mode() {
    OutputLock lock(*output_);
    return mode_;
}

void Player::Tidy() {
    if (!attached_) return;
    if (output_->Lost()) {
        output_->Halt(true);  // the song waits at its position with what it has queued
        retryAt_ = Clock::now() + kRetryEvery;
    }
    const PlayMode mode = Mode();
    if (mode == PlayMode::Playing && !output_->Running() && Clock::now() >= retryAt_) {
        StartOutput();
    } else if (mode == PlayMode::Stopped && output_->Running() &&
               output_->QuietMs() >= kRestAfterMs) {
        output_->Halt(true);
    }
}

std::unique_ptr<AudioOutput> Player::TakeSoundingOutput() {
    if (!output_->Running()) return nullptr;
    if (attached_) {
        OutputLock lock(*output_);
        if (!finished_ || mode_ != PlayMode::Stopped) return nullptr;
    }
    output_->SetSource(nullptr);
    attached_ = false;
    return std::move(output_);
}

void Player::Feed(AudioOutput& output, std::int64_t bufferSamples) {
    if (mode_ != PlayMode::Playing) return;
    const std::int64_t before = ShownLocked();
    const std::int64_t frameBytes = output.FrameBytes();
    while (mode_ == PlayMode::Playing) {
        const auto [space, bytes] = output.Space();
        const std::int64_t wanted =
            std::min<std::int64_t>(static_cast<std::int64_t>(bytes) / frameBytes, end_ - position_);
        if (wanted <= 0 && position_ < end_) break;  // the queue is full
        bool ended = false;
        const std::size_t got =
            wanted <= 0
                ? 0
                : decoder_->Read(space, static_cast<std::size_t>(wanted * frameBytes), ended);
        output.Commit(got);
        position_ += static_cast<std::int64_t>(got) / frameBytes;
        if (position_ >= end_ || ended || got == 0) {
            // The end, or a file cut short or damaged while playing: the position goes to where
            // the song was to end, so the song counts as finished.
            mode_ = PlayMode::Stopped;
            finished_ = true;
            if (end_ != kUnknownEnd) position_ = end_;
        }
    }
    // The buffer about to be taken counts as playing from now; never step back.
    shown_ = mode_ == PlayMode::Playing ? std::max(before, position_ - bufferSamples) : position_;
    shownAt_ = Clock::now();
    // What sounds: the stream takes this buffer now, and this song's part of it plays in real
    // time after what earlier songs still have queued at its head.
    const std::int64_t foreign = output.ForeignQueuedSamples();
    const std::int64_t own = output.OwnQueuedSamples();
    heard_ = position_ - own;
    heardEnd_ = heard_ + std::clamp<std::int64_t>(bufferSamples - foreign, 0, own);
    heardAt_ = shownAt_ + std::chrono::microseconds(std::min(foreign, bufferSamples) * 1000000 /
                                                    decoder_->Rate());
}

}  // namespace mci::posix
