# Linux: SDL2's headers for the sound player, libxcb for the window-manager hints, and the hardening
# a distribution builds its programs with.
find_package(SDL2 REQUIRED)
find_package(X11 REQUIRED)
if(NOT TARGET X11::xcb)
    message(FATAL_ERROR "libxcb and its headers were not found (Debian: libxcb1-dev)")
endif()
include(${CMAKE_CURRENT_LIST_DIR}/Hardening.cmake)

# Installed as Debian installs its games: the program in games/ beside bin/, its help file under
# share/games/. The help viewer is told both where that is and how to get there from the program.
set(OCHRELINE_INSTALL_BINDIR games)
set(OCHRELINE_INSTALL_HELPDIR ${CMAKE_INSTALL_DATADIR}/games/ochreline)
