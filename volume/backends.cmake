# Linux mixer: PulseAudio default sink first, ALSA "Master" as fallback (mixer_pulse*.cpp,
# mixer_alsa*.cpp, and mixer_linux.cpp which chooses between them).
pkg_check_modules(PULSE REQUIRED IMPORTED_TARGET libpulse)
pkg_check_modules(ALSA REQUIRED IMPORTED_TARGET alsa)
klingtal_sources(mixer_system_sources . volume/mixer_pulse*.cpp volume/mixer_alsa*.cpp
                 volume/mixer_linux*.cpp)
klingtal_library(klingtal_mixer_system SOURCES ${mixer_system_sources})
if(mixer_system_sources)
    target_link_libraries(klingtal_mixer_system PUBLIC PkgConfig::PULSE PkgConfig::ALSA)
endif()
