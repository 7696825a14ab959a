// Play state of one song. Decoding happens inside SDL's audio callback, a buffer (about 90 ms)
// at a time: the position is the samples handed over (spread over the time the last buffer
// takes to play), and seeking, pausing and closing need no decoder thread to stop.
#include "platform/posix/mci_player.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "platform/mci.h"

namespace mci::posix {
namespace {
constexpr std::int64_t kUnknownEnd = std::numeric_limits<std::int64_t>::max();
}

std::uint32_t Player::Open(const std::string& path, std::unique_ptr<Player>& player) {
    std::unique_ptr<Player> opened(new Player());
    if (const std::uint32_t error = Decoder::Open(path, opened->decoder_); error != 0) {
        return error;
    }
    opened->output_ = AudioOutput::Open(opened->decoder_->Rate(), opened->decoder_->Channels(),
                                        &Player::Fill, opened.get());
    if (!opened->output_) return MCIERR_HARDWARE;
    player = std::move(opened);
    return 0;
}

std::int64_t Player::ToSample(std::uint32_t ms, std::int64_t length) const {
    // Rounded up, so that the position read back in whole milliseconds is ms again.
    const std::int64_t sample = (static_cast<std::int64_t>(ms) * decoder_->Rate() + 999) / 1000;
    return length >= 0 ? std::min(sample, length) : sample;
}

std::uint32_t Player::ToMs(std::int64_t sample) const {
    return static_cast<std::uint32_t>(
        std::min<std::int64_t>(sample * 1000 / decoder_->Rate(), 0xFFFFFFFF));
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
        decoder_->Seek(sample);  // a file cut short meanwhile just ends at the next play
        position_ = sample;
        filled_ = false;
    }
    output_->SetRunning(false);
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
            const std::uint32_t fromMs = command.hasFrom ? command.fromMs : ToMs(position_);
            if (fromMs > lengthMs || (command.hasTo && command.toMs > lengthMs)) {
                return MCIERR_OUTOFRANGE;
            }
            if (command.hasTo && command.toMs < fromMs) return MCIERR_OUTOFRANGE;
            if (command.hasFrom) {
                position_ = ToSample(command.fromMs, length);
                decoder_->Seek(position_);
                filled_ = false;
            }
        }
        end_ = command.hasTo ? ToSample(command.toMs, length) : length >= 0 ? length : kUnknownEnd;
        mode_ = position_ < end_ ? PlayMode::Playing : PlayMode::Stopped;
    }
    output_->SetRunning(Mode() == PlayMode::Playing);
    return 0;
}

void Player::Pause() {
    {
        OutputLock lock(*output_);
        if (mode_ != PlayMode::Playing) return;
        mode_ = PlayMode::Paused;
    }
    output_->SetRunning(false);
}

void Player::Resume() {
    {
        OutputLock lock(*output_);
        if (mode_ != PlayMode::Paused) return;
        mode_ = PlayMode::Playing;
    }
    output_->SetRunning(true);
}

void Player::Stop() {
    {
        OutputLock lock(*output_);
        mode_ = PlayMode::Stopped;
    }
    output_->SetRunning(false);
}

std::uint32_t Player::PositionMs() {
    OutputLock lock(*output_);
    if (mode_ != PlayMode::Playing || !filled_) return ToMs(position_);
    const auto since = std::chrono::steady_clock::now() - fillAt_;
    const std::int64_t played =
        std::chrono::duration_cast<std::chrono::microseconds>(since).count() * decoder_->Rate() /
        1000000;
    return ToMs(std::min(position_, fillStart_ + played));
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

void Player::Silence() {
    OutputLock lock(*output_);
    mode_ = PlayMode::Stopped;
}

void Player::Tidy() {
    if (Mode() != PlayMode::Playing) output_->SetRunning(false);
}

void Player::Fill(void* self, std::uint8_t* stream, int len) {
    auto* player = static_cast<Player*>(self);
    const std::int64_t frameBytes = player->decoder_->FrameBytes();
    if (player->mode_ == PlayMode::Playing) {
        player->filled_ = true;
        player->fillStart_ = player->position_;
        player->fillAt_ = std::chrono::steady_clock::now();
    }
    std::int64_t filled = 0;
    while (player->mode_ == PlayMode::Playing && filled + frameBytes <= len) {
        const std::int64_t wanted =
            std::min<std::int64_t>((len - filled) / frameBytes, player->end_ - player->position_);
        bool ended = false;
        const std::size_t got =
            wanted <= 0
                ? 0
                : player->decoder_->Read(stream + filled,
                                         static_cast<std::size_t>(wanted * frameBytes), ended);
        filled += static_cast<std::int64_t>(got);
        player->position_ += static_cast<std::int64_t>(got) / frameBytes;
        if (player->position_ >= player->end_) {
            player->mode_ = PlayMode::Stopped;
        } else if (ended || got == 0) {
            // The end of the data. When the file was cut short or damaged while playing, the
            // position jumps to where the song was to end, so the song counts as finished.
            player->mode_ = PlayMode::Stopped;
            if (player->end_ != kUnknownEnd) player->position_ = player->end_;
        }
    }
    std::memset(stream + filled, 0, static_cast<std::size_t>(len - filled));
}

}  // namespace mci::posix
