// The program's master volume in tests: the in-memory fake.
#include "volume/mixer_fake.h"
#include "volume/mixer.h"

std::uint32_t GetVolume() {
    return mixer_fake::GetVolume();
}
std::uint32_t SetVolume(std::uint32_t value) {
    return mixer_fake::SetVolume(value);
}
int GetMute() {
    return mixer_fake::GetMute();
}
std::uint32_t SetMute(int value) {
    return mixer_fake::SetMute(value);
}
bool MixerReportsChanges() {
    return mixer_fake::ReportsChanges();
}
int MixerChangeDescriptor() {
    return mixer_fake::ChangeDescriptor();
}
void TakeMixerChanges() {
    mixer_fake::TakeChanges();
}
