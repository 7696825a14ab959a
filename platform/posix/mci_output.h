// One SDL2 audio output device fed by a callback, and SDL's audio subsystem held for as long as
// the device lives. SDL counts subsystem users, so other parts of the program (the About
// window's sound) may use SDL audio at the same time; nothing here ever shuts SDL down.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <memory>

namespace mci::posix {

class AudioOutput {
  public:
    // Called on SDL's audio thread with the device locked: fill all len bytes of stream.
    using Fill = void (*)(void* user, std::uint8_t* stream, int len);

    // Signed 16-bit samples at rate and channels; starts paused. Null when there is no output.
    // Main thread only, as are all members.
    static std::unique_ptr<AudioOutput> Open(long rate, int channels, Fill fill, void* user);
    // Stops the callback and releases the device (unless CloseDevice did), then SDL's audio.
    ~AudioOutput();
    AudioOutput(const AudioOutput&) = delete;
    AudioOutput& operator=(const AudioOutput&) = delete;

    void SetRunning(bool running);
    // Stops the callback and releases the device; may wait for the sound server, so it may run
    // on any thread, once, while nothing else uses this object. SDL's audio stays held.
    void CloseDevice();
    void Lock() { SDL_LockAudioDevice(device_); }  // keeps the callback out
    void Unlock() { SDL_UnlockAudioDevice(device_); }

  private:
    AudioOutput() = default;
    static void Callback(void* self, Uint8* stream, int len);

    bool subsystem_ = false;  // this object holds one SDL audio subsystem reference
    SDL_AudioDeviceID device_ = 0;
    bool running_ = false;
    Fill fill_ = nullptr;
    void* user_ = nullptr;
};

// Holds the callback out for one scope.
class OutputLock {
  public:
    explicit OutputLock(AudioOutput& output) : output_(output) { output_.Lock(); }
    ~OutputLock() { output_.Unlock(); }
    OutputLock(const OutputLock&) = delete;
    OutputLock& operator=(const OutputLock&) = delete;

  private:
    AudioOutput& output_;
};

}  // namespace mci::posix
