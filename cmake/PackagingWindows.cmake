# What a Windows user downloads: `cpack` in a Windows build tree makes a zip of the program and its help
# file, and an installer made with NSIS (makensis, Debian's nsis package) from packaging/windows/.

set(CPACK_GENERATOR ZIP NSIS)
set(CPACK_PACKAGE_NAME "${OCHRELINE_SHORT_NAME}")
set(CPACK_PACKAGE_VENDOR "${OCHRELINE_COMPANY}")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_HOMEPAGE_URL "${OCHRELINE_WEB_ADDRESS}")
set(CPACK_RESOURCE_FILE_LICENSE "${PROJECT_SOURCE_DIR}/LICENSE")
set(CPACK_STRIP_FILES ON)

# The installer's own template (packaging/windows/NSIS.template.in) in place of CPack's.
set(CPACK_MODULE_PATH "${PROJECT_SOURCE_DIR}/packaging/windows")
set(CPACK_NSIS_PACKAGE_NAME "${OCHRELINE_PRODUCT}")
set(CPACK_PACKAGE_INSTALL_DIRECTORY "${OCHRELINE_PRODUCT}")
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY "${OCHRELINE_PRODUCT}")
set(CPACK_OCHRELINE_PROGRAM "${OCHRELINE_SHORT_NAME}.exe")
set(CPACK_OCHRELINE_ICON "${PROJECT_SOURCE_DIR}/resources/ochreline.ico")
# Beside the welcome and finish pages (drawn by tools/resources).
set(CPACK_OCHRELINE_PAGE_PICTURE "${PROJECT_SOURCE_DIR}/resources/installer.bmp")
# Signs the program once it is staged and stripped, and the uninstaller and the installer as NSIS makes
# them, when a certificate is given (see the script); otherwise leaves them unsigned.
set(CPACK_OCHRELINE_SIGN "${PROJECT_SOURCE_DIR}/packaging/windows/sign.sh")
set(CPACK_PRE_BUILD_SCRIPTS "${PROJECT_SOURCE_DIR}/packaging/windows/SignProgram.cmake")

include(CPack)
