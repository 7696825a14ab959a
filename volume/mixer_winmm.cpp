// Master volume and mute through the winmm mixer: the speakers destination line of mixer 0.
// Nothing is kept open; every call looks the line and the control up again, so a sound card
// that comes or goes between calls is simply found or not found.
#include "volume/mixer_win32.h"

#include "volume/mixer.h"

#include <windows.h>

#include <mmsystem.h>

#include <algorithm>
#include <cstddef>

namespace {

constexpr UINT MixerDevice = 0;
constexpr DWORD SpeakersComponent = 4;  // MIXERLINE_COMPONENTTYPE_DST_SPEAKERS
constexpr DWORD ByComponentType = 3;    // MIXER_GETLINEINFOF_COMPONENTTYPE
constexpr DWORD OneControlByType = 2;   // MIXER_GETLINECONTROLSF_ONEBYTYPE
constexpr DWORD ValueDetails = 0;       // MIXER_GETCONTROLDETAILSF_VALUE / SETCONTROLDETAILSF_VALUE
constexpr DWORD VolumeControl = 0x50030001;
constexpr DWORD MuteControl = 0x20010002;

// The control record handed to the mixer is 172 bytes: a MIXERCONTROLA and room to spare, as
// the program has always passed it; Windows wants "at least" the record's size. Wine insists on
// the exact size, so a refusal is answered by asking once more with that. The other records are
// the system's own sizes (168, 24 and 24 bytes in a 32-bit program; 64-bit Windows checks for
// its larger ones).
constexpr DWORD ControlRecordSize = 172;
union ControlRecord {
    MIXERCONTROLA control;
    unsigned char bytes[ControlRecordSize];
};
static_assert(sizeof(ControlRecord) == ControlRecordSize);
#ifndef _WIN64
static_assert(sizeof(MIXERLINEA) == 168 && sizeof(MIXERLINECONTROLSA) == 24 &&
              sizeof(MIXERCONTROLDETAILS) == 24);
#endif

// The mixer device, addressed by its number as a mixer handle.
HMIXEROBJ Mixer() {
    return reinterpret_cast<HMIXEROBJ>(static_cast<UINT_PTR>(MixerDevice));
}

// Finds the control of the given type on the speakers line; false (with the mixer's error in
// error) when the line or the control is not there.
bool FindControl(DWORD controlType, DWORD& controlId, MMRESULT& error) {
    MIXERLINEA line{};
    line.cbStruct = sizeof(line);
    line.dwComponentType = SpeakersComponent;
    const HMIXEROBJ mixer = Mixer();
    error = mixerGetLineInfoA(mixer, &line, ByComponentType);
    if (error != MMSYSERR_NOERROR) return false;

    ControlRecord record{};
    MIXERLINECONTROLSA request{};
    request.cbStruct = sizeof(request);
    request.dwLineID = line.dwLineID;
    request.dwControlType = controlType;
    request.cControls = 1;
    request.cbmxctrl = ControlRecordSize;
    request.pamxctrl = &record.control;
    error = mixerGetLineControlsA(mixer, &request, OneControlByType);
    if (error == MMSYSERR_INVALPARAM) {
        request.cbmxctrl = sizeof(MIXERCONTROLA);
        error = mixerGetLineControlsA(mixer, &request, OneControlByType);
    }
    if (error != MMSYSERR_NOERROR) return false;
    controlId = record.control.dwControlID;
    return true;
}

MIXERCONTROLDETAILS ValueTransfer(DWORD controlId, DWORD* value) {
    MIXERCONTROLDETAILS details{};
    details.cbStruct = sizeof(details);
    details.dwControlID = controlId;
    details.cChannels = 1;
    details.cbDetails = sizeof(DWORD);
    details.paDetails = value;
    return details;
}

DWORD ReadControl(DWORD controlType) {
    DWORD controlId = 0;
    MMRESULT error = 0;
    if (!FindControl(controlType, controlId, error)) return 0;
    DWORD value = 0;
    MIXERCONTROLDETAILS details = ValueTransfer(controlId, &value);
    const HMIXEROBJ mixer = Mixer();
    if (mixerGetControlDetailsA(mixer, &details, ValueDetails) != MMSYSERR_NOERROR) return 0;
    return value;
}

MMRESULT WriteControl(DWORD controlType, DWORD value) {
    DWORD controlId = 0;
    MMRESULT error = 0;
    if (!FindControl(controlType, controlId, error)) return error;
    MIXERCONTROLDETAILS details = ValueTransfer(controlId, &value);
    const HMIXEROBJ mixer = Mixer();
    return mixerSetControlDetails(mixer, &details, ValueDetails);
}

// Mixer 0 opened with a message-only window as its callback: the mixer then posts
// MM_MIXM_CONTROL_CHANGE to the program's thread whenever a control changes, which ends the
// main loop's wait. The window's class ignores the message; waking up is all it is for.
// https://learn.microsoft.com/windows/win32/multimedia/mm-mixm-control-change
class ChangeWatch {
  public:
    ChangeWatch() {
        window_ = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
        if (window_ == nullptr) return;
        if (mixerOpen(&mixer_, MixerDevice, reinterpret_cast<DWORD_PTR>(window_), 0,
                      CALLBACK_WINDOW) != MMSYSERR_NOERROR) {
            mixer_ = nullptr;
        }
    }
    ~ChangeWatch() {
        if (mixer_ != nullptr) mixerClose(mixer_);
        if (window_ != nullptr) DestroyWindow(window_);
    }
    ChangeWatch(const ChangeWatch&) = delete;
    ChangeWatch& operator=(const ChangeWatch&) = delete;

    bool Watching() const { return mixer_ != nullptr; }

  private:
    HWND window_ = nullptr;
    HMIXER mixer_ = nullptr;
};

}  // namespace

namespace mixer_winmm {

// Opened on the first call, from the main loop, so that the messages go to its thread.
bool ReportsChanges() {
    static ChangeWatch watch;
    return watch.Watching();
}

std::uint32_t GetVolume() {
    return ReadControl(VolumeControl);
}

std::uint32_t SetVolume(std::uint32_t value) {
    return WriteControl(VolumeControl, std::min<std::uint32_t>(value, 65535));
}

int GetMute() {
    return ReadControl(MuteControl) != 0 ? 1 : 0;
}

std::uint32_t SetMute(int value) {
    return WriteControl(MuteControl, value != 0 ? 1 : 0);
}

}  // namespace mixer_winmm
