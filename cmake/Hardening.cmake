# The hardening a distribution builds its programs with: fortified C library calls, a stack protector,
# and relocations resolved and made read-only at start-up (-z now with relro).
# Fortification needs the optimiser (the build types that have it). The sanitizer build is not
# hardened: the sanitizers bring checks of their own, and with -z now LeakSanitizer misses leaks in a
# program linked with Qt.
if(NOT OCHRELINE_SANITIZE)
    add_compile_options("$<$<CONFIG:Release,RelWithDebInfo,MinSizeRel>:-U_FORTIFY_SOURCE;-D_FORTIFY_SOURCE=2>")
    add_compile_options(-fstack-protector-strong -fstack-clash-protection)
    add_link_options(-Wl,-z,relro -Wl,-z,now)
endif()
