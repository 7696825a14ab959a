// One open song of the multimedia device: the decoder, the output and the play state between
// them. Positions are in milliseconds at this interface and in samples (per channel) inside.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/posix/mci_decoder.h"
#include "platform/posix/mci_output.h"
#include "platform/posix/mci_parser.h"

namespace mci::posix {

enum class PlayMode { Stopped, Playing, Paused };

// Every member function is for the main thread; the audio callback shares the play state under
// the output's lock. The error results are MCIERR_* numbers, 0 for success.
class Player {
  public:
    static std::uint32_t Open(const std::string& path, std::unique_ptr<Player>& player);
    Player(const Player&) = delete;
    Player& operator=(const Player&) = delete;

    std::uint32_t Seek(SeekTarget target, std::uint32_t ms);  // leaves the song stopped
    std::uint32_t Play(const Command& command);               // from/to as the command gives
    void Pause();
    void Resume();
    void Stop();  // keeps the position

    // While playing: the audio handed to the output so far, where the last buffer handed over
    // counts as playing out in real time from the moment it was taken. Otherwise exact.
    std::uint32_t PositionMs();
    std::uint32_t LengthMs(std::uint32_t& ms);
    PlayMode Mode();

    // Lets the output rest once the callback has found the end of the song.
    void Tidy();

    // Closing in two steps, for a sound server that is slow to let go: Silence on the main
    // thread, then CloseOutput on any thread; destroy the player on the main thread after that.
    void Silence();
    void CloseOutput() { output_->CloseDevice(); }

  private:
    Player() = default;
    static void Fill(void* self, std::uint8_t* stream, int len);
    std::int64_t ToSample(std::uint32_t ms, std::int64_t length) const;
    std::uint32_t ToMs(std::int64_t sample) const;

    std::unique_ptr<Decoder> decoder_;
    std::unique_ptr<AudioOutput> output_;  // declared last: closed first, before the decoder

    // Shared with the audio callback, under the output's lock.
    PlayMode mode_ = PlayMode::Stopped;
    std::int64_t position_ = 0;   // next sample to hand to the output
    std::int64_t end_ = 0;        // playing stops here ("to", or the end of the song)
    bool filled_ = false;         // a buffer was handed over since the last play or seek
    std::int64_t fillStart_ = 0;  // position_ before the last buffer
    std::chrono::steady_clock::time_point fillAt_;  // when the last buffer was taken
};

}  // namespace mci::posix
