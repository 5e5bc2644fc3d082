# Debian package of the program: `cpack -G DEB` in a build tree, after the build. It installs under /usr;
# the help viewer finds 301.hlp through share/ochreline beside the executable's bin/, whatever the prefix.

set(CPACK_PACKAGE_NAME "ochreline")
set(CPACK_PACKAGE_VENDOR "Vantorel Software")
set(CPACK_PACKAGE_CONTACT "Vantorel Software <info@vantorel.example>")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_DESCRIPTION
    "Keeps the score of a darts match of 301 or 501 for two, three or four players who share one computer. "
    "The scorer clicks where each dart landed on a picture of a dart board; the program adds up each turn, "
    "announces busts and the winner, and passes the turn on.")
set(CPACK_PACKAGE_HOMEPAGE_URL "${PROJECT_HOMEPAGE_URL}")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Vantorel Software <info@vantorel.example>")
set(CPACK_DEBIAN_PACKAGE_SECTION "games")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# dpkg-shlibdeps (from dpkg-dev) works out the Qt and C++ runtime packages from the executable.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The board and score labels are designed for these metric-compatible faces. SDL is loaded when sound is
# first needed, so dpkg-shlibdeps cannot see it.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation, libsdl2-2.0-0")

include(CPack)
