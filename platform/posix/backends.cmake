# Linux backends, one library per service folder: the FLTK gui (gui/), the string-command device
# over libmpg123, libpulse and SDL2 (mci/), the POSIX system services with the files (system/)
# and the media controls over MPRIS2 (media/). sdl_audio.h, beside them, is shared by the device
# and the system sounds.
pkg_check_modules(MPG123 REQUIRED IMPORTED_TARGET libmpg123)
pkg_check_modules(SDL2 REQUIRED IMPORTED_TARGET sdl2)
pkg_check_modules(PULSE REQUIRED IMPORTED_TARGET libpulse)
find_program(FLTK_CONFIG fltk-config REQUIRED)
execute_process(COMMAND ${FLTK_CONFIG} --cxxflags OUTPUT_VARIABLE fltk_cxxflags
                OUTPUT_STRIP_TRAILING_WHITESPACE)
execute_process(COMMAND ${FLTK_CONFIG} --ldflags --use-images OUTPUT_VARIABLE fltk_ldflags
                OUTPUT_STRIP_TRAILING_WHITESPACE)
separate_arguments(fltk_cxxflags UNIX_COMMAND "${fltk_cxxflags}")
separate_arguments(fltk_ldflags UNIX_COMMAND "${fltk_ldflags}")
find_package(X11 REQUIRED)
pkg_check_modules(XFT REQUIRED IMPORTED_TARGET xft fontconfig)

klingtal_library(klingtal_gui_fltk platform/posix/gui
                 core.cpp desktop.cpp dialogs.cpp drop.cpp drop_down.cpp gadgets.cpp keys.cpp
                 requester_stop.cpp scale.cpp text.cpp widgets.cpp windows.cpp x11.cpp)
# FLTK's headers are not warning-clean; they are system headers to us.
target_compile_options(klingtal_gui_fltk PRIVATE ${fltk_cxxflags})
target_link_libraries(klingtal_gui_fltk PUBLIC klingtal_platform_common ${fltk_ldflags} X11::X11
                      PkgConfig::XFT)

klingtal_library(klingtal_mci_posix platform/posix/mci
                 decoder.cpp device.cpp output.cpp parser.cpp player.cpp pulse.cpp)
target_link_libraries(klingtal_mci_posix PUBLIC PkgConfig::MPG123 PkgConfig::PULSE PkgConfig::SDL2
                      Threads::Threads)

klingtal_library(klingtal_system_posix platform/posix/system
                 dir.cpp file.cpp music_folder.cpp natural_order.cpp open_url.cpp program_facts.cpp
                 sound.cpp system.cpp)
# The part of the files both systems share.
target_sources(klingtal_system_posix PRIVATE platform/common/file_shared.cpp)
target_link_libraries(klingtal_system_posix PUBLIC PkgConfig::SDL2)
set(KLINGTAL_SYSTEM_BACKEND klingtal_system_posix)

# MPRIS2 on the session bus through sd-bus (libsystemd).
pkg_check_modules(SYSTEMD REQUIRED IMPORTED_TARGET libsystemd)
# The hand-over to a program already running (instance.cpp) takes the same bus name.
klingtal_library(klingtal_media_mpris platform/posix/media
                 instance.cpp mpris.cpp mpris_state.cpp text.cpp)
target_link_libraries(klingtal_media_mpris PUBLIC klingtal_platform_common PkgConfig::SYSTEMD)
