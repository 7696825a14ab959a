// The About sound through DirectSound, looked up at run time so that a system without it (or
// without a sound card) still runs the program, silently.
#include "platform/system.h"

#include <windows.h>

#include <dsound.h>
#include <mmsystem.h>

#include <cstring>

#include "platform/win32/handle_win32.h"
#include "platform/win32/system/wav.h"

namespace sys {
namespace {

template <typename Interface>
struct ComRelease {
    Interface* pointer = nullptr;
    ~ComRelease() { Reset(); }
    void Reset() {
        if (pointer != nullptr) pointer->Release();
        pointer = nullptr;
    }
};

// The sound plays on after PlayWav returns, so its buffer, the device and the library live
// until the next sound or the end of the process. Members end in reverse order: buffer first.
struct Playing {
    win32::Library library;
    ComRelease<IDirectSound> device;
    ComRelease<IDirectSoundBuffer> buffer;
};
Playing playing;

using DirectSoundCreateFn = HRESULT(WINAPI*)(LPCGUID, LPDIRECTSOUND*, LPUNKNOWN);

bool FillBuffer(IDirectSoundBuffer* buffer, const win32::WavParts& wav) {
    void* first = nullptr;
    void* second = nullptr;
    DWORD firstSize = 0;
    DWORD secondSize = 0;
    if (FAILED(buffer->Lock(0, static_cast<DWORD>(wav.dataSize), &first, &firstSize, &second,
                            &secondSize, 0))) {
        return false;
    }
    std::memcpy(first, wav.data, firstSize);
    if (second != nullptr) std::memcpy(second, wav.data + firstSize, secondSize);
    buffer->Unlock(first, firstSize, second, secondSize);
    return true;
}

}  // namespace

bool PlayWav(const std::uint8_t* wav, std::size_t size) {
    win32::WavParts parts;
    if (!win32::ParseWav(wav, size, parts) || parts.dataSize > 0x0FFFFFFF) return false;

    playing.buffer.Reset();
    playing.device.Reset();
    playing.library.Reset(LoadLibraryA("DSOUND.DLL"));
    if (!playing.library) return false;
    auto create = reinterpret_cast<DirectSoundCreateFn>(
        reinterpret_cast<void (*)()>(GetProcAddress(playing.library.Get(), "DirectSoundCreate")));
    if (create == nullptr || FAILED(create(nullptr, &playing.device.pointer, nullptr))) {
        return false;
    }
    HWND owner = GetForegroundWindow();
    if (owner == nullptr) owner = GetDesktopWindow();
    if (FAILED(playing.device.pointer->SetCooperativeLevel(owner, DSSCL_NORMAL))) return false;

    WAVEFORMATEX format{};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = parts.channels;
    format.nSamplesPerSec = parts.samplesPerSecond;
    format.wBitsPerSample = parts.bitsPerSample;
    format.nBlockAlign = static_cast<WORD>(parts.channels * parts.bitsPerSample / 8);
    format.nAvgBytesPerSec = format.nSamplesPerSec * format.nBlockAlign;

    std::size_t bytes = parts.dataSize - parts.dataSize % format.nBlockAlign;  // whole frames
    if (bytes == 0) return false;

    DSBUFFERDESC description{};
    description.dwSize = sizeof(description);
    // Global focus: the sound keeps playing when another window becomes active.
    description.dwFlags = DSBCAPS_GLOBALFOCUS;
    description.dwBufferBytes = static_cast<DWORD>(bytes);
    description.lpwfxFormat = &format;
    if (FAILED(playing.device.pointer->CreateSoundBuffer(&description, &playing.buffer.pointer,
                                                         nullptr))) {
        return false;
    }
    parts.dataSize = bytes;
    if (!FillBuffer(playing.buffer.pointer, parts)) return false;
    return SUCCEEDED(playing.buffer.pointer->Play(0, 0, 0));
}

}  // namespace sys
