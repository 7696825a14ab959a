# Linux backends: the FLTK gui (gui_*.cpp), the string-command device over libmpg123 and SDL2
# (mci_*.cpp) and the POSIX system services (system_*.cpp, with the files in system/file.cpp).
pkg_check_modules(MPG123 REQUIRED IMPORTED_TARGET libmpg123)
pkg_check_modules(SDL2 REQUIRED IMPORTED_TARGET sdl2)
find_program(FLTK_CONFIG fltk-config REQUIRED)
execute_process(COMMAND ${FLTK_CONFIG} --cxxflags OUTPUT_VARIABLE fltk_cxxflags
                OUTPUT_STRIP_TRAILING_WHITESPACE)
execute_process(COMMAND ${FLTK_CONFIG} --ldflags --use-images OUTPUT_VARIABLE fltk_ldflags
                OUTPUT_STRIP_TRAILING_WHITESPACE)
separate_arguments(fltk_cxxflags UNIX_COMMAND "${fltk_cxxflags}")
separate_arguments(fltk_ldflags UNIX_COMMAND "${fltk_ldflags}")
find_package(X11 REQUIRED)

klingtal_sources(gui_fltk_sources . platform/posix/gui_*.cpp)
klingtal_library(klingtal_gui_fltk SOURCES ${gui_fltk_sources})
if(gui_fltk_sources)
    # FLTK's headers are not warning-clean; they are system headers to us.
    target_compile_options(klingtal_gui_fltk PRIVATE ${fltk_cxxflags})
    target_link_libraries(klingtal_gui_fltk PUBLIC klingtal_platform_common ${fltk_ldflags} X11::X11)
endif()

klingtal_sources(mci_posix_sources . platform/posix/mci_*.cpp)
klingtal_library(klingtal_mci_posix SOURCES ${mci_posix_sources})
if(mci_posix_sources)
    target_link_libraries(klingtal_mci_posix PUBLIC PkgConfig::MPG123 PkgConfig::SDL2 Threads::Threads)
endif()

klingtal_sources(system_posix_sources . platform/posix/system_*.cpp)
list(APPEND system_posix_sources ${PROJECT_SOURCE_DIR}/platform/posix/system/file.cpp
            ${PROJECT_SOURCE_DIR}/platform/posix/system/program_facts.cpp
            ${PROJECT_SOURCE_DIR}/platform/common/file_shared.cpp)
klingtal_library(klingtal_system_posix SOURCES ${system_posix_sources})
if(system_posix_sources)
    target_link_libraries(klingtal_system_posix PUBLIC PkgConfig::SDL2)
endif()
set(KLINGTAL_SYSTEM_BACKEND klingtal_system_posix)

# The media controls: MPRIS2 on the session bus through sd-bus (libsystemd).
pkg_check_modules(SYSTEMD REQUIRED IMPORTED_TARGET libsystemd)
klingtal_sources(media_mpris_sources . platform/posix/media_*.cpp)
klingtal_library(klingtal_media_mpris SOURCES ${media_mpris_sources})
target_link_libraries(klingtal_media_mpris PUBLIC PkgConfig::SYSTEMD)
