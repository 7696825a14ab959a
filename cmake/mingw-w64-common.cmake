# Shared part of the mingw-w64 toolchain files: compilers, resource compiler, search paths and
# static runtime. KLINGTAL_MINGW_TRIPLET is set by the including file.

# The posix thread model links winpthread statically; its std::thread and std::mutex are complete.
find_program(CMAKE_C_COMPILER NAMES ${KLINGTAL_MINGW_TRIPLET}-gcc-posix ${KLINGTAL_MINGW_TRIPLET}-gcc
             REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${KLINGTAL_MINGW_TRIPLET}-g++-posix
             ${KLINGTAL_MINGW_TRIPLET}-g++ REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${KLINGTAL_MINGW_TRIPLET}-windres REQUIRED)

set(CMAKE_FIND_ROOT_PATH /usr/${KLINGTAL_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Windows XP is the oldest system the program runs on: the headers offer what XP has.
add_compile_definitions(WINVER=0x0501 _WIN32_WINNT=0x0501 _WIN32_IE=0x0600)

# GCC 12 warns about overlapping copies inside std::string that cannot happen (GCC bug 105329,
# seen in the 32-bit release build); with -Werror that would stop the build.
set(CMAKE_CXX_FLAGS_INIT "-Wno-restrict")
