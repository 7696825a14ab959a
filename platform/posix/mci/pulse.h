// The sound server's own interface (PulseAudio, or PipeWire serving it) for the device's output:
// one connection for the process, and playback streams with a long server buffer, so that the
// program wakes about once a second while a song plays. A stream is closed or flushed to fall
// silent.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace mci::posix::pulse {

// Whether the sound server's interface is to be tried: not when SDL_AUDIODRIVER names another
// of SDL's drivers (the dummy driver of the tests, ALSA).
bool Wanted();

// Keeps the connection's thread out for one scope; recursive. Not on that thread itself.
class Lock {
  public:
    Lock();
    ~Lock();
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;
};

// Called on the connection's thread, locked, to fill up to bytes at out; returns the bytes
// written (whole samples), fewer when there is no more for now.
using Fill = std::function<std::size_t(std::uint8_t* out, std::size_t bytes)>;

class Stream {
  public:
    // Connects (anew, after a lost server) and opens a stream of signed 16-bit samples; null
    // when no server answers within a moment. Main thread.
    static std::unique_ptr<Stream> Open(long rate, int channels, Fill fill);
    ~Stream();  // closes the stream: what the server still holds of it is dropped
    Stream(const Stream&) = delete;
    Stream& operator=(const Stream&) = delete;

    // Under the lock: writes what the server has room for now (after a new source has been set).
    void Kick();
    // Under the lock: drops what the server holds, so that the stream falls silent but stays
    // open (a source that fills nothing more keeps it so).
    void Flush();
    // Under the lock: samples (per channel) of the stream that have been heard so far.
    std::int64_t HeardFrames() const;
    bool Lost() const;  // under the lock: the server has gone

    struct Handle;

  private:
    Stream() = default;
    std::unique_ptr<Handle> handle_;
};

// The title of the song being played: the name of the streams open and opened from now on.
// Main thread.
void SetTitle(const std::string& title);

}  // namespace mci::posix::pulse
