# Linux mixer. The PulseAudio and ALSA backends and the choice between them live in namespaces
# (mixer_pulse*, mixer_alsa*, mixer_system*); the public GetVolume etc. are defined only by
# mixer_linux.cpp (the program) and mixer_fake.cpp (tests, in the top-level file). Link one of
# them.
pkg_check_modules(PULSE REQUIRED IMPORTED_TARGET libpulse)
pkg_check_modules(ALSA REQUIRED IMPORTED_TARGET alsa)

klingtal_sources(mixer_backend_sources . volume/mixer_pulse*.cpp volume/mixer_alsa*.cpp
                 volume/mixer_system*.cpp)
add_library(klingtal_mixer_backends STATIC ${mixer_backend_sources})
target_include_directories(klingtal_mixer_backends PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(klingtal_mixer_backends PUBLIC PkgConfig::PULSE PkgConfig::ALSA
                      Threads::Threads)

klingtal_sources(mixer_linux_sources . volume/mixer_linux*.cpp)
add_library(klingtal_mixer_system STATIC ${mixer_linux_sources})
target_link_libraries(klingtal_mixer_system PUBLIC klingtal_mixer_backends)

