// The program's master volume on Linux: the system mixer and nothing else.
#include "volume/mixer.h"
#include "volume/mixer_system.h"

std::uint32_t GetVolume() {
    return mixer_system::GetVolume();
}
std::uint32_t SetVolume(std::uint32_t value) {
    return mixer_system::SetVolume(value);
}
int GetMute() {
    return mixer_system::GetMute();
}
std::uint32_t SetMute(int value) {
    return mixer_system::SetMute(value);
}
bool MixerReportsChanges() {
    return mixer_system::ReportsChanges();
}
int MixerChangeDescriptor() {
    return mixer_system::ChangeDescriptor();
}
void TakeMixerChanges() {
    mixer_system::TakeChanges();
}
