// Short sounds through SDL2 audio: the WAV is converted by SDL, queued on a device of its own
// and the device closed again (from the main loop's idle sleep) once the queue has played out. Only
// SDL's audio subsystem is used, with its reference count, so other SDL audio users in the process
// keep their devices.
#include <SDL.h>

#include <chrono>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/posix/sdl_audio.h"
#include "platform/posix/system/sound.h"
#include "platform/system.h"

namespace sys {
namespace {

using Clock = std::chrono::steady_clock;

// An open output device for queued sound in one format.
class SoundOutput {
  public:
    SoundOutput(SDL_AudioDeviceID device, const SDL_AudioSpec& format)
        : device_(device), format_(format) {}
    ~SoundOutput() { SDL_CloseAudioDevice(device_); }
    SoundOutput(const SoundOutput&) = delete;
    SoundOutput& operator=(const SoundOutput&) = delete;

    bool Plays(const SDL_AudioSpec& format) const {
        return format.freq == format_.freq && format.format == format_.format &&
               format.channels == format_.channels;
    }
    // Replaces whatever is still queued, so a sound started again begins at its start.
    bool Play(const Uint8* data, Uint32 length, Clock::time_point done) {
        SDL_ClearQueuedAudio(device_);
        if (SDL_QueueAudio(device_, data, length) != 0) return false;
        done_ = done;
        SDL_PauseAudioDevice(device_, 0);
        return true;
    }
    bool Finished(Clock::time_point now) const {
        return now >= done_ && SDL_GetQueuedAudioSize(device_) == 0;
    }

  private:
    SDL_AudioDeviceID device_;
    SDL_AudioSpec format_;
    Clock::time_point done_{};  // when the last sample should have left the speaker
};

// The audio subsystem while the process needs it, and at most one sound device: repeated
// clicks cannot pile up devices, and some SDL drivers (the dummy one) open only one output.
class SoundPlayer {
  public:
    ~SoundPlayer() {
        output_.reset();
        if (initialised_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }

    bool Start() {
        if (!initialised_) initialised_ = sdl_audio::Start();
        return initialised_;
    }

    // A device for sound in this format: the open one when it fits, else a new one.
    // Closing a device that still plays waits for SDL to drain it, so that is avoided.
    SoundOutput* OutputFor(SDL_AudioSpec format) {
        if (output_ && output_->Plays(format)) return output_.get();
        output_.reset();
        format.callback = nullptr;  // queued, not pulled
        const SDL_AudioDeviceID device = SDL_OpenAudioDevice(nullptr, 0, &format, nullptr, 0);
        if (device == 0) return nullptr;
        output_ = std::make_unique<SoundOutput>(device, format);
        return output_.get();
    }

    void ReleaseFinished() {
        if (output_ && output_->Finished(Clock::now())) output_.reset();
    }

  private:
    bool initialised_ = false;
    std::unique_ptr<SoundOutput> output_;
};

SoundPlayer& Player() {
    static SoundPlayer player;
    return player;
}

struct WavBuffer {
    Uint8* data = nullptr;
    Uint32 length = 0;
    ~WavBuffer() { SDL_FreeWAV(data); }
};

// About 20 ms of sound per device buffer: closing a device waits for the buffer in flight,
// and SDL's usual 4096 frames would hold the caller up for a noticeable moment.
Uint16 SmallBuffer(int frequency) {
    Uint16 frames = 64;
    while (frames < 4096 && frames < frequency / 50) frames = static_cast<Uint16>(frames * 2);
    return frames;
}

std::chrono::milliseconds PlayingTime(const SDL_AudioSpec& format, Uint32 bytes) {
    const auto frameBytes =
        static_cast<std::uint64_t>(SDL_AUDIO_BITSIZE(format.format) / 8) * format.channels;
    if (frameBytes == 0 || format.freq <= 0) return {};
    const std::uint64_t frames = bytes / frameBytes + format.samples;  // plus the device buffer
    return std::chrono::milliseconds(frames * 1000 / static_cast<std::uint64_t>(format.freq) + 50);
}

}  // namespace

void ReleaseFinishedSounds() {
    Player().ReleaseFinished();
}

bool PlayWav(const std::uint8_t* wav, std::size_t size) {
    if (!wav || size == 0 || size > INT_MAX) return false;
    SoundPlayer& player = Player();
    player.ReleaseFinished();
    if (!player.Start()) return false;
    SDL_RWops* stream = SDL_RWFromConstMem(wav, static_cast<int>(size));
    if (!stream) return false;
    SDL_AudioSpec format{};
    WavBuffer buffer;
    if (!SDL_LoadWAV_RW(stream, 1, &format, &buffer.data, &buffer.length)) return false;
    format.samples = SmallBuffer(format.freq);
    SoundOutput* output = player.OutputFor(format);
    return output && output->Play(buffer.data, buffer.length,
                                  Clock::now() + PlayingTime(format, buffer.length));
}

}  // namespace sys
