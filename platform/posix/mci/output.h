// The sound output of the multimedia device: a queue of decoded samples in front of a stream on
// the sound server (libpulse) or, where none runs, an SDL2 audio stream. The queue outlives the
// stream (paused, or while the sound server is away), and a song that has ended can hand its
// output, queue and stream still running, to the next song.
#pragma once

#include <SDL.h>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "platform/posix/mci/pulse.h"

namespace mci::posix {

class AudioOutput;

// What feeds an output: called on the stream's thread with the output locked, each time the
// stream takes from the queue, before it takes.
class Source {
  public:
    virtual void Feed(AudioOutput& output) = 0;

  protected:
    ~Source() = default;
};

class AudioOutput {
  public:
    // Signed 16-bit samples at rate and channels. Opens no stream yet; main thread only, as are
    // all members unless they say otherwise.
    AudioOutput(long rate, int channels);
    ~AudioOutput();  // the stream, if any, is closed silently in the background
    AudioOutput(const AudioOutput&) = delete;
    AudioOutput& operator=(const AudioOutput&) = delete;

    long Rate() const { return rate_; }
    int Channels() const { return channels_; }
    int FrameBytes() const { return channels_ * 2; }
    std::int64_t BufferSamples() const { return bufferSamples_; }

    // Opens the stream unless one runs (a running one takes at once what it has room for);
    // false when there is no output (no sound server).
    bool Start();
    // Closes the stream in the background. keepQueue false drops every queued sample, so the
    // output falls silent at once; true keeps them for the next Start.
    void Halt(bool keepQueue);
    // Halt(true) for a pause: a sound server's stream is flushed but kept open until the next
    // Start has opened the new one. An idle server may take a second or two to start a stream;
    // one that still plays a (silent) stream starts the new one at once.
    void Hush();
    // Closes a stream kept by Hush once it has been kept afterMs (milliseconds), so that a long
    // pause lets the sound server rest.
    void EndHush(std::int64_t afterMs);
    bool Running() const { return stream_ != nullptr; }
    // Closes the stream where it stands, on any thread, while nothing else uses this object.
    void CloseHere();
    // The stream was open but the sound server has gone (SDL reports the device stopped).
    bool Lost();

    void SetSource(Source* source);  // under the lock; null feeds nothing more
    // Drops the queued samples of the current source, keeping those of earlier ones.
    void DiscardOwn();
    // What is still to be heard, queued or in the stream, in milliseconds.
    std::int64_t PendingMs();
    // Under the lock (or inside Feed): samples queued of the current source, and of the sources
    // before it, which lie at the head and are taken first.
    std::int64_t OwnQueuedSamples() const {
        return static_cast<std::int64_t>(queued_ - foreign_) / FrameBytes();
    }
    std::int64_t ForeignQueuedSamples() const {
        return static_cast<std::int64_t>(foreign_) / FrameBytes();
    }
    // Milliseconds since the last sample was heard, 0 while some are still to be heard.
    std::int64_t QuietMs();
    // Under the lock (or inside Feed): samples the stream has taken from the queue since it
    // opened, and those of them heard so far.
    std::int64_t TakenFrames() const { return taken_; }
    std::int64_t HeardFrames() const;

    // For a Source inside Feed, on the audio thread: the free part of the queue that lies in one
    // piece (whole samples), and Commit to say how many bytes were written there.
    std::pair<std::uint8_t*, std::size_t> Space();
    void Commit(std::size_t bytes);

    // Keeps the stream's thread out for one scope (a no-op without a stream).
    class Lock {
      public:
        explicit Lock(AudioOutput& output);
        ~Lock();
        Lock(const Lock&) = delete;
        Lock& operator=(const Lock&) = delete;

      private:
        SDL_AudioDeviceID device_ = 0;
        std::optional<pulse::Lock> pulse_;
    };

    struct Stream;

  private:
    friend struct Stream;
    bool OpenStream();
    // The stream's thread, locked: takes up to bytes from the queue; returns the bytes taken.
    std::size_t Render(std::uint8_t* out, std::size_t bytes);

    long rate_;
    int channels_;
    std::int64_t bufferSamples_;
    std::unique_ptr<Stream> stream_;
    std::unique_ptr<Stream> hushed_;  // a paused song's, silent; no owner
    std::chrono::steady_clock::time_point hushedAt_;

    // Shared with the audio thread under the lock: a ring of queued bytes.
    Source* source_ = nullptr;
    std::vector<std::uint8_t> queue_;
    std::size_t head_ = 0;       // first queued byte
    std::size_t queued_ = 0;     // bytes queued
    std::size_t foreign_ = 0;    // of those, at the head: bytes of sources before the current one
    std::int64_t taken_ = 0;     // samples taken by the stream since it opened
    std::int64_t lastTake_ = 0;  // of those, the last SDL buffer's, playing since lastTakeAt_
    std::chrono::steady_clock::time_point lastTakeAt_;
    std::chrono::steady_clock::time_point lastSound_;
};

// Outputs released by closed songs. The main thread calls Reap on every command: it finishes
// the background closes that have come back, waiting for them until deadline at the most, and
// true means some close is still under way.
bool ReapOutputs(std::chrono::steady_clock::time_point deadline = {});

// A song closed after its end lets its queued samples sound on its own output, which closes
// itself once they have played; AdoptOutput hands such an output, still running, to the next
// song when rate and channels match (else null). Main thread only.
void LetOutputFinish(std::unique_ptr<AudioOutput> output);
std::unique_ptr<AudioOutput> AdoptOutput(long rate, int channels);
// Cuts every output that still lets a song finish (an output that takes one stream only).
void CutFinishingOutputs();

}  // namespace mci::posix
