// One open song of the multimedia device: the decoder, the output and the play state between
// them. Positions are in milliseconds at this interface and in samples (per channel) inside.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/posix/mci/decoder.h"
#include "platform/posix/mci/output.h"
#include "platform/posix/mci/parser.h"

namespace mci::posix {

enum class PlayMode { Stopped, Playing, Paused };

// Every member function is for the main thread; the audio thread feeds the output through Feed
// and shares the play state under the output's lock. The error results are MCIERR_* numbers,
// 0 for success.
class Player final : public Source {
  public:
    // Opens the file; the output (an adopted one that still lets the previous song finish, or a
    // new one) starts with the first play, so a song opens while no sound server is there.
    static std::uint32_t Open(const std::string& path, std::unique_ptr<Player>& player);
    ~Player();
    Player(const Player&) = delete;
    Player& operator=(const Player&) = delete;

    std::uint32_t Seek(SeekTarget target, std::uint32_t ms);  // leaves the song stopped
    // From/to as the command gives. Paused, a "from" that the position had reached but the
    // sound had not (a position read just before the pause) goes on where the sound stopped.
    std::uint32_t Play(const Command& command);
    void Pause();
    void Resume();
    void Stop();  // keeps the position

    // Playing: what is heard now. In the last moments of a song it runs ahead by a little, and
    // reaches the length while the end still sounds, so that the next song can be started
    // before the output runs dry. Paused: where the sound stopped.
    std::uint32_t PositionMs();
    std::uint32_t LengthMs(std::uint32_t& ms);
    PlayMode Mode();

    // Called before every command: notices a lost sound server, starts the output again while
    // the song waits to play, and lets the output rest once an ended song has sounded out.
    void Tidy();

    // For closing: the output of a song that played to its end (or never played), still
    // sounding what it holds; null otherwise. The player is destroyed right after.
    std::unique_ptr<AudioOutput> TakeSoundingOutput();

    void Feed(AudioOutput& output) override;

  private:
    Player() = default;
    std::int64_t ToSample(std::uint32_t ms, std::int64_t length) const;
    std::uint32_t ToMs(std::int64_t sample) const;
    // Under the lock: an ended song stops, at its end.
    void SettleLocked();
    std::int64_t ShownLocked() const;  // the position, under the lock
    std::int64_t HeardLocked() const;  // the sample of this song heard now, under the lock
    // Under the lock: the sound stands at sample, and decoding goes on from there.
    void HoldAt(std::int64_t sample);
    std::int64_t ResumeSample(std::int64_t sample) const;  // under the lock
    void StartOutput();
    void Silence();  // drops what this song has queued and closes the stream

    std::unique_ptr<Decoder> decoder_;
    std::unique_ptr<AudioOutput> output_;  // declared last: closed first, before the decoder
    bool attached_ = false;                // this song feeds the output (main thread)
    std::chrono::steady_clock::time_point retryAt_;  // next start of a missing output

    // Shared with the audio thread, under the output's lock.
    PlayMode mode_ = PlayMode::Stopped;
    bool finished_ = false;      // every sample of the song up to position_ is queued
    std::int64_t position_ = 0;  // next sample to decode
    std::int64_t end_ = 0;       // playing stops here ("to", or the end of the song)
    std::int64_t shown_ = 0;     // the position while not playing
    // Where the sound is: once this song's first queued sample anchorSample_ is the stream's
    // sample anchorFrame_, the heard position follows the stream; until then it is held_.
    bool anchored_ = false;
    std::int64_t anchorSample_ = 0;
    std::int64_t anchorFrame_ = 0;
    std::int64_t held_ = 0;
    std::int64_t shownBeforePause_ = 0;  // the position just before the last pause
};

}  // namespace mci::posix
