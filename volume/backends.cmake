# The Linux master volume, one library implementing volume/mixer.h: the PulseAudio default sink
# with ALSA's "Master" as fallback, chosen on every call (mixer_linux.cpp). Tests link
# klingtal_mixer_fake (in the top-level file) instead.
pkg_check_modules(PULSE REQUIRED IMPORTED_TARGET libpulse)
pkg_check_modules(ALSA REQUIRED IMPORTED_TARGET alsa)

add_library(klingtal_mixer_system STATIC volume/mixer_linux.cpp volume/mixer_pulse.cpp
                                         volume/mixer_alsa.cpp)
target_include_directories(klingtal_mixer_system PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(klingtal_mixer_system PUBLIC PkgConfig::PULSE PkgConfig::ALSA
                      Threads::Threads)
