# The program for this platform: the core with the real backends.
if(WIN32)
    return()  # platform/win32/backends.cmake defines the Windows executable
endif()
add_executable(mp3klingtal app/main.cpp)
target_link_libraries(mp3klingtal PRIVATE klingtal_core klingtal_gui_fltk klingtal_mci_posix
                      klingtal_system_posix klingtal_mixer_system)
install(TARGETS mp3klingtal RUNTIME DESTINATION bin)
