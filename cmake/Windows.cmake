# Windows (64-bit, built with MinGW-w64 against a static Qt): one executable that needs no DLL beside it,
# the C and C++ runtimes and the threads library linked in. The help file lies beside the program.
add_link_options(-static)
# Made for Windows 10 and 11 (subsystem version 6.0): a program linked for an older version is treated as
# one from before Vista, told frame measures without the padded border that Windows draws.
add_link_options(-Wl,--major-subsystem-version,6,--minor-subsystem-version,0
                 -Wl,--major-os-version,6,--minor-os-version,0)
# No link time in the executable's header: the same source makes the same program whenever it is built.
add_link_options(-Wl,--no-insert-timestamp)
set(OCHRELINE_INSTALL_BINDIR .)
set(OCHRELINE_INSTALL_HELPDIR .)

# Cross-built tests run through Wine (tests/windows/wine-run.sh), in a Wine prefix of the build tree's own.
if(CMAKE_CROSSCOMPILING AND NOT CMAKE_CROSSCOMPILING_EMULATOR)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${PROJECT_SOURCE_DIR}/tests/windows/wine-run.sh ${CMAKE_BINARY_DIR}/wine-prefix)
endif()
