// Play state of one song. Decoding happens on the output stream's thread, which tops up the
// queue before each time it takes: seeking, pausing and closing need no decoder thread to stop.
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
// A paused song keeps its silent stream this long (ms), so that a resume starts at once.
constexpr std::int64_t kHushMs = 10000;
// In the last second of a song (and a little more) the position runs kLeadMs ahead of the
// sound, so that whoever polls it once a second sees the length while kLeadMs still sound:
// time to open and start the next song behind them.
constexpr std::int64_t kLeadMs = 400;
constexpr std::int64_t kLeadWindowMs = 1100;
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

std::int64_t Player::HeardLocked() const {
    if (!anchored_ || !output_->Running()) return held_;
    const std::int64_t taken = position_ - output_->OwnQueuedSamples() - anchorSample_;
    return anchorSample_ +
           std::clamp<std::int64_t>(output_->HeardFrames() - anchorFrame_, 0, taken);
}

std::int64_t Player::ShownLocked() const {
    if (mode_ != PlayMode::Playing) return shown_;
    const std::int64_t heard = HeardLocked();
    if (end_ == kUnknownEnd || end_ - heard > kLeadWindowMs * decoder_->Rate() / 1000) return heard;
    return std::min(end_, heard + kLeadMs * decoder_->Rate() / 1000);
}

void Player::SettleLocked() {
    if (mode_ != PlayMode::Playing || !finished_) return;
    // Ended once the sound is within kLeadMs of the last sample decoded; a file that ended
    // early (cut short, damaged) then stands where it was to end.
    if (HeardLocked() + kLeadMs * decoder_->Rate() / 1000 < position_) return;
    mode_ = PlayMode::Stopped;
    if (end_ != kUnknownEnd) position_ = end_;
    shown_ = position_;
}

void Player::HoldAt(std::int64_t sample) {
    anchored_ = false;
    held_ = shown_ = sample;
    finished_ = false;
    if (position_ != sample) {
        position_ = sample;
        decoder_->Seek(position_);
    }
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
        const std::int64_t sample = target == SeekTarget::Start ? 0
                                    : target == SeekTarget::End ? length
                                                                : ToSample(ms, length);
        HoldAt(sample);
        decoder_->Seek(sample);  // a file cut short meanwhile just ends at the next play
    }
    Silence();
    return 0;
}

std::uint32_t Player::Play(const Command& command) {
    bool restart = false;  // the sound jumps: what the stream holds of this song goes
    {
        OutputLock lock(*output_);
        SettleLocked();
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
                restart = attached_ && mode_ == PlayMode::Playing;
                HoldAt(ResumeSample(ToSample(command.fromMs, length)));
                decoder_->Seek(position_);
                if (attached_) output_->DiscardOwn();
            }
        }
        end_ = command.hasTo ? ToSample(command.toMs, length) : length >= 0 ? length : kUnknownEnd;
        if (position_ >= end_) {
            mode_ = PlayMode::Stopped;
            return 0;
        }
        if (mode_ != PlayMode::Playing) HoldAt(position_);
        mode_ = PlayMode::Playing;
    }
    if (restart) Silence();
    StartOutput();
    return 0;
}

void Player::Pause() {
    {
        OutputLock lock(*output_);
        SettleLocked();
        if (mode_ != PlayMode::Playing) return;
        shownBeforePause_ = ShownLocked();
        mode_ = PlayMode::Paused;
        // What the output holds beyond the sound is dropped and decoded again on resume.
        HoldAt(HeardLocked());
    }
    output_->DiscardOwn();
    output_->Hush();  // nothing is fed meanwhile; earlier songs' samples sound on resume
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
        HoldAt(position_);
    }
    StartOutput();
}

void Player::Stop() {
    {
        OutputLock lock(*output_);
        SettleLocked();
        // What was queued beyond the sound is dropped: decode it again on the next play.
        if (mode_ == PlayMode::Playing) HoldAt(HeardLocked());
        mode_ = PlayMode::Stopped;
    }
    Silence();
}

std::uint32_t Player::PositionMs() {
    OutputLock lock(*output_);
    SettleLocked();
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
    SettleLocked();
    return mode_;
}

void Player::Tidy() {
    if (!attached_) return;
    output_->EndHush(kHushMs);
    if (output_->Lost()) {
        {
            // The song waits where the sound stopped: what the server held is decoded again.
            OutputLock lock(*output_);
            SettleLocked();
            if (mode_ == PlayMode::Playing) HoldAt(HeardLocked());
        }
        output_->DiscardOwn();
        output_->Halt(true);
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
        SettleLocked();
        if (!finished_ || mode_ != PlayMode::Stopped) return nullptr;
    }
    output_->SetSource(nullptr);
    attached_ = false;
    return std::move(output_);
}

void Player::Feed(AudioOutput& output) {
    if (mode_ != PlayMode::Playing || finished_) return;
    const std::int64_t frameBytes = output.FrameBytes();
    while (!finished_) {
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
        // The end, or a file cut short or damaged while playing: the song has ended once the
        // sound has reached position_.
        if (position_ >= end_ || ended || got == 0) finished_ = true;
    }
    // This song's first queued sample plays after what earlier songs still have queued.
    const std::int64_t own = output.OwnQueuedSamples();
    if (!anchored_ && own > 0) {
        anchored_ = true;
        anchorSample_ = position_ - own;
        anchorFrame_ = output.TakenFrames() + output.ForeignQueuedSamples();
    }
}

}  // namespace mci::posix
