// The master volume on Windows Vista and later is the default output device's endpoint volume:
// what the program sets, any other client of the device reads, and a change made by another
// client ends the main loop's wait and shows in what the program reads.
#include <windows.h>

#include <endpointvolume.h>
#include <gtest/gtest.h>
#include <mmdeviceapi.h>

#include <chrono>

#include "platform/gui.h"
#include "volume/mixer.h"

namespace {

// Another client of the default output device, as the taskbar's volume control is.
IAudioEndpointVolume* OutsideClient() {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    IMMDeviceEnumerator* devices = nullptr;
    IMMDevice* device = nullptr;
    IAudioEndpointVolume* volume = nullptr;
    if (SUCCEEDED(CoCreateInstance(__uuidof(MMDeviceEnumerator), nullptr, CLSCTX_INPROC_SERVER,
                                   __uuidof(IMMDeviceEnumerator),
                                   reinterpret_cast<void**>(&devices))) &&
        SUCCEEDED(devices->GetDefaultAudioEndpoint(eRender, eConsole, &device))) {
        device->Activate(__uuidof(IAudioEndpointVolume), CLSCTX_INPROC_SERVER, nullptr,
                         reinterpret_cast<void**>(&volume));
    }
    if (device != nullptr) device->Release();
    if (devices != nullptr) devices->Release();
    return volume;
}

TEST(Win32Mixer, TheMasterVolumeIsTheDefaultOutputDevicesEndpoint) {
    IAudioEndpointVolume* outside = OutsideClient();
    float level = 0;
    if (outside == nullptr || FAILED(outside->GetMasterVolumeLevelScalar(&level)) ||
        FAILED(outside->SetMasterVolumeLevelScalar(level, nullptr))) {
        // Then the winmm mixer serves, as on Windows XP (and under Wine 8, whose endpoint
        // cannot set the level).
        GTEST_SKIP() << "no output device whose endpoint sets its level";
    }
    const std::uint32_t before = GetVolume();
    ASSERT_EQ(SetVolume(30000), 0u);
    ASSERT_TRUE(SUCCEEDED(outside->GetMasterVolumeLevelScalar(&level)));
    EXPECT_NEAR(level * 65535.0, 30000.0, 2.0);

    ASSERT_TRUE(MixerReportsChanges());
    while (gui::PollEvent().type != gui::EventNone) {
    }
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(SUCCEEDED(outside->SetMasterVolumeLevelScalar(0.25f, nullptr)));
    gui::WaitForEvent(5000);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(4));
    EXPECT_NEAR(static_cast<double>(GetVolume()), 16384.0, 2.0);

    ASSERT_TRUE(SUCCEEDED(outside->SetMute(TRUE, nullptr)));
    EXPECT_EQ(GetMute(), 1);
    SetMute(0);
    SetVolume(before);
    outside->Release();
}

}  // namespace
