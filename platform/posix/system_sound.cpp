// Short sounds through SDL2 audio: the WAV is converted by SDL, queued on a device of its own
// and the device closed again once the queue has played out. Only SDL's audio subsystem is
// used, with its reference count, so other SDL audio users in the process keep their devices.
#include <SDL.h>

#include <chrono>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/posix/system_sound.h"
#include "platform/system.h"

namespace sys {
namespace {

using Clock = std::chrono::steady_clock;

// More sounds at once than this and the oldest is cut off, so repeated clicks cannot pile up
// open devices.
constexpr std::size_t MaxSounds = 4;

// An open output device playing one queued sound.
class SoundOutput {
  public:
    SoundOutput(SDL_AudioDeviceID device, Clock::time_point done) : device_(device), done_(done) {}
    ~SoundOutput() {
        if (device_ != 0) SDL_CloseAudioDevice(device_);
    }
    SoundOutput(SoundOutput&& other) noexcept : device_(other.device_), done_(other.done_) {
        other.device_ = 0;
    }
    SoundOutput& operator=(SoundOutput&& other) noexcept {
        std::swap(device_, other.device_);
        std::swap(done_, other.done_);
        return *this;
    }
    bool Finished(Clock::time_point now) const {
        return now >= done_ && SDL_GetQueuedAudioSize(device_) == 0;
    }

  private:
    SDL_AudioDeviceID device_;
    Clock::time_point done_;  // when the last sample should have left the speaker
};

// The audio subsystem while the process needs it; quits it again at exit.
class SoundPlayer {
  public:
    ~SoundPlayer() {
        outputs_.clear();
        if (initialised_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }

    bool Start() {
        if (!initialised_) initialised_ = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
        return initialised_;
    }

    void Add(SoundOutput output) {
        if (outputs_.size() >= MaxSounds) outputs_.erase(outputs_.begin());
        outputs_.push_back(std::move(output));
    }

    void ReleaseFinished() {
        if (outputs_.empty()) return;
        const auto now = Clock::now();
        std::erase_if(outputs_, [now](const SoundOutput& output) { return output.Finished(now); });
    }

  private:
    bool initialised_ = false;
    std::vector<SoundOutput> outputs_;
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

std::chrono::milliseconds PlayingTime(const SDL_AudioSpec& spec, Uint32 bytes) {
    const auto frameBytes =
        static_cast<std::uint64_t>(SDL_AUDIO_BITSIZE(spec.format) / 8) * spec.channels;
    if (frameBytes == 0 || spec.freq <= 0) return {};
    const std::uint64_t frames = bytes / frameBytes + spec.samples;  // plus the device buffer
    return std::chrono::milliseconds(frames * 1000 / static_cast<std::uint64_t>(spec.freq) + 50);
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
    SDL_AudioSpec spec{};
    WavBuffer buffer;
    if (!SDL_LoadWAV_RW(stream, 1, &spec, &buffer.data, &buffer.length)) return false;
    spec.callback = nullptr;  // queued, not pulled
    SDL_AudioSpec obtained{};
    const SDL_AudioDeviceID device = SDL_OpenAudioDevice(nullptr, 0, &spec, &obtained, 0);
    if (device == 0) return false;
    SoundOutput output(device, Clock::now() + PlayingTime(spec, buffer.length));
    if (SDL_QueueAudio(device, buffer.data, buffer.length) != 0) return false;
    SDL_PauseAudioDevice(device, 0);
    player.Add(std::move(output));
    return true;
}

}  // namespace sys
