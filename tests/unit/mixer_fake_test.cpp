// The fake mixer behind the program's GetVolume/SetVolume/GetMute/SetMute.
#include <gtest/gtest.h>

#include "volume/mixer.h"
#include "volume/mixer_fake.h"

class FakeMixer : public ::testing::Test {
  protected:
    void SetUp() override { mixer_fake::Reset(); }
    void TearDown() override { mixer_fake::Reset(); }
};

TEST_F(FakeMixer, ProgramAndOutsideChangesMeet) {
    EXPECT_EQ(SetVolume(12000), MixerDone);
    EXPECT_EQ(GetVolume(), 12000u);
    EXPECT_EQ(mixer_fake::StoredVolume(), 12000u);
    mixer_fake::ChangeVolumeOutside(30000);  // another program turns the knob
    EXPECT_EQ(GetVolume(), 30000u);
    mixer_fake::ChangeMuteOutside(1);
    EXPECT_EQ(GetMute(), 1);
    EXPECT_EQ(SetMute(0), MixerDone);
    EXPECT_EQ(mixer_fake::StoredMute(), 0);
    // Limited like a real mixer: the knob's right end can go past the scale.
    SetVolume(66000);
    EXPECT_EQ(GetVolume(), 65535u);
    SetMute(7);  // anything but 0 mutes
    EXPECT_EQ(GetMute(), 1);
}

TEST_F(FakeMixer, WithoutAMixerGettersGiveZeroAndSettersChangeNothing) {
    SetVolume(40000);
    SetMute(1);
    mixer_fake::SetPresent(false);
    EXPECT_EQ(GetVolume(), 0u);
    EXPECT_EQ(GetMute(), 0);
    EXPECT_EQ(SetVolume(100), MixerNoDevice);
    EXPECT_EQ(SetMute(0), MixerNoDevice);
    EXPECT_EQ(mixer_fake::StoredVolume(), 40000u);
    EXPECT_EQ(mixer_fake::StoredMute(), 1);
    mixer_fake::SetPresent(true);  // plugged back in: the old values are there again
    EXPECT_EQ(GetVolume(), 40000u);
}

TEST_F(FakeMixer, CountsCallsButNotTheTestsOwnReads) {
    GetVolume();
    GetVolume();
    SetVolume(1);
    GetMute();
    mixer_fake::SetPresent(false);
    SetMute(1);  // refused calls count too
    mixer_fake::StoredVolume();
    const auto calls = mixer_fake::Calls();
    EXPECT_EQ(calls.getVolume, 2);
    EXPECT_EQ(calls.setVolume, 1);
    EXPECT_EQ(calls.getMute, 1);
    EXPECT_EQ(calls.setMute, 1);
    mixer_fake::Reset();
    EXPECT_EQ(mixer_fake::Calls().getVolume, 0);
    EXPECT_EQ(GetVolume(), 65535u);
    EXPECT_EQ(GetMute(), 0);
}
