# The master volume's backend sets, each one library implementing volume/mixer.h; a program
# links one of them:
#   klingtal_mixer_system  Linux: the PulseAudio default sink with ALSA's "Master" as fallback,
#                          chosen on every call (mixer_linux.cpp). Windows: the Core Audio
#                          endpoint volume, the winmm mixer where there is none (mixer_win32.cpp).
#   klingtal_mixer_fake    tests: two values in memory that the test sets and reads.
klingtal_library(klingtal_mixer_fake volume mixer_fake.cpp)

if(WIN32)
    klingtal_library(klingtal_mixer_system volume
        mixer_endpoint.cpp
        mixer_win32.cpp
        mixer_winmm.cpp
    )
    target_link_libraries(klingtal_mixer_system PUBLIC winmm ole32)
else()
    pkg_check_modules(PULSE REQUIRED IMPORTED_TARGET libpulse)
    pkg_check_modules(ALSA REQUIRED IMPORTED_TARGET alsa)
    klingtal_library(klingtal_mixer_system volume
        mixer_alsa.cpp
        mixer_linux.cpp
        mixer_pulse.cpp
    )
    target_link_libraries(klingtal_mixer_system PUBLIC PkgConfig::PULSE PkgConfig::ALSA
                          Threads::Threads)
endif()
