# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 (the POSIX-threads variant, so that
# std::thread works). Libraries and packages are looked up only in the MinGW tree and in
# CMAKE_FIND_ROOT_PATH's other entries, such as the Qt built for Windows; programs on the host.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(OCHRELINE_MINGW_TRIPLET x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${OCHRELINE_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${OCHRELINE_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${OCHRELINE_MINGW_TRIPLET}-windres)
set(CMAKE_AR ${OCHRELINE_MINGW_TRIPLET}-gcc-ar-posix CACHE FILEPATH "")
set(CMAKE_RANLIB ${OCHRELINE_MINGW_TRIPLET}-gcc-ranlib-posix CACHE FILEPATH "")

list(APPEND CMAKE_FIND_ROOT_PATH /usr/${OCHRELINE_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
