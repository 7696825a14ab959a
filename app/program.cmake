# The program for this platform: the core with the real backends, and on Linux what
# `cmake --install` and the Debian package put in their places (app/desktop/desktop.cmake).
if(WIN32)
    return()  # platform/win32/backends.cmake defines the Windows executable
endif()
add_executable(mp3klingtal app/main.cpp)
target_compile_definitions(mp3klingtal PRIVATE KLINGTAL_VERSION="${PROJECT_VERSION}")
target_link_libraries(mp3klingtal PRIVATE klingtal_core klingtal_gui_fltk klingtal_mci_posix
                      klingtal_system_posix klingtal_mixer_system klingtal_media_mpris)
include(app/desktop/desktop.cmake)
