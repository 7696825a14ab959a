# Windows backends, one library per service folder: the native gui (gui/), the media keys, the
# taskbar buttons and the hand-over from a later program, which live in the gui's windows
# (media/), mciSendStringA (mci/) and the system services with the files (system/);
# handle_win32.h and text_win32.h, beside them, are shared by several. Then the program MP3Klingtal.exe with its icon, version information and manifest;
# GoogleTest built from source for the tests. The master volume is in volume/backends.cmake.
klingtal_library(klingtal_gui_win32 platform/win32/gui
                 desktop.cpp dialogs.cpp drop.cpp events.cpp filters.cpp gadget_ops.cpp
                 gadgets.cpp images.cpp keys.cpp names.cpp pointer.cpp window.cpp)
target_link_libraries(klingtal_gui_win32 PUBLIC klingtal_platform_common comctl32 gdi32 shell32
                                                ole32)

klingtal_library(klingtal_media_win32 platform/win32/media instance.cpp media.cpp taskbar.cpp)
target_link_libraries(klingtal_media_win32 PUBLIC klingtal_gui_win32 ole32)

klingtal_library(klingtal_mci_win32 platform/win32/mci mci.cpp)
target_link_libraries(klingtal_mci_win32 PUBLIC winmm)

klingtal_library(klingtal_system_win32 platform/win32/system
                 file.cpp program_facts.cpp sound.cpp system.cpp wav.cpp)
# The part of the files both systems share.
target_sources(klingtal_system_win32 PRIVATE platform/common/file_shared.cpp)
target_link_libraries(klingtal_system_win32 PUBLIC klingtal_platform_common shell32 ole32)
set(KLINGTAL_SYSTEM_BACKEND klingtal_system_win32)

# --- the program ----------------------------------------------------------------------------
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(klingtal_icon ${CMAKE_BINARY_DIR}/mp3klingtal.ico)
add_custom_command(OUTPUT ${klingtal_icon}
                   COMMAND Python3::Interpreter ${PROJECT_SOURCE_DIR}/platform/win32/make_ico.py
                           ${klingtal_icon}
                   DEPENDS ${PROJECT_SOURCE_DIR}/platform/win32/make_ico.py
                   COMMENT "Drawing the program icon")
configure_file(platform/win32/program.rc.in ${CMAKE_BINARY_DIR}/program.rc @ONLY)
set_source_files_properties(${CMAKE_BINARY_DIR}/program.rc PROPERTIES
                            OBJECT_DEPENDS "${klingtal_icon};${PROJECT_SOURCE_DIR}/platform/win32/program.manifest")
add_executable(mp3klingtal WIN32 app/main.cpp ${CMAKE_BINARY_DIR}/program.rc)
set_target_properties(mp3klingtal PROPERTIES OUTPUT_NAME MP3Klingtal)
target_compile_definitions(mp3klingtal PRIVATE KLINGTAL_VERSION="${PROJECT_VERSION}")
target_link_libraries(mp3klingtal PRIVATE klingtal_core klingtal_gui_win32 klingtal_media_win32
                      klingtal_mci_win32 klingtal_system_win32 klingtal_mixer_system)
# WinMain comes from the runtime, which calls main; -mwindows is what WIN32 above adds.
# The release carries no symbols.
target_link_options(mp3klingtal PRIVATE $<$<CONFIG:Release,MinSizeRel>:-s>)

# --- GoogleTest for the Windows test executables ----------------------------------------------
if(KLINGTAL_TESTS AND NOT TARGET GTest::gtest_main)
    set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
    # Its CMake files name the targets GTest::gtest, GTest::gtest_main and so on themselves.
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
endif()
