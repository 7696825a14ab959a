// SDL2 audio output for the multimedia device.
#include "platform/posix/mci_output.h"

#include "platform/posix/sdl_audio.h"

namespace mci::posix {
namespace {

// About 90 ms per callback, a power of two. Each callback wakes the audio thread and the sound
// server's client thread; at this size playing costs about what a plain command-line player
// costs. The position between callbacks is interpolated by the player.
Uint16 BufferSamples(long rate) {
    Uint16 samples = 64;
    while (samples < 8192 && samples * 2 <= rate / 10) samples = static_cast<Uint16>(samples * 2);
    return samples;
}

}  // namespace

std::unique_ptr<AudioOutput> AudioOutput::Open(long rate, int channels, Fill fill, void* user) {
    std::unique_ptr<AudioOutput> output(new AudioOutput());
    if (!sdl_audio::Start()) return nullptr;
    output->subsystem_ = true;
    output->fill_ = fill;
    output->user_ = user;

    SDL_AudioSpec wanted{};
    wanted.freq = static_cast<int>(rate);
    wanted.format = AUDIO_S16SYS;
    wanted.channels = static_cast<Uint8>(channels);
    wanted.samples = BufferSamples(rate);
    wanted.callback = &AudioOutput::Callback;
    wanted.userdata = output.get();
    SDL_AudioSpec obtained{};
    // No changes allowed: SDL converts to whatever the hardware wants.
    output->device_ = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    if (output->device_ == 0) return nullptr;
    return output;
}

AudioOutput::~AudioOutput() {
    CloseDevice();
    if (subsystem_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void AudioOutput::CloseDevice() {
    if (device_ != 0) SDL_CloseAudioDevice(device_);
    device_ = 0;
}

void AudioOutput::SetRunning(bool running) {
    if (running == running_) return;
    running_ = running;
    SDL_PauseAudioDevice(device_, running ? 0 : 1);
}

void AudioOutput::Callback(void* self, Uint8* stream, int len) {
    auto* output = static_cast<AudioOutput*>(self);
    output->fill_(output->user_, stream, len);
}

}  // namespace mci::posix
