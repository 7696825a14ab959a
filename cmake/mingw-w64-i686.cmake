# Cross build for 32-bit Windows, Windows XP included, with the mingw-w64 compilers. The runtime
# libraries are linked statically, so MP3Klingtal.exe needs no DLL beyond those Windows ships.
#   cmake -S . -B build/win64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(KLINGTAL_MINGW_TRIPLET i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
