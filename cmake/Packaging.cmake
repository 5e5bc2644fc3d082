# Debian package of the program: `cpack -G DEB` in a build tree, after the build. It installs under /usr
# as Debian's games do; the maker's names come from resources/CMakeLists.txt.

set(CPACK_PACKAGE_NAME "${OCHRELINE_SHORT_NAME}")
set(CPACK_PACKAGE_VENDOR "${OCHRELINE_COMPANY}")
set(CPACK_PACKAGE_CONTACT "${OCHRELINE_COMPANY} <${OCHRELINE_AUTHOR_EMAIL}>")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
# The synopsis, then the long description as Debian wants it: wrapped, one line per line of the file.
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
file(READ ${PROJECT_SOURCE_DIR}/packaging/description.txt CPACK_PACKAGE_DESCRIPTION)
set(CPACK_PACKAGE_HOMEPAGE_URL "${OCHRELINE_WEB_ADDRESS}")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_STRIP_FILES ON)
# Strips what plain stripping leaves: the compiler's notes and comment sections.
set(CPACK_PRE_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/packaging/strip-notes.cmake)
set(CPACK_OCHRELINE_STRIP "${CMAKE_STRIP}")

set(CPACK_DEBIAN_PACKAGE_SECTION "games")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# dpkg-shlibdeps (from dpkg-dev) works out the Qt and C++ runtime packages from the executable.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The board and score labels are designed for these metric-compatible faces. SDL is loaded when sound is
# first needed, so dpkg-shlibdeps cannot see it.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation, libsdl2-2.0-0")

set(doc_dir ${CMAKE_INSTALL_DATADIR}/doc/${OCHRELINE_SHORT_NAME})
ochre_install_configured(packaging/copyright ${doc_dir} copyright)
ochre_install_configured(packaging/changelog ${doc_dir} changelog GZIP)
ochre_install_configured(packaging/ochreline.6 ${CMAKE_INSTALL_MANDIR}/man6 ochreline.6 GZIP)

include(CPack)
