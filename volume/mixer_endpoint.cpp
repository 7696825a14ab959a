// Master volume and mute of the default output device through the Core Audio endpoint volume,
// on the scale 0..65535. The device is opened once, on the first call from the main thread, and
// kept for the run; its change notification, which arrives on a thread of the audio service,
// posts a message to a window of the main thread, which ends the main loop's wait.
// https://learn.microsoft.com/windows/win32/api/endpointvolume/nn-endpointvolume-iaudioendpointvolume
#include <windows.h>

#include <initguid.h>  // first: defines the GUIDs the Core Audio headers declare, in this file

#include <endpointvolume.h>
#include <mmdeviceapi.h>

#include <algorithm>
#include <cmath>

#include "volume/mixer.h"
#include "volume/mixer_win32.h"

namespace mixer_endpoint {
namespace {

// A window of the main thread, and the callback that wakes it. The callback lives as long as
// the process and is never counted: nothing deletes it.
class ChangeCallback final : public IAudioEndpointVolumeCallback {
  public:
    explicit ChangeCallback(HWND window) : window_(window) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (object == nullptr) return E_POINTER;
        if (iid == __uuidof(IUnknown) || iid == __uuidof(IAudioEndpointVolumeCallback)) {
            *object = static_cast<IAudioEndpointVolumeCallback*>(this);
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    // Any thread. The message means nothing to the window; waking its thread is the point.
    HRESULT STDMETHODCALLTYPE OnNotify(PAUDIO_VOLUME_NOTIFICATION_DATA) override {
        PostMessageW(window_, WM_APP, 0, 0);
        return S_OK;
    }

  private:
    HWND window_;
};

struct Endpoint {
    IAudioEndpointVolume* volume = nullptr;
    bool watching = false;
};

Endpoint Open() {
    Endpoint endpoint;
    // Apartment-threaded, as the gui's shell calls want it; a second initialisation does no harm.
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    IMMDeviceEnumerator* devices = nullptr;
    if (FAILED(CoCreateInstance(__uuidof(MMDeviceEnumerator), nullptr, CLSCTX_INPROC_SERVER,
                                __uuidof(IMMDeviceEnumerator),
                                reinterpret_cast<void**>(&devices)))) {
        return endpoint;  // Windows XP: no Core Audio
    }
    IMMDevice* device = nullptr;
    if (SUCCEEDED(devices->GetDefaultAudioEndpoint(eRender, eConsole, &device))) {
        device->Activate(__uuidof(IAudioEndpointVolume), CLSCTX_INPROC_SERVER, nullptr,
                         reinterpret_cast<void**>(&endpoint.volume));
        device->Release();
    }
    devices->Release();
    if (endpoint.volume == nullptr) return endpoint;
    // An endpoint that cannot set its level is no master volume (Wine 8 answers E_NOTIMPL and
    // reports full volume for ever); writing the level it has changes nothing audible.
    float level = 0;
    if (FAILED(endpoint.volume->GetMasterVolumeLevelScalar(&level)) ||
        FAILED(endpoint.volume->SetMasterVolumeLevelScalar(level, nullptr))) {
        endpoint.volume->Release();
        endpoint.volume = nullptr;
        return endpoint;
    }
    HWND window = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    if (window != nullptr) {
        static ChangeCallback callback(window);
        endpoint.watching = SUCCEEDED(endpoint.volume->RegisterControlChangeNotify(&callback));
    }
    return endpoint;
}

// Kept for the life of the process, like the rest of what is opened at start.
Endpoint& TheEndpoint() {
    static Endpoint endpoint = Open();
    return endpoint;
}

}  // namespace

bool Available() {
    return TheEndpoint().volume != nullptr;
}

bool ReportsChanges() {
    return TheEndpoint().watching;
}

std::uint32_t GetVolume() {
    float level = 0;
    if (!Available() || FAILED(TheEndpoint().volume->GetMasterVolumeLevelScalar(&level))) return 0;
    return static_cast<std::uint32_t>(std::lround(std::clamp(level, 0.0f, 1.0f) * 65535.0f));
}

std::uint32_t SetVolume(std::uint32_t value) {
    if (!Available()) return MixerNoDevice;
    const float level = static_cast<float>(std::min<std::uint32_t>(value, 65535)) / 65535.0f;
    return SUCCEEDED(TheEndpoint().volume->SetMasterVolumeLevelScalar(level, nullptr))
               ? MixerDone
               : MixerFailed;
}

int GetMute() {
    BOOL muted = FALSE;
    if (!Available() || FAILED(TheEndpoint().volume->GetMute(&muted))) return 0;
    return muted ? 1 : 0;
}

std::uint32_t SetMute(int value) {
    if (!Available()) return MixerNoDevice;
    return SUCCEEDED(TheEndpoint().volume->SetMute(value != 0 ? TRUE : FALSE, nullptr))
               ? MixerDone
               : MixerFailed;
}

}  // namespace mixer_endpoint
