// For the test driver: which mixer the program's GetVolume etc. use, chosen at run time.
// Only in programs linked with klingtal_mixer_switchable.
#pragma once

enum class MixerBackend { Fake, System };

// The fake until chosen otherwise, so a forgotten choice never touches the real volume.
// Main thread, before or between mixer calls.
void SelectMixer(MixerBackend backend);
MixerBackend SelectedMixer();
