# The program for this platform: the core with the real backends, and what `cmake --install`
# puts in the XDG places (the executable, a desktop entry and a 48 x 48 icon).
if(WIN32)
    return()  # platform/win32/backends.cmake defines the Windows executable
endif()
add_executable(mp3klingtal app/main.cpp)
target_link_libraries(mp3klingtal PRIVATE klingtal_core klingtal_gui_fltk klingtal_mci_posix
                      klingtal_system_posix klingtal_mixer_system klingtal_media_mpris)

find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(icon_png ${CMAKE_BINARY_DIR}/mp3klingtal.png)
add_custom_command(OUTPUT ${icon_png}
                   COMMAND Python3::Interpreter ${PROJECT_SOURCE_DIR}/tools/images/make_icon.py
                           ${icon_png}
                   DEPENDS ${PROJECT_SOURCE_DIR}/tools/images/make_icon.py
                   COMMENT "Drawing the desktop icon")
add_custom_target(desktop_icon ALL DEPENDS ${icon_png})

include(GNUInstallDirs)
install(TARGETS mp3klingtal RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES app/desktop/mp3klingtal.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${icon_png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/48x48/apps)
